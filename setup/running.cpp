// Setup's side of the running-program query: the product's programs must not
// run while their files are replaced or removed.
#include "installset.h"

#include "descrules.h"
#include "msgbox.h"
#include "quillset.h"
#include "toolhelp.h"

static bool SamePath(const char* a, const char* b) { return lstrcmpiA(a, b) == 0; }

// A module that is one of the set's libraries in the destination folder.
static bool IsSetLibrary(const MODULEENTRY32& module, void* context)
{
    CInstallSet* set = (CInstallSet*)context;
    for (int i = 0; i < set->FileCount(); ++i) {
        CSetupFile* file = set->File(i);
        if (file->IsLibrary() && SamePath(file->PathIn(&set->destination), module.szExePath))
            return true;
    }
    return false;
}

// A process counts when it holds such a library, or when its modules cannot
// be looked at.
static bool HoldsSetLibrary(DWORD processId, void* context)
{
    return WalkModules(processId, IsSetLibrary, context) != kNoModuleAccepted;
}

bool CInstallSet::IsProgramRunning(CSetupFile* program, bool checkLibraries)
{
    if (!program)
        return false;
    CStr path = program->FullPath();
    ShowStep(IDS_CHECKING_MODULES, path);
    return FindProgramProcess(path, SamePath, checkLibraries ? HoldsSetLibrary : 0, this);
}

// The player program's name: the main module when it is a program, else the
// section's "OtherModule" when that is one; empty when there is none. The one
// rule for the running check and the registration.
CStr CInstallSet::PlayerProgramName()
{
    if (mainModule && HasExtension(mainModule->Name(), ".exe"))
        return mainModule->Name();
    CStr other = description->ReadSetting(moduleSection, "OtherModule");
    // a name with a folder in it is not the set's player
    return HasExtension(other, ".exe") && IsPlainFileName(other) ? other : CStr();
}

bool CInstallSet::CheckProductsNotRunning()
{
    for (;;) {
        const char* running = 0;
        if ((flags & kPluginSet) && IsProgramRunning(navigator, true))
            running = "Netscape Navigator";
        if (!running && (flags & kPlayerSet)) {
            CStr name = PlayerProgramName();
            if (!name.IsEmpty()) {
                CSetupFile player(destination.Path(), name);
                if (player.Exists() && IsProgramRunning(&player, false))
                    running = "Zyne Talkweave Player";
            }
        }
        if (!running)
            return true;
        if (MsgBox(IDS_PROGRAM_RUNNING, MB_OKCANCEL | MB_ICONEXCLAMATION, running) != IDOK) {
            SetError(IDS_CANCELED, displayName);
            return false;
        }
    }
}
