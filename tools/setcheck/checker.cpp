#include "checker.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "descrules.h"
#include "installset.h"
#include "msgbox.h"
#include "owners.h"
#include "setcheck.h"
#include "setrules.h"
#include "signrules.h"

namespace {

// The set's setup program as it ships; its description is named after it.
const char kSetupProgram[] = "SETUP.EXE";

// The whole file, or null.
char* ReadWholeFile(const char* path, size_t& size)
{
    CHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0));
    if (!file.IsValid())
        return 0;
    DWORD n = GetFileSize(file.Get(), 0);
    char* text = n == INVALID_FILE_SIZE ? 0 : (char*)malloc(n + 1);
    DWORD got = 0;
    if (text && (!ReadFile(file.Get(), text, n, &got, 0) || got != n)) {
        free(text);
        return 0;
    }
    size = n;
    return text;
}

int CompareNames(const void* a, const void* b) { return strcmp((const char*)a, (const char*)b); }

}  // namespace

struct CSetChecker::Problem {
    int line, order;
    char* text;   // "error: ..." or "warning: ..."
};

int CSetChecker::CompareProblems(const void* a, const void* b)
{
    const Problem* p = (const Problem*)a;
    const Problem* q = (const Problem*)b;
    return p->line != q->line ? (p->line < q->line ? -1 : 1) : p->order - q->order;
}

CSetChecker::CSetChecker(const char* folder, bool requireSigned)
    : m_description(0), m_text(0), m_names(0), m_size(0), m_problems(0), m_count(0), m_capacity(0), m_errors(0),
      m_requireSigned(requireSigned)
{
    CStr name = DescriptionName(kSetupProgram);
    m_shown = JoinPath(folder, name);
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(folder && *folder ? folder : ".", sizeof full, full, 0);
    if (n > 0 && n < sizeof full)
        m_description = new CSetupDescription(full, name);
}

CSetChecker::~CSetChecker()
{
    for (int i = 0; i < m_count; ++i)
        free(m_problems[i].text);
    free(m_problems);
    free(m_text);
    free(m_names);
    delete m_description;
}

void CSetChecker::Report(bool error, int line, UINT id, const char* arg1, const char* arg2)
{
    m_errors += error;
    CStr text = error ? "error: " : "warning: ";
    text.Append(FormatText(id, arg1, arg2));
    if (m_count == m_capacity) {
        int capacity = m_capacity ? m_capacity * 2 : 16;
        Problem* grown = (Problem*)realloc(m_problems, capacity * sizeof *grown);
        if (!grown)
            return;
        m_problems = grown;
        m_capacity = capacity;
    }
    Problem& p = m_problems[m_count];
    p.line = line;
    p.order = m_count;
    p.text = strdup(text);
    m_count += p.text != 0;
}

void CSetChecker::Print()
{
    qsort(m_problems, m_count, sizeof *m_problems, CompareProblems);
    for (int i = 0; i < m_count; ++i)
        if (m_problems[i].line)
            printf("%s:%d: %s\n", m_shown.c_str(), m_problems[i].line, m_problems[i].text);
        else
            printf("%s: %s\n", m_shown.c_str(), m_problems[i].text);
}

int CSetChecker::Line(const char* section, const char* key, int nth) const
{
    int line = key ? FindIniKey(m_text, m_size, section, key, nth).line : 0;
    return line ? line : FindIniSection(m_text, m_size, section);
}

bool CSetChecker::Read(const char* section, const char* key, CStr& value)
{
    value = m_description->ReadSetting(section, key);
    IniKey found = FindIniKey(m_text, m_size, section, key);
    if (value.IsEmpty() && found.valueLength >= MAX_PATH) {
        Report(true, found.line, IDS_CHECK_VALUE_CUT, key);
        return false;
    }
    return true;
}

