// The one install set of a setup run: what the description says, where the
// files go, and how the run is going.
#pragma once
#include <windows.h>

#include "description.h"
#include "exceptomat.h"
#include "setupfile.h"
#include "versioninfo.h"

class CProgressDialog;

// Test seams. The cache of IsPluginFolder is filled once a run from the
// description; tests forget it between cases.
void ForgetPluginFolderCache();
// The version-aware install function InstallFile calls; null restores
// VerInstallFileA.
typedef DWORD(WINAPI* VerInstallFileFunction)(DWORD, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPSTR, PUINT);
void SetVerInstallFileFunction(VerInstallFileFunction function);

enum {
    kPlatform16 = 1,
    kPlatform32 = 2,

    kPlayerSet = 1,   // flags bit 0
    kPluginSet = 2,   // flags bit 1

    kToDestination = 1,   // file kind bit 0
    kToPluginFolder = 2,  // file kind bit 1
};

class CInstallSet {
public:
    // prefer32: which variant wins when the set holds both.
    CInstallSet(CSetupDescription* description, bool prefer32);
    ~CInstallSet();

    // Fills the set from the description. On false, pendingError holds the
    // message, except when the description names no "Mode".
    bool ReadDescription();

    // Places the destination on an earlier installation (else the
    // program-files folder + subfolder) and looks for Netscape Navigator.
    void LocateInstallation();
    // Whether the folder (null: "C:") holds a Navigator that can take this
    // set's plug-in: version 2 or later, in a folder named as [Netscape]
    // "Undir.32" for a 32-bit set and in any other folder for a 16-bit one.
    // unsuitable, when given, is set only when the program is there.
    bool IsPluginFolder(const char* path, bool* unsuitable = 0);
    // The Navigator folder the destination page holds after OK; when none was
    // located, the folder the user named there becomes the Navigator record.
    void SetNavigatorFolder(const char* folder);

    // The install and uninstall routines: the progress dialog around the
    // running-program check and two steps. True when all succeeded.
    bool RunInstall();
    bool RunUninstall();

    // Installs `file` from its folder into `target` with the version-aware
    // install function, asking about write-protected targets; afterwards the
    // record names the installed copy. Clears pendingError first and leaves a
    // message there when the installation must stop; sets cancelled when the
    // user cancels.
    bool InstallFile(CSetupFile& file, const CSetupFolder& target);
    // Installs the listed files into the destination and the plug-in folder
    // (navigator's folder) with progress; false with pendingError when one
    // stops the installation or the user cancelled.
    bool CopyModuleFiles();
    // Deletes the listed files, last to first. Failures are silent.
    bool RemoveModuleFiles();
    // Registers the installed program: document type (player sets), App
    // Paths and the uninstall entry.
    bool RegisterProgram();
    bool UnregisterProgram();

    // Whether `program` runs, compared by full path. With checkLibraries a
    // matching process counts only while it has loaded one of the set's
    // libraries from the destination folder. Shows the check on the progress
    // dialog when there is one.
    bool IsProgramRunning(CSetupFile* program, bool checkLibraries);
    // Asks the user to close Netscape Navigator (plug-in sets) and the player
    // (player sets) while they run. False when the user cancelled: pendingError
    // then holds message 119.
    bool CheckProductsNotRunning();

    // Selects the other product as well: the plug-in with the player, the
    // player with the plug-in.
    void AddOtherProduct();
    // Offers to erase the install set's files when the description asks for
    // it ([Options] "DeleteSource") and the set lies on a writable local drive
    // beside setupProgram. True when at least one file was deleted.
    bool OfferInstallSetCleanup(const CSetupFile& setupProgram);
    // The completion message, with the readme offered when the set has one.
    // False, with pendingError, when the readme could not be shown.
    bool ShowInstallComplete();

    // Records a failure the user must see, replacing an earlier one.
    void SetError(UINT id, const char* arg1 = 0, const char* arg2 = 0);
    void ClearError();

    int FileCount() const { return m_count; }
    CSetupFile* File(int i) const { return m_files[i]; }

    CStr savedDirectory;
    CStr displayName;
    CStr subfolder;
    CStr moduleSection;
    CSetupDescription* description;   // owned by the application
    CDefaultProgramFolder destination;
    CSetupFile earlier;               // an earlier installation's setup program, as located; unnamed when none
    CSetupFile* navigator;
    CSetupFile* mainModule;           // owned by the file list when listed there
    CVersionInfo* versionInfo;
    bool otherModulePresent;
    int platform;
    int flags;
    CExceptomat* pendingError;
    bool cancelled;
    CProgressDialog* progress;        // owned; its window may go first
    bool unattended;                  // no questions; nothing write-protected is overwritten
    bool showProgress;                // the progress dialog while the steps run
    DWORD finding;                    // the install function's last result

private:
    CInstallSet(const CInstallSet&);
    void operator=(const CInstallSet&);

    bool Listed(const CSetupFile* file) const;
    bool ProbeModule(const char* section, const char* key, bool named = false);
    CStr PlayerProgramName();
    CSetupFile RegisteredProgram(bool install);
    CSetupFile RegisteredModule(bool install);
    bool ChangeRegistration(bool install);
    void LocateNavigator();
    bool RunSteps(bool install);
    void PointAtPluginFolder(bool install);
    bool InstallInto(CSetupFile* file, const CSetupFolder& folder);
    bool HasPluginFolder() const;
    bool IsPluginFolderPath(const char* folder) const;
    // The progress dialog while its window is there, else null.
    CProgressDialog* Progress() const;
    // The status line (string id) and the file line, each set when it differs.
    void ShowStep(UINT id, const char* file);
    void ShowFile(const char* text);
    void ShowPercent(unsigned percent);
    // The status line's closing text, the file line emptied, the bar cleared.
    void ShowStepDone(UINT id);
    bool ReadFileList();
    // After a copy into another folder than the earlier installation's, the
    // earlier copies of the listed files go, and the helper takes its setup
    // program and the emptied folder.
    void RemoveEarlierCopy();
    // The target folder made and its leftovers listed, on its first file of
    // the run; false when it cannot be made.
    bool PrepareTarget(const CSetupFolder& folder);
    void TemporaryCopies(const char* folder, bool note);

    bool m_prefer32;
    CSetupFile** m_files;
    int m_count;
    // "|folder|name|": folders prepared (a set runs once), "ver*.tmp" files not setup's
    CStr m_kept;
};
