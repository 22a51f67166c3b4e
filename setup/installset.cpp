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
      m_count(0), m_capacity(0), m_kept("|")
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

bool CInstallSet::AddFile(CSetupFile* file)
{
    if (m_count == m_capacity) {
        int capacity = m_capacity ? m_capacity * 2 : 16;
        CSetupFile** grown = (CSetupFile**)realloc(m_files, capacity * sizeof *grown);
        if (!grown)
            return false;
        m_files = grown;
        m_capacity = capacity;
    }
    m_files[m_count++] = file;
    return true;
}

bool CInstallSet::Listed(const CSetupFile* file) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_files[i] == file)
            return true;
    return false;
}

// Whether the file named by section/key is in the install set.
bool CInstallSet::ProbeModule(const char* section, const char* key)
{
    CSetupFile probe(description->Path(), description->ReadSetting(section, key));
    return probe.Exists();
}

// Whether the set holds the variant of a module section. A section that
// names no module does not count: an empty name would stand for the setup
// program, and any Mode at all would find a variant.
bool CInstallSet::ProbeVariant(const char* section)
{
    return *description->ReadSetting(section, "Module") && ProbeModule(section, "Module");
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
    if (platform == 0) {
        CStr section16 = base, section32 = base;
        section16.Append(".16");
        section32.Append(".32");
        platform = (ProbeVariant(section32) ? kPlatform32 : 0) | (ProbeVariant(section16) ? kPlatform16 : 0);
    }
    if (platform == 0) {
        SetError(IDS_NO_VARIANT, base);
        return false;
    }
    if (platform == (kPlatform16 | kPlatform32))
        platform = m_prefer32 ? kPlatform32 : kPlatform16;
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
    const char* names = description->ReadKeyNames("Files");
    if (!names) {
        SetError(IDS_TOO_MANY_FILES, description->Name());
        return false;
    }
    for (const char* name = names; *name; name += strlen(name) + 1) {
        // a name with a folder in it would be read, installed and deleted elsewhere
        if (!IsPlainFileName(name)) {
            SetError(IDS_BAD_FILE_NAME, description->Name(), name);
            return false;
        }
        FileFlags f = ParseFileFlags(description->ReadSetting("Files", name));
        if ((f.variants & platform) == 0)
            continue;
        CSetupFile* record = lstrcmpiA(name, mainModule->Name()) == 0 ? mainModule
                                                                      : new CSetupFile(description->Path(), name);
        if (!record) {
            SetError(IDS_INIT_FAILED);
            return false;
        }
        record->kind = f.kind;
        if (f.critical && !record->Exists()) {
            if (record != mainModule)
                delete record;
            CStr upper = name;
            if (upper.Data())
                CharUpperBuffA(upper.Data(), (DWORD)upper.Length());
            SetError(IDS_FILE_MISSING, upper);
            return false;
        }
        record->critical = f.critical;
        record->Probe();
        // a name listed twice must not put the main module in the list twice
        if (record == mainModule && Listed(mainModule))
            continue;
        if (!AddFile(record)) {
            if (record != mainModule)
                delete record;
            SetError(IDS_INIT_FAILED);
            return false;
        }
    }
    return true;
}
