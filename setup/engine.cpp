// The installation engine: each listed file through the version-aware install
// function, their removal, and the registration of the installed program.
#include "installset.h"

#include "app.h"
#include "appentry.h"
#include "doctype.h"
#include "progress.h"
#include "quillset.h"

static VerInstallFileFunction s_verInstallFile = 0;

void SetVerInstallFileFunction(VerInstallFileFunction function) { s_verInstallFile = function; }

// MinGW's headers declare the texts writable; the function only reads them.
static DWORD WINAPI SystemVerInstallFile(DWORD flags, LPCSTR source, LPCSTR dest, LPCSTR sourceDir, LPCSTR destDir,
                                         LPCSTR currentDir, LPSTR temp, PUINT tempLength)
{
    return VerInstallFileA(flags, (LPSTR)source, (LPSTR)dest, (LPSTR)sourceDir, (LPSTR)destDir, (LPSTR)currentDir,
                           temp, tempLength);
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

bool CSetupFile::InstallFile(const CSetupFolder& target, CExceptomat*& pendingError, int& cancelled)
{
    ClearError(pendingError);
    CSetupFolder folder(target.Path());
    if (!folder.CreatePath())
        return false;
    const char* to = target.Path();
    VerInstallFileFunction install = s_verInstallFile ? s_verInstallFile : SystemVerInstallFile;

    DWORD flags = VIFF_DONTDELETEOLD;
    for (int attempt = 1; attempt <= 5; ++attempt) {
        char temp[MAX_PATH] = "";
        UINT tempLength = sizeof temp;
        DWORD result = install(flags, m_name, m_name, m_path, to, m_path, temp, &tempLength);
        temp[sizeof temp - 1] = 0;
        // a name that did not fit the buffer may name another file
        if ((result & VIF_TEMPFILE) && !(result & VIF_BUFFTOOSMALL))
            DeleteTemporaryCopy(to, temp, m_name);

        if (result == 0) {
            SetPath(to);
            return true;
        }
        if (result & VIF_WRITEPROT) {
            int answer;
            if (attempt == 1)
                answer = MsgBox(IDS_WRITE_PROTECTED, MB_YESNOCANCEL | MB_ICONEXCLAMATION, m_name, to);
            else if (attempt >= 3 && critical)
                answer = MsgBox(IDS_CRUCIAL_PROTECTED, MB_OK | MB_ICONEXCLAMATION, m_name, to);
            else
                answer = MsgBox(IDS_STILL_PROTECTED, MB_YESNO | MB_ICONEXCLAMATION, m_name, to);
            if (answer == IDNO)
                return false;
            if (answer != IDYES) {
                cancelled = 1;
                return false;
            }
            CStr path = PathIn(to);
            DWORD attributes = GetFileAttributesA(path);
            if (attributes != INVALID_FILE_ATTRIBUTES)
                SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
        } else if (result & VIF_MISMATCH) {
            flags |= VIFF_FORCEINSTALL;
        } else if (result & (VIF_FILEINUSE | VIF_CANNOTCREATE | VIF_CANNOTDELETE)) {
            RecordError(pendingError, IDS_FILE_IN_USE, m_name, to);
            return false;
        } else if (result & VIF_CANNOTREADSRC) {
            return false;
        } else {
            RecordError(pendingError, IDS_INSTALL_ERROR, m_name);
            return false;
        }
    }
    return false;
}

CProgressDialog* CInstallSet::Progress() const
{
    // a dialog whose window has gone has deleted itself
    return progress && progress == CProgressDialog::Current() ? progress : 0;
}

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

bool CInstallSet::InstallInto(CSetupFile* file, const CSetupFolder& folder)
{
    ShowFile(file->PathIn(&folder));
    file->InstallFile(folder, pendingError, cancelled);
    if (cancelled)
        SetError(IDS_CANCELED, displayName);
    return pendingError == 0;
}

bool CInstallSet::CopyModuleFiles()
{
    ShowStep(IDS_INSTALLING, "");
    const bool plugin = (flags & kPluginSet) != 0;
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
        if ((file->kind & kToPluginFolder) && plugin && !InstallInto(file, *navigator))
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
        ShowFile(file->FullPath());
        if (file->kind & kToDestination)
            file->DeleteFrom();
        if (pendingError)
            return false;
        if ((file->kind & kToPluginFolder) && plugin)
            file->DeleteFrom(navigator);
        if (pendingError)
            return false;
    }
    ShowStepDone(IDS_REMOVAL_DONE);
    return true;
}

