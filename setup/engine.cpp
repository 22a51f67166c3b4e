// The installation engine: each listed file through the version-aware install
// function, their removal, and the registration of the installed program.
#include "installset.h"

#include "app.h"
#include "appentry.h"
#include "doctype.h"
#include "launch.h"
#include "progress.h"
#include "quillset.h"
#include "runlog.h"
#include "syslib.h"

static VerInstallFileFunction s_verInstallFile = 0;

void SetVerInstallFileFunction(VerInstallFileFunction function) { s_verInstallFile = function; }

// The system's function, from the version library of the system folder. A
// system without one gets the result for a library the function cannot load,
// which stops the installation with a message.
static DWORD WINAPI SystemVerInstallFile(DWORD flags, LPCSTR source, LPCSTR dest, LPCSTR sourceDir, LPCSTR destDir,
                                         LPCSTR currentDir, LPSTR temp, PUINT tempLength)
{
    if (!VersionLibrary().VerInstallFileA)
        return VIF_CANNOTLOADLZ32;
    return VersionLibrary().VerInstallFileA(flags, source, dest, sourceDir, destDir, currentDir, temp, tempLength);
}

// The install function leaves a temporary copy in the destination folder when
// it refuses (Wine names it "\verXXXX.tmp"). Setup retries from the source,
// so the copy would stay in the user's folder for good.
static void DeleteTemporaryCopy(const char* folder, const char* returned, const char* installed)
{
    const char* name = AfterLastBackslash(returned);
    if (*name && !EqualNoCase(name, installed))
        DeleteFileA(JoinPath(folder, name));
}

// Lists of names as "|name|name|", matched as file names are: in any case.
static bool InList(const char* list, const char* name)
{
    size_t n = strlen(name);
    for (const char* p = list; *p; ++p)
        if (*p == '|' && EqualNoCaseN(p + 1, name, n) && p[n + 1] == '|')
            return true;
    return false;
}

static void AddToList(CStr& list, const char* name)
{
    list.Append(name);
    list.AppendChar('|');
}

// The install function's temporary copies in a folder ("ver*.tmp"): noted as
// not setup's to delete, or each deleted that is not noted.
void CInstallSet::TemporaryCopies(const char* folder, bool note)
{
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(JoinPath(folder, "ver*.tmp"), &found);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        if (note)
            AddToList(m_kept, found.cFileName);
        else if (!InList(m_kept, found.cFileName))
            DeleteFileA(JoinPath(folder, found.cFileName));
    } while (FindNextFileA(h, &found));
    FindClose(h);
}

// Listing a folder reads all of it: each target folder is made and listed
// once a run, before its first file; what the install function leaves after
// that, each call's own result tells. The folder joins the kept names (no
// "ver*.tmp" name holds a backslash); names found then are not setup's to
// delete, in any of the folders: a wrong guess keeps a file.
bool CInstallSet::PrepareTarget(const CSetupFolder& target)
{
    const char* folder = target.Path();
    if (InList(m_kept, folder))
        return true;
    CSetupFolder made = target;
    if (!made.CreatePath())
        return false;
    AddToList(m_kept, folder);
    TemporaryCopies(folder, true);
    return true;
}

bool CInstallSet::InstallFile(CSetupFile& file, const CSetupFolder& target)
{
    ClearError();
    const char* to = target.Path();
    if (!PrepareTarget(target))
        return false;
    const char* name = file.Name();
    const char* from = file.Path();
    VerInstallFileFunction install = s_verInstallFile ? s_verInstallFile : SystemVerInstallFile;

    DWORD flags = VIFF_DONTDELETEOLD;
    finding = 0;
    for (int attempt = 1; attempt <= 5; ++attempt) {
        char temp[MAX_PATH] = "";
        UINT tempLength = sizeof temp;
        DWORD result = install(flags, name, name, from, to, from, temp, &tempLength);
        finding = result;
        temp[sizeof temp - 1] = 0;
        // a name that did not fit the buffer may name another file
        if ((result & VIF_TEMPFILE) && !(result & VIF_BUFFTOOSMALL))
            DeleteTemporaryCopy(to, temp, name);
        // a copy that failed half way (a full drive) stays unnamed
        else if (result)
            TemporaryCopies(to, false);

        if (result == 0) {
            // the set's own file of such a name is no leftover
            if (EqualNoCaseN(name, "ver", 3) && HasExtension(name, ".tmp"))
                AddToList(m_kept, name);
            file.SetPath(to);
            return true;
        }
        if (result & VIF_WRITEPROT) {
            int answer;
            if (attempt == 1)
                answer = MsgBox(IDS_WRITE_PROTECTED, MB_YESNOCANCEL | MB_ICONEXCLAMATION, name, to);
            else if (attempt >= 3 && file.critical)
                answer = MsgBox(IDS_CRUCIAL_PROTECTED, MB_OK | MB_ICONEXCLAMATION, name, to);
            else
                answer = MsgBox(IDS_STILL_PROTECTED, MB_YESNO | MB_ICONEXCLAMATION, name, to);
            // unattended, nothing is overwritten: a critical file ends the run
            if (unattended && file.critical && answer != IDCANCEL) {
                SetError(IDS_CRUCIAL_PROTECTED, name, to);
                return false;
            }
            if (answer == IDNO)
                return false;
            if (answer != IDYES) {
                cancelled = true;
                return false;
            }
            CStr path = file.PathIn(to);
            DWORD attributes = GetFileAttributesA(path);
            if (attributes != INVALID_FILE_ATTRIBUTES)
                SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
        } else if (result & VIF_MISMATCH) {
            flags |= VIFF_FORCEINSTALL;
        } else if (result & (VIF_FILEINUSE | VIF_CANNOTCREATE | VIF_CANNOTDELETE)) {
            SetError(IDS_FILE_IN_USE, name, to);
            return false;
        } else if (result & VIF_CANNOTREADSRC) {
            return false;
        } else {
            SetError(IDS_INSTALL_ERROR, name);
            return false;
        }
    }
    return false;
}

