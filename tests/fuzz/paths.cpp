// Folder and file name forms. Input: two texts.
#include "input.h"
#include "pathrules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size, 2);
    const char *a = in[0], *b = in[1];
    const std::string path = a;
    size_t len = path.size();

    CStr normal(a);
    NormalizeFolder(normal);
    bool cut = len > 2 && a[len - 1] == '\\' && a[len - 2] != ':';
    CHECK(path.substr(0, len - cut) == normal.c_str());
    CStr rooted(a);
    RootBareDrive(rooted);
    CHECK(StartsWith(rooted.c_str(), path) && rooted.Length() - len == (len == 2 && a[1] == ':'));

    std::string folder = FolderInFrontOf(a, b).c_str();
    const char* at = strstr(a, b);
    CHECK(StartsWith(path, folder) && (folder.empty() || (at && at - a >= (long)folder.size())));

    std::string joined = JoinPath(a, b).c_str();
    CHECK(StartsWith(joined, path) && joined.size() >= strlen(b) && joined.compare(joined.size() - strlen(b), std::string::npos, b) == 0);
    CHECK(joined.size() - len - strlen(b) == (len && a[len - 1] != '\\'));

    const char* name = AfterLastBackslash(a);
    CHECK(name >= a && name <= a + len && !strchr(name, '\\'));
    std::string title = FileTitle(a).c_str();
    CHECK(StartsWith(path, title) && (title.size() == len || a[title.size()] == '.'));
    std::string ini = DescriptionName(a).c_str();
    CHECK(ini == title + ".INI");
    if (HasExtension(a, b))
        CHECK(strrchr(a, '.') && strlen(strrchr(a, '.')) == strlen(b));
    CStr second;
    if (SecondDescriptionName(a, second))
        CHECK(second.Length() + 2 == len && strstr(a, "32") > a);
    else
        CHECK(!strstr(a, "32") || strstr(a, "32") == a);
    return 0;
}