bool CSetChecker::CheckName(const char* name, int line)
{
    char device[8];
    switch (FileNameFault(name, &device)) {
    case kNameOk: return true;
    case kNameParent: Report(true, line, IDS_CHECK_NAME_PARENT, name); break;
    case kNameDrive: Report(true, line, IDS_CHECK_NAME_DRIVE, name); break;
    case kNamePath: Report(true, line, IDS_CHECK_NAME_PATH, name); break;
    case kNameDevice: Report(true, line, IDS_CHECK_NAME_DEVICE, name, device); break;
    case kNameNotPlain: Report(true, line, IDS_CHECK_NAME_NOT_PLAIN, name); break;
    }
    return false;
}

bool CSetChecker::Check()
{
    if (!m_description || !m_description->Exists() || !(m_text = ReadWholeFile(m_description->FullPath(), m_size))) {
        Report(true, 0, IDS_CHECK_NO_DESCRIPTION);
        Print();
        return false;
    }
    // setup's own reading decides the variant, the module and what it takes
    // from them; the walk below goes on where setup would stop
    CInstallSet set(m_description, true);
    set.ReadDescription();
    CheckMode(set);
    if (set.platform)
        CheckModule(set);
    const char* names = FileNames();
    if (names) {
        // Windows 95 reads no more of a section than that; NT has no such limit
        if (IniSectionSize(m_text, m_size, "Files") > 32 * 1024)
            Report(false, Line("Files"), IDS_CHECK_FILES_OVER_32K);
        CheckFiles(set, names);
        CheckFolder(names);
    } else {
        Report(true, Line("Files"), IDS_CHECK_LIST_TOO_LONG);
    }
    CheckSignatures();
    // keys setup reads elsewhere: only their length matters here
    static const char* const kNetscapeKeys[] = {"Module", "Ext", "Subdir", "Undir.32"};
    CStr value;
    for (const char* key : kNetscapeKeys)
        Read("Netscape", key, value);
    Read("Options", "DeleteSource", value);
    Print();
    return m_errors == 0;
}

void CSetChecker::CheckMode(const CInstallSet& set)
{
    CStr mode, value;
    if (Read("Options", "Mode", mode) && mode.IsEmpty())
        Report(true, Line("Options", "Mode"), IDS_CHECK_NO_MODE);
    if (!mode.IsEmpty()) {
        CStr base, suffix;
        SplitMode(mode, base, suffix);
        int line = Line("Options", "Mode");
        if (!suffix.IsEmpty() && !PlatformOfSuffix(suffix))
            Report(false, line, IDS_CHECK_ODD_SUFFIX, suffix);
        if (!set.platform)
            Report(true, line, IDS_CHECK_NO_VARIANT, base);
    }
    if (Read("Options", "Iconize", value) && !value.IsEmpty())
        Report(false, Line("Options", "Iconize"), IDS_CHECK_ICONIZE);
}

