// Registry inspection for the registration tests: raw values (type and the
// stored bytes) and a dump of whole key trees to compare states.
#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

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

// The registration and the files of an installation in folder (names and
// sizes), with the folder written as <dest>: installs into different folders
// compare equal.
std::string InstallState(const std::string& folder);

// The (started) child's exit code, or -1 when it could not run in time.
DWORD Run(const std::string& exe, const std::string& args);

}  // namespace regstate

namespace regstate {

// The state of the machine as a sorted set of lines: the whole registry
// (HKLM and HKCU as the registry saves them, a line per key and per value,
// without the times written) and every file and folder of drive C: (path,
// size, attributes and time written of files). The bench's own folders under
// C:\bench and the profile's folders that Wine links to the Unix home are left
// out; `include` names a folder of C:\bench to list all the same.
typedef std::set<std::string> State;
State MachineState(const std::string& include = "");
// What changed from before to after: "+ line" for each line added, "- line"
// for each line gone, in order.
std::vector<std::string> Changes(const State& before, const State& after);

}  // namespace regstate
