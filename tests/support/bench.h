// Shared helpers of the Wine-run tests: files, folders, registry, and the
// paths of what the build made.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace bench {

// Windows path of a file in the build tree ("Quillset.exe", "tests\\x.exe").
std::string Built(const std::string& name);

// A new, empty folder C:\bench\<name>; whatever was there is removed first.
std::string FreshFolder(const std::string& name);
void RemoveTree(const std::string& path);
void MakeFolders(const std::string& path);

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
bool IsFolder(const std::string& path);
void Copy(const std::string& from, const std::string& to);
// The names in a folder, sorted, without "." and "..".
std::vector<std::string> List(const std::string& folder);

// Registry. A missing value reads as found = false.
void DeleteKeyTree(HKEY root, const std::string& key);
bool KeyExists(HKEY root, const std::string& key);
std::string RegString(HKEY root, const std::string& key, const char* value, bool* found = nullptr);
void SetRegString(HKEY root, const std::string& key, const char* value, const std::string& data);
void DeleteRegValue(HKEY root, const std::string& key, const char* value);

// Takes away every trace of a document extension's registration: its key,
// its ProgID, a MIME key and the [Extensions] entries of WIN.INI and the
// user's registry (extension with its dot, ".zyn").
void ResetDocumentType(const std::string& extension, const std::string& progId, const std::string& mimeKey = "");
// Takes away what setup records of an installed program file: its App Paths
// and uninstall entries and the per-user keys of its maker.
void ResetProgramEntries(const std::string& fileName, const std::string& company = "");

// String `id` of a built program's string table ("Quillset.exe"), with each
// "%1" and "%2" replaced; empty when it is missing.
std::string BuiltText(const std::string& program, UINT id, const std::string& arg1 = "",
                      const std::string& arg2 = "");

// Makes Wine pretend to be another Windows for one program file name
// ("win95", "nt351", "nt40"); null restores the default.
void SetWindowsVersion(const std::string& exeName, const char* version);

}  // namespace bench