CProgressDialog* CInstallSet::Progress() const { return progress && progress->Handle() ? progress : 0; }

void CInstallSet::ShowStep(UINT id, const char* file)
{
    if (CProgressDialog* p = Progress())
        p->SetStatusText(LoadText(id));
    ShowFile(file);
}

void CInstallSet::ShowFile(const char* text)
{
    if (CProgressDialog* p = Progress())
        p->ChangeFileText(text);
}

void CInstallSet::ShowPercent(unsigned percent)
{
    if (CProgressDialog* p = Progress())
        p->SetPercent(percent);
}

void CInstallSet::ShowStepDone(UINT id)
{
    ShowStep(id, "");
    if (CProgressDialog* p = Progress())
        p->Bar().SetText("");
    PumpMessages();
}

bool CInstallSet::HasPluginFolder() const { return navigator && navigator->Path()[0]; }

// Whether the plug-in folder is `folder`: a file of both kinds goes there once.
bool CInstallSet::IsPluginFolderPath(const char* folder) const
{
    return HasPluginFolder() && SameFolder(folder, navigator->Path());
}

bool CInstallSet::InstallInto(CSetupFile* file, const CSetupFolder& folder)
{
    // the folder alone: under Wine a line repaints at once when it changes,
    // which would cost more than many a file's install
    ShowFile(folder.Path());
    CStr path = file->PathIn(&folder);
    bool installed = InstallFile(*file, folder);
    if (cancelled)
        SetError(IDS_CANCELED, displayName);
    LogFile(installed ? "installed" : pendingError ? "not installed" : "skipped", path, true, finding);
    return pendingError == 0;
}

bool CInstallSet::CopyModuleFiles()
{
    ShowStep(IDS_INSTALLING, "");
    const bool plugin = (flags & kPluginSet) != 0, once = IsPluginFolderPath(destination.Path());
    if (plugin && !HasPluginFolder()) {
        // without Navigator's folder the plug-in would land nowhere useful
        for (int i = 0; i < m_count; ++i)
            if (m_files[i]->kind & kToPluginFolder) {
                SetError(IDS_NAV_NO_PATH);
                return false;
            }
    }
    for (int i = 0; i < m_count; ++i) {
        if (cancelled) {
            SetError(IDS_CANCELED, displayName);
            return false;
        }
        CSetupFile* file = m_files[i];
        if ((file->kind & kToDestination) && !InstallInto(file, destination))
            return false;
        // a file of both kinds goes on from the destination
        if ((file->kind & kToPluginFolder) && plugin && !once && !InstallInto(file, *navigator))
            return false;
        ShowPercent((unsigned)(100 * (i + 1) / m_count));
    }
    ShowStepDone(IDS_INSTALL_DONE);
    return true;
}

bool CInstallSet::RemoveModuleFiles()
{
    ShowStep(IDS_REMOVING, "");
    const bool plugin = (flags & kPluginSet) && HasPluginFolder();
    for (int r = m_count; r > 0; --r) {
        CSetupFile* file = m_files[r - 1];
        ShowPercent((unsigned)(r * 100 / m_count));
        ShowFile(file->Path());
        CStr path = file->FullPath();
        if (file->kind & kToDestination)
            LogFile(file->DeleteFrom() ? "removed" : "not removed", path);
        if ((file->kind & kToPluginFolder) && plugin)
            LogFile(file->DeleteFrom(navigator) ? "removed" : "not removed", file->PathIn(navigator));
    }
    ShowStepDone(IDS_REMOVAL_DONE);
    return true;
}

