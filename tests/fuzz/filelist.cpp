// The [Files] list as setup reads it: the key names into a zero-filled
// buffer the way the profile function fills it, walked when complete, each
// name and its flags judged. Input: the buffer size (empty: setup's 1040),
// then "name=flags" lines.
#include "descrules.h"
#include "input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size, 2);
    size_t n = *in[0] ? SizeOf(in[0], 1100) : 1040;
    std::vector<std::string> names, values;
    std::string list, rest = in[1];
    for (size_t from = 0; from < rest.size();) {
        size_t eol = rest.find('\n', from);
        std::string line = rest.substr(from, eol == std::string::npos ? std::string::npos : eol - from);
        from = eol == std::string::npos ? rest.size() : eol + 1;
        size_t eq = line.find('=');
        std::string name = line.substr(0, eq);
        if (name.empty())
            continue;   // no key of a profile
        names.push_back(name);
        values.push_back(eq == std::string::npos ? "" : line.substr(eq + 1));
        list += name + '\0';
    }
    // a list that does not fit is cut at size - 2 and closed by two zeros
    auto keys = Block(n);
    memset(keys.get(), 0, n);
    unsigned long returned = list.size();
    if (list.size() + 1 > n) {
        returned = n >= 2 ? n - 2 : 0;
        memcpy(keys.get(), list.data(), returned);
    } else {
        memcpy(keys.get(), list.data(), list.size());
    }
    if (!KeyListComplete(returned, n))
        return 0;

    size_t i = 0;
    for (const char* name = keys.get(); *name; name += strlen(name) + 1, ++i) {
        CHECK(i < names.size() && names[i] == name);   // whole names only
        size_t device = DeviceNameLength(name);
        CHECK(device <= strlen(name) && device <= 7);
        if (IsPlainFileName(name))
            CHECK(!device && !strpbrk(name, "\\/:*?\"<>|") && strspn(name, ".") < strlen(name));
        auto value = Copy(values[i].c_str());
        FileFlags f = ParseFileFlags(value.get());
        CHECK(f.variants >= 0 && f.variants <= 3 && f.kind >= 0 && f.kind <= 3);
    }
    CHECK(i == names.size());
    return 0;
}
