// The set checker: reads an install set as setup does and prints each
// problem with its line in the description, in the form compilers use
// ("SETUP.INI:12: error: ...").
#pragma once
#include <windows.h>

#include "description.h"
#include "text.h"

class CInstallSet;

class CSetChecker {
public:
    // folder: the set's folder as the user gave it (null or empty: the
    // current folder); each line names the description through it.
    // requireSigned: an unsigned program is an error.
    CSetChecker(const char* folder, bool requireSigned);
    ~CSetChecker();

    // Prints the problems of the set. True when setup would install it:
    // nothing worse than a warning.
    bool Check();

private:
    CSetChecker(const CSetChecker&);
    void operator=(const CSetChecker&);

    // Notes a problem; Check prints them in the order of their lines.
    void Report(bool error, int line, UINT id, const char* arg1 = 0, const char* arg2 = 0);
    void Print();
    // The line of key in section; of the section when the key is not there;
    // 0 when neither is.
    int Line(const char* section, const char* key = 0, int nth = 0) const;
    // A value as setup reads it. False, reported, when its buffer cuts it.
    bool Read(const char* section, const char* key, CStr& value);
    // False, reported, when the name would lead out of the set's folder.
    bool CheckName(const char* name, int line);

    void CheckMode(const CInstallSet& set);
    void CheckModule(const CInstallSet& set);
    void CheckFiles(const CInstallSet& set, const char* names);
    void CheckFile(const CInstallSet& set, const char* name, int line);
    // The setup program and its description go to the product's folder.
    void CheckUninstall(const CInstallSet& set, const char* names);
    // The folder's files in name order (free the list); count receives their number.
    typedef char Name[MAX_PATH];
    Name* ListFolder(size_t& count) const;
    void CheckFolder(const char* names);
    // The [Files] names as setup reads them, each ended by a NUL, the list
    // by a second; read once; null when memory runs out.
    const char* FileNames();
    // The signatures of the set's programs: intact, and all or none of them by one publisher.
    void CheckSignatures();
    // Whether names lists `name` for the platform (any kind when kind is 0).
    bool Lists(const char* names, const char* name, int platform, int kind);

    CStr m_shown;                    // the description as each line names it
    CSetupDescription* m_description;
    char* m_text;                    // the description's bytes, for the lines
    char* m_names;
    size_t m_size;
    // names whose absence from [Files] is already an error: setup program,
    // description, companion module
    CStr m_unlisted[3];
    struct Problem;
    static int CompareProblems(const void* a, const void* b);
    Problem* m_problems;
    int m_count, m_capacity, m_errors;
    bool m_requireSigned;
};