// The program file that is registered: the main module, or in a player set
// whose main module is not a program, the player program where it was
// installed (its own record when listed, else beside the main module).
CSetupFile CInstallSet::RegisteredProgram(bool install)
{
    CStr name = (flags & kPlayerSet) ? PlayerProgramName() : CStr();
    if (!name.IsEmpty() && !EqualNoCase(name, mainModule->Name())) {
        for (int i = 0; i < m_count; ++i)
            if (EqualNoCase(m_files[i]->Name(), name))
                return *m_files[i];
        return CSetupFile(mainModule->Path(), name);
    }
    return RegisteredModule(install);
}

// The main module as the install registered it: a plug-in's last copy is the
// one in the plug-in folder.
CSetupFile CInstallSet::RegisteredModule(bool install)
{
    if (!install && (flags & kPluginSet) && (mainModule->kind & kToPluginFolder) && HasPluginFolder())
        return CSetupFile(navigator->Path(), mainModule->Name());
    return *mainModule;
}

// The document type (player sets), then App Paths and the uninstall entry.
bool CInstallSet::ChangeRegistration(bool install)
{
    if (!mainModule)
        return false;
    CSetupFile program = RegisteredProgram(install);
    CStr path = program.FullPath();
    HINSTANCE module = CApp::Get()->Instance();
    if (flags & kPlayerSet) {
        ShowStep(install ? IDS_REGISTERING : IDS_UNREGISTERING, path);
        // only a program can open documents; a library would stay registered,
        // as unregistering looks at programs only
        if (program.IsProgram() && install)
            RegisterDocumentType(module, path, IDS_EXTENSION, IDS_PROGID, IDS_DOC_DESCRIPTION, IDS_MIME_TYPE,
                                 IDS_OWNER_LIST, IDS_QUICKVIEW);
        else if (program.IsProgram())
            UnregisterDocumentType(module, path, IDS_EXTENSION, IDS_PROGID, IDS_MIME_TYPE);
    }
    ShowStep(IDS_REGISTERING, path);
    CStr family = LoadText(IDS_PRODUCT_FAMILY);
    // a plug-in set's entry runs the setup copy in the product's folder
    if (install)
        WriteUninstallEntry(program, versionInfo, family, 0, (flags & kPluginSet) ? destination.Path() : 0);
    else
        RemoveUninstallEntry(program, versionInfo, family);
    // a removal that takes the player along also takes the plug-in's own
    // entry, which an install without the player wrote
    if (!install && !EqualNoCase(program.Name(), mainModule->Name()) && (flags & kPluginSet) &&
        (mainModule->kind & kToPluginFolder)) {
        CSetupFile plugin = RegisteredModule(false);
        RemoveUninstallEntry(plugin, versionInfo, family);
    }
    return true;
}

bool CInstallSet::RegisterProgram() { return ChangeRegistration(true); }

bool CInstallSet::UnregisterProgram() { return ChangeRegistration(false); }

// A product has one installation: once the copy in the new folder is
// complete and registered, the earlier one goes as a removal would take it.
// Files the set does not list stay, and with them the folder. Navigator's
// folder is never the product's.
void CInstallSet::RemoveEarlierCopy()
{
    const char* folder = earlier.Path();
    if (!*earlier.Name() || SameFolder(folder, destination.Path()) || IsPluginFolderPath(folder))
        return;
    for (int i = 0; i < m_count; ++i) {
        CSetupFile* file = m_files[i];
        // the earlier setup program is the helper's, which then removes the folder
        if ((file->kind & kToDestination) && !EqualNoCase(file->Name(), earlier.Name()))
            LogFile(file->DeleteFrom(&earlier) ? "removed" : "not removed", file->PathIn(folder));
    }
    LaunchRemovalHelper(earlier, displayName, false);
}

bool CInstallSet::RunSteps(bool install)
{
    delete progress;
    progress = showProgress ? new CProgressDialog(cancelled) : 0;
    if (CProgressDialog* p = Progress())
        p->Bar().SetText("");
    PumpMessages();

    bool ok = CheckProductsNotRunning();
    if (ok) {
        PointAtPluginFolder(install);
        ok = install ? CopyModuleFiles() && RegisterProgram() : UnregisterProgram() && RemoveModuleFiles();
        if (ok && install)
            RemoveEarlierCopy();
    }

    delete progress;
    progress = 0;
    return ok;
}

bool CInstallSet::RunInstall() { return RunSteps(true); }

bool CInstallSet::RunUninstall() { return RunSteps(false); }
