// The walk up to the deepest existing folder. Input: the path, then the
// folders that exist, one a line.
#include "input.h"
#include "pathrules.h"

namespace {

struct Folders {
    std::vector<std::string> existing;
    size_t asked = 0;
};

bool Exists(const char* folder, void* context)
{
    Folders& f = *(Folders*)context;
    ++f.asked;
    for (auto& e : f.existing)
        if (e == folder)
            return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size, 2);
    const std::string path = in[0], rest = in[1];
    Folders folders;
    for (size_t from = 0; from <= rest.size();) {
        size_t eol = rest.find('\n', from);
        if (eol == std::string::npos)
            eol = rest.size();
        folders.existing.push_back(rest.substr(from, eol - from));
        from = eol + 1;
    }

    CStr ancestor, missing;
    ExistingAncestor(in[0], Exists, &folders, ancestor, missing);
    std::string up = ancestor.c_str(), down = missing.c_str();
    // the path is the ancestor and, when something is missing, "\" and the rest
    CHECK(up == path || path == up + "\\" + down);
    // at most one question for each level
    size_t levels = 1;
    for (char c : path)
        levels += c == '\\';
    CHECK(folders.asked <= levels);
    if (up != path)
        CHECK(up.empty() || up == "\\" || Exists(up.c_str(), &folders) || up.find('\\') == std::string::npos);

    // the folder's own text as the path, as CSetupFolder walks it
    CStr same(in[0]), rest2("junk");
    ExistingAncestor(same, Exists, &folders, same, rest2);
    CHECK(up == same.c_str() && down == rest2.c_str());
    return 0;
}
