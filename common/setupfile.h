// Folder and file records of setup, with their path rules.
#pragma once
#include "pathrules.h"
#include "text.h"

// Whether the path names an existing folder (its attributes say directory).
bool FolderExists(const char* path);
// Whether two paths name one folder. A folder may go by two names, its short
// one among them: existing folders are compared by their short names.
bool SameFolder(const char* a, const char* b);

// A folder, held in normal form.
class CSetupFolder {
public:
    CSetupFolder() : m_path(kDefaultFolder) {}
    explicit CSetupFolder(const char* path) { CSetupFolder::SetPath(path); }
    virtual ~CSetupFolder() {}

    virtual void SetPath(const char* text);
    const char* Path() const { return m_path; }

    // Cuts the path back to its deepest existing folder; `missing` receives
    // the components cut off, without a leading "\". Returns the new path.
    const char* ExistingAncestor(CStr& missing);
    // Makes every missing level of the path. On failure the path is as before
    // and the levels made so far stay.
    bool CreatePath();

protected:
    CStr m_path;
};

// The program-files folder of the system ("C:" when the registry lacks it).
class CDefaultProgramFolder : public CSetupFolder {
public:
    CDefaultProgramFolder();
};

// A file, named relative to its folder. An empty name stands for the running
// program itself: Probe then takes its folder and name.
class CSetupFile : public CSetupFolder {
public:
    CSetupFile() { Init(); }
    CSetupFile(const char* folder, const char* name);

    void SetPath(const char* text) override;
    const char* Name() const { return m_name; }

    CStr FullPath() const { return JoinPath(m_path, m_name); }
    CStr PathIn(const char* folder) const { return JoinPath(folder, m_name); }
    CStr PathIn(const CSetupFolder* folder) const { return JoinPath(folder ? folder->Path() : 0, m_name); }

    void Probe();
    bool Exists() { Probe(); return m_exists; }
    bool IsProgram() { Probe(); return m_isProgram; }
    bool IsLibrary() { Probe(); return m_isLibrary; }
    bool Probed() const { return m_probed; }

    // Deletes the file of this name from `folder` (from its own folder when
    // none), once more after clearing a read-only attribute. True when deleted.
    bool DeleteFrom(const CSetupFolder* folder = 0) const;

    int kind;        // bit 0: destination folder, bit 1: plug-in folder
    bool critical;

private:
    void Init();
    CStr m_name;
    bool m_probed, m_exists, m_isProgram, m_isLibrary;
};