namespace {

// The program file that is registered: the main module, or, for a player set
// whose main module is not a program, its "OtherModule" when that is one.
class CProgramChoice {
public:
    explicit CProgramChoice(CInstallSet& set) : program(set.mainModule), m_other(0)
    {
        if (!program || program->IsProgram() || !(set.flags & kPlayerSet))
            return;
        const char* other = set.description->ReadSetting(set.moduleSection, "OtherModule");
        if (!*other)
            return;   // an empty name would stand for setup itself
        m_other = new CSetupFile(program->Path(), other);
        if (m_other && m_other->IsProgram())
            program = m_other;
    }
    ~CProgramChoice() { delete m_other; }

    CSetupFile* program;

private:
    CProgramChoice(const CProgramChoice&);
    void operator=(const CProgramChoice&);
    CSetupFile* m_other;
};

}  // namespace

bool CInstallSet::RegisterProgram()
{
    CProgramChoice choice(*this);
    CSetupFile* program = choice.program;
    if (!program)
        return false;
    CStr path = program->FullPath();
    bool result = true;
    if (flags & kPlayerSet) {
        ShowStep(IDS_REGISTERING, path);
        // only a program can open documents; a library would stay registered,
        // as unregistering looks at programs only
        if (program->IsProgram())
            result = RegisterDocumentType(CApp::Get()->Instance(), path, IDS_EXTENSION, IDS_PROGID,
                                          IDS_DOC_DESCRIPTION, IDS_MIME_TYPE, IDS_OWNER_LIST, IDS_QUICKVIEW) != 0;
    }
    ShowStep(IDS_REGISTERING, path);
    return WriteUninstallEntry(*program, versionInfo, 0) != 0 && result;
}

bool CInstallSet::UnregisterProgram()
{
    CProgramChoice choice(*this);
    CSetupFile* program = choice.program;
    if (!program)
        return false;
    CStr path = program->FullPath();
    if (flags & kPlayerSet) {
        ShowStep(IDS_UNREGISTERING, path);
        if (program->IsProgram())
            UnregisterDocumentType(CApp::Get()->Instance(), path, IDS_EXTENSION, IDS_PROGID, IDS_MIME_TYPE);
    }
    ShowStep(IDS_REGISTERING, path);
    return (RemoveUninstallEntry(*program, versionInfo) & 1) != 0;
}

bool CInstallSet::RunSteps(bool install)
{
    progress = new CProgressDialog(cancelled);
    if (CProgressDialog* p = Progress())
        p->Bar().SetText("");
    PumpMessages();

    bool ok = CheckProductsNotRunning();
    if (ok) {
        // from here on navigator's folder is the one that receives the plug-in
        if ((flags & kPluginSet) && HasPluginFolder())
            navigator->SetPath(JoinPath(navigator->Path(), description->ReadSetting("Netscape", "Subdir")));
        ok = install ? CopyModuleFiles() && RegisterProgram() : UnregisterProgram() && RemoveModuleFiles();
    }

    if (CProgressDialog* p = Progress())
        p->Close();
    progress = 0;
    return ok;
}

bool CInstallSet::RunInstall() { return RunSteps(true); }

bool CInstallSet::RunUninstall() { return RunSteps(false); }