void CSetChecker::CheckModule(const CInstallSet& set)
{
    const char* section = set.moduleSection;
    CStr module, subdir, displayName, other;
    if (Read(section, "Module", module)) {
        // a section that is not there was named by "Mode"
        int line = Line(section, "Module");
        if (!line)
            line = Line("Options", "Mode");
        if (module.IsEmpty())
            Report(false, line, IDS_CHECK_NO_MODULE_KEY);
        else if (CheckName(module, line) && !(set.mainModule && set.mainModule->Exists()))
            Report(true, line, IDS_CHECK_NO_MODULE, module);
    }
    // the rest of the module section counts only once setup has its module
    if (!set.mainModule || !set.mainModule->Exists())
        return;
    CStr optionsSubdir;
    bool whole = Read("Options", "Subdir", optionsSubdir);
    whole = Read(section, "Subdir", subdir) && whole;
    if (whole && set.subfolder.IsEmpty())
        Report(true, Line("Options"), IDS_CHECK_NO_SUBDIR, section);
    else if (!set.subfolder.IsEmpty() && !SubfolderStaysInside(set.subfolder))
        Report(true, optionsSubdir.IsEmpty() ? Line(section, "Subdir") : Line("Options", "Subdir"),
               IDS_CHECK_SUBDIR_OUTSIDE, set.subfolder);

    if (Read(section, "DisplayName", displayName) && set.displayName.IsEmpty())
        Report(true, Line(section), IDS_CHECK_NO_DISPLAYNAME, set.mainModule->Name());

    int line = Line(section, "OtherModule");
    const char* names = FileNames();
    bool read = Read(section, "OtherModule", other);
    if (read && other.IsEmpty())
        Report(false, Line(section) ? Line(section) : Line("Options", "Mode"), IDS_CHECK_NO_OTHER_MODULE);
    if (read && !other.IsEmpty() && CheckName(other, line) && set.otherModulePresent) {
        if (names && !Lists(names, other, set.platform, 0)) {
            m_unlisted[2] = other;
            Report(true, line, IDS_CHECK_OTHER_NOT_LISTED, other);
        }
    }
    if (!names)
        return;
    // the plug-in set's entry and removal go by where its module was installed
    if ((set.flags & kPluginSet) && !Lists(names, set.mainModule->Name(), set.platform, kToDestination | kToPluginFolder))
        Report(true, Line(section, "Module"), IDS_CHECK_PLUGIN_UNPLACED, set.mainModule->Name());
    // setup looks for an earlier installation by these modules, this set's or not
    static const char* const kLookups[] = {"Player", "Plugin"};
    for (const char* base : kLookups) {
        CStr lookup = base, module;
        lookup.Append(set.platform == kPlatform16 ? ".16" : ".32");
        if (Read(lookup, "Module", module) && !module.IsEmpty() && IsPlainFileName(module) &&
            !Lists(names, module, set.platform, 0))
            Report(false, Line(lookup, "Module"), IDS_CHECK_OTHER_FOLDER, module);
    }
}

const char* CSetChecker::FileNames()
{
    if (m_names)
        return m_names;
    const SectionKey* keys;
    int count = m_description->ReadSectionKeys("Files", &keys);
    size_t size = 1;
    for (int i = 0; i < count; ++i)
        size += strlen(keys[i].name) + 1;
    if (count < 0 || !(m_names = (char*)malloc(size)))
        return 0;
    char* end = m_names;
    for (int i = 0; i < count; ++i)
        end += strlen(strcpy(end, keys[i].name)) + 1;
    *end = 0;
    return m_names;
}

bool CSetChecker::Lists(const char* names, const char* name, int platform, int kind)
{
    for (const char* n = names; *n; n += strlen(n) + 1)
        if (EqualNoCase(n, name)) {
            // the first of the name is the one read
            FileFlags f = ParseFileFlags(m_description->ReadSetting("Files", n));
            return (f.variants & platform) && (!kind || (f.kind & kind));
        }
    return false;
}

void CSetChecker::CheckFiles(const CInstallSet& set, const char* names)
{
    for (const char* name = names; *name; name += strlen(name) + 1) {
        int nth = 0;
        for (const char* earlier = names; earlier != name; earlier += strlen(earlier) + 1)
            nth += EqualNoCase(earlier, name);
        int line = Line("Files", name, nth);
        if (nth) {
            char first[12];
            wsprintfA(first, "%d", Line("Files", name));
            Report(false, line, IDS_CHECK_LISTED_AGAIN, name, first);
        } else {
            CheckFile(set, name, line);
        }
    }
    if (set.platform)
        CheckUninstall(set, names);
}

void CSetChecker::CheckFile(const CInstallSet& set, const char* name, int line)
{
    CStr value;
    if (!Read("Files", name, value) || !CheckName(name, line))
        return;
    switch (FileFlagsFault(value)) {
    case kFlagsOk: break;
    case kFlagsNotDigits: Report(true, line, IDS_CHECK_FLAGS_NOT_DIGITS, name, value); return;
    case kFlagsShort: Report(false, line, IDS_CHECK_FLAGS_SHORT, name, value); break;
    case kFlagsBeyond: Report(false, line, IDS_CHECK_FLAGS_BEYOND, name, value); break;
    case kFlagsExtra: Report(false, line, IDS_CHECK_FLAGS_EXTRA, name, value); break;
    }
    FileFlags f = ParseFileFlags(value);
    if (!f.variants) {
        Report(false, line, IDS_CHECK_NO_VARIANT_FILE, name);
        return;
    }
    if (!(f.variants & set.platform))
        return;
    CSetupFile file(m_description->Path(), name);
    if (!file.Exists())
        Report(f.critical, line, f.critical ? IDS_CHECK_CRITICAL_MISSING : IDS_CHECK_OPTIONAL_MISSING, name);
}

