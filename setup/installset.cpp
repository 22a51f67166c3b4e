#include "installset.h"

#include <stdlib.h>
#include <string.h>

#include "descrules.h"
#include "progress.h"
#include "quillset.h"

CInstallSet::CInstallSet(CSetupDescription* description_, bool prefer32)
    : description(description_), navigator(0), mainModule(0), versionInfo(0), otherModulePresent(false),
      platform(0), flags(0), pendingError(0), cancelled(false), progress(0),
      unattended(false), showProgress(true), finding(0), m_prefer32(prefer32), m_files(0),
      m_count(0), m_kept("|")
{
}

CInstallSet::~CInstallSet()
{
    if (!savedDirectory.IsEmpty())
        SetCurrentDirectoryA(savedDirectory);
    delete progress;
    delete navigator;
    delete versionInfo;
    bool mainListed = Listed(mainModule);
    for (int i = m_count; i-- > 0;)
        delete m_files[i];
    free(m_files);
    if (!mainListed)
        delete mainModule;
    delete pendingError;
}

void CInstallSet::SetError(UINT id, const char* arg1, const char* arg2) { RecordError(pendingError, id, arg1, arg2); }

void CInstallSet::ClearError() { ::ClearError(pendingError); }

bool CInstallSet::Listed(const CSetupFile* file) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_files[i] == file)
            return true;
    return false;
}

// Whether the file named by section/key is in the install set. A variant's
// section (named) that names no module does not count: an empty name would
// stand for the setup program, and any Mode at all would find a variant.
bool CInstallSet::ProbeModule(const char* section, const char* key, bool named)
{
    CSetupFile probe(description->Path(), description->ReadSetting(section, key));
    return (!named || *probe.Name()) && probe.Exists();
}

bool CInstallSet::ReadDescription()
{
    // relative names (readme, clean-up) from here on mean the install set
    char cwd[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof cwd, cwd);
    savedDirectory = (n > 0 && n < sizeof cwd) ? cwd : "";
    if (lstrcmpiA(savedDirectory, description->Path()) != 0) {
        CStr folder = description->Path();
        RootBareDrive(folder);
        SetCurrentDirectoryA(folder);
    } else {
        savedDirectory.Clear();
    }

    subfolder = description->ReadSetting("Options", "Subdir");
    CStr mode = description->ReadSetting("Options", "Mode");
    if (mode.IsEmpty())
        return false;

    CStr base, suffix;
    SplitMode(mode, base, suffix);
    platform = PlatformOfSuffix(suffix);
    // the variants in the set, ".32" first: the preferred one, or the other
    for (int p = platform ? 0 : kPlatform32; p; p >>= 1) {
        CStr section = base;
        section.Append(p == kPlatform32 ? ".32" : ".16");
        if (ProbeModule(section, "Module", true)) {
            platform = p;
            if (m_prefer32)
                break;
        }
    }
    if (platform == 0) {
        SetError(IDS_NO_VARIANT, base);
        return false;
    }
    if (suffix.IsEmpty())
        suffix = platform == kPlatform16 ? ".16" : ".32";
    moduleSection = base;
    moduleSection.Append(suffix);

    const char* module = description->ReadSetting(moduleSection, "Module");
    // an empty name stands for the setup program itself
    if (*module && !IsPlainFileName(module)) {
        SetError(IDS_BAD_FILE_NAME, description->Name(), module);
        return false;
    }
    mainModule = new CSetupFile(description->Path(), module);
    if (!mainModule) {
        SetError(IDS_INIT_FAILED);
        return false;
    }
    if (!mainModule->Exists()) {
        SetError(IDS_FILE_MISSING, mainModule->Name());
        return false;
    }
    if (subfolder.IsEmpty())
        subfolder = description->ReadSetting(moduleSection, "Subdir");

    versionInfo = new CVersionInfo;
    if (versionInfo) {
        versionInfo->ReadVersionInfo(mainModule->FullPath());
        displayName = versionInfo->productName;
    }
    if (displayName.IsEmpty())
        displayName = description->ReadSetting(moduleSection, "DisplayName");

    flags = EqualNoCase(base, "Player") ? kPlayerSet : kPluginSet;
    otherModulePresent = ProbeModule(moduleSection, "OtherModule");
    return ReadFileList();
}

bool CInstallSet::ReadFileList()
{
    // one read of the section: a read of each value would search it from its top
    const SectionKey* keys;
    int count = description->ReadSectionKeys("Files", &keys);
    // room for every record at once: the count is known
    if (count < 0 || !(m_files = (CSetupFile**)malloc((count + 1) * sizeof *m_files))) {
        SetError(IDS_TOO_MANY_FILES, description->Name());
        return false;
    }
    for (int i = 0; i < count; ++i) {
        const char* name = keys[i].name;
        // a name with a folder in it would be read, installed and deleted elsewhere
        if (!IsPlainFileName(name)) {
            SetError(IDS_BAD_FILE_NAME, description->Name(), name);
            return false;
        }
        FileFlags f = ParseFileFlags(keys[i].value);
        if ((f.variants & platform) == 0)
            continue;
        bool main = lstrcmpiA(name, mainModule->Name()) == 0;
        CSetupFile* record = main ? mainModule : new CSetupFile(description->Path(), name);
        if (!record) {
            SetError(IDS_INIT_FAILED);
            return false;
        }
        // a name listed twice must not put the main module in the list twice;
        // the list's records are the set's to delete, on a failure too
        if (!(main && Listed(mainModule)))
            m_files[m_count++] = record;
        record->kind = f.kind;
        record->critical = f.critical;
        // the probe of every critical file; an optional one that is missing
        // is skipped when it is installed, so its probe would decide nothing
        if (f.critical && !record->Exists()) {
            CStr upper = name;
            if (upper.Data())
                CharUpperBuffA(upper.Data(), (DWORD)upper.Length());
            SetError(IDS_FILE_MISSING, upper);
            return false;
        }
    }
    return true;
}
