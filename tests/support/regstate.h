// Registry inspection for the registration tests: raw values (type and the
// stored bytes) and a dump of whole key trees to compare states.
#pragma once
#include <windows.h>

#include <string>

namespace regstate {

struct Value {
    bool found = false;
    DWORD type = 0;
    std::string bytes;   // as stored: a REG_SZ written with its zero ends in "\0"
};

Value Read(HKEY root, const std::string& key, const char* name);
// A REG_SZ whose stored bytes are exactly text and its terminating zero.
bool IsString(HKEY root, const std::string& key, const char* name, const std::string& text);
void Set(HKEY root, const std::string& key, const char* name, DWORD type, const std::string& bytes);
void SetDword(HKEY root, const std::string& key, const char* name, DWORD value);
// Every subkey and value below key, one line each; "(none)" when missing.
std::string Dump(HKEY root, const std::string& key);
bool HasNoValuesOrSubkeys(HKEY root, const std::string& key);

// The (started) child's exit code, or -1 when it could not run in time.
DWORD Run(const std::string& exe, const std::string& args);

}  // namespace regstate