void CSetChecker::CheckUninstall(const CInstallSet& set, const char* names)
{
    const char* needed[2] = {kSetupProgram, m_description->Name()};
    for (int i = 0; i < 2; ++i)
        if (!Lists(names, needed[i], set.platform, kToDestination)) {
            m_unlisted[i] = needed[i];
            Report(true, Line("Files", needed[i]), IDS_CHECK_NOT_FOR_UNINSTALL, needed[i], kSetupProgram);
        }
}

CSetChecker::Name* CSetChecker::ListFolder(size_t& count) const
{
    // a fixed order, whatever order the file system keeps
    Name* found = 0;
    size_t capacity = 0;
    count = 0;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(JoinPath(m_description->Path(), "*"), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            if (count == capacity) {
                capacity = capacity ? capacity * 2 : 32;
                Name* grown = (Name*)realloc(found, capacity * sizeof *found);
                if (!grown)
                    break;
                found = grown;
            }
            memcpy(found[count++], data.cFileName, sizeof data.cFileName);
        } while (FindNextFileA(search, &data));
        FindClose(search);
    }
    qsort(found, count, sizeof *found, CompareNames);
    return found;
}

void CSetChecker::CheckFolder(const char* names)
{
    size_t count;
    Name* found = ListFolder(count);
    int line = Line("Files");
    for (size_t i = 0; i < count; ++i) {
        bool listed = false;
        for (const CStr& reported : m_unlisted)
            listed = listed || EqualNoCase(reported, found[i]);
        for (const char* n = names; *n && !listed; n += strlen(n) + 1)
            listed = EqualNoCase(n, found[i]);
        if (!listed)
            Report(false, line, IDS_CHECK_NOT_LISTED, found[i]);
    }
    free(found);
}

void CSetChecker::CheckSignatures()
{
    size_t count, programs = 0, signedOnes = 0;
    Name* found = ListFolder(count);
    struct Program {
        const char* name;
        SignatureState state;
        char publisher[kPublisherSize];
    }* read = (Program*)malloc((count ? count : 1) * sizeof(Program));
    for (size_t i = 0; read && i < count; ++i) {
        size_t size;
        uint8_t* image = (uint8_t*)ReadWholeFile(JoinPath(m_description->Path(), found[i]), size);
        Program& p = read[programs];
        p.name = found[i];
        p.state = image ? ReadSignature(image, size, p.publisher) : kNotProgram;
        free(image);
        if (p.state != kNotProgram) {
            signedOnes += p.state != kUnsigned;
            ++programs;
        }
    }
    // the first signer in name order stands for the set
    const char* publisher = 0;
    for (size_t i = 0; i < programs && !publisher; ++i)
        if (read[i].publisher[0])
            publisher = read[i].publisher;
    for (size_t i = 0; i < programs; ++i) {
        const Program& p = read[i];
        int line = Line("Files", p.name);
        switch (p.state) {
        case kUnsigned:
            if (m_requireSigned)
                Report(true, line, IDS_CHECK_UNSIGNED, p.name);
            else if (signedOnes)
                Report(false, line, IDS_CHECK_UNSIGNED_MIXED, p.name);
            break;
        case kSignatureBroken: Report(true, line, IDS_CHECK_SIGNATURE_BROKEN, p.name); break;
        case kSignatureUnreadable: Report(true, line, IDS_CHECK_SIGNATURE_UNREADABLE, p.name); break;
        case kSignatureOtherDigest: Report(false, line, IDS_CHECK_OTHER_DIGEST, p.name); break;
        default: break;
        }
        if (p.publisher[0] && strcmp(p.publisher, publisher) != 0)
            Report(false, line, IDS_CHECK_PUBLISHERS, p.name, p.publisher);
    }
    free(read);
    free(found);
}
