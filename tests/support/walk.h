// A run of the real setup program, driven window by window as a user would:
// shared by the e2e tests of whole installs and removals.
#pragma once
#include <windows.h>

#include <set>
#include <string>

#include "driver.h"

namespace bench {

// String `id` of setup's built string table, "%1" and "%2" replaced: of the
// English setup, or of the market a Market names while it lives.
std::string SetupText(UINT id, const std::string& arg1 = "", const std::string& arg2 = "");
class Market {
public:
    explicit Market(const std::string& language);   // "" English, "de" German
    ~Market();
    // Where the market's programs are in the build tree ("", "de\\"); its
    // sets' names end in Suffix() ("player-de").
    static std::string Folder();
    static std::string Suffix();
};
// HKLM's "ProgramFilesDir", where the sets install by default.
std::string ProgramFiles();

class Walk {
public:
    // Starts exe (a SETUP.EXE) with args in its own folder; `launched`: exe is
    // a set's single program, and the pages are those of the setup it starts.
    Walk(const std::string& exe, const std::string& args, bool launched = false);
    // The next page or message box (never the progress dialog); null when
    // setup ended first.
    HWND Next(DWORD ms = 20000);
    // The next window is a message box with this text (and setup's caption); its box.
    Box Expect(const std::string& text);
    // Presses a button and waits until its window has gone, unless it stays
    // for a question of its own.
    void Press(HWND h, int id, bool stays = false);
    // Lets Next find an answered window again (a page that stayed).
    void Again(HWND h) { m_answered.erase(h); }
    // Setup ends with 0 and shows nothing more.
    void Ends();
    // Accepts the agreement and answers the destination page: OK (after
    // checking its preset folder, and agreeing to make it when missing), or
    // `answer`.
    void ThroughThePages(const std::string& expectedFolder, int answer = IDOK,
                         const std::string& product = "Zyne Talkweave Player");
    Process& Setup() { return m_setup; }

private:
    DWORD SetupId();
    Process m_setup;
    DWORD m_setupId = 0;
    std::set<HWND> m_answered;
};

// Takes away what installs of the sample sets leave: the document type, the
// programs' entries, the default destinations, Wine's version mode for SETUP.EXE.
void ResetProduct();
// A copy of a sample set ("player", "plugin") in folder; its SETUP.EXE.
std::string CopySet(const std::string& sample, const std::string& folder);
// The whole install of the player set from exe (`launched`: its single
// program) into its default folder, the readme declined; the folder.
std::string InstallPlayer(const std::string& exe, bool launched = false);
// "SETUP.EXE /uninstall" in folder, confirmed, and the helper's report
// answered.
void Uninstall(const std::string& folder);

// The system folder, where the system's own programs are.
std::string SystemFolder();
// The system's Add/Remove tool ("uninstaller --remove key") runs the entry's
// command: its question is answered Yes, the helper's report OK. The
// report's text (empty when none came).
std::string RemoveThroughEntry(const std::string& key);

// The shell (start.exe) opens `document`: a player window shows and its
// engine is handed the document. The player is closed again. True when so.
bool OpenedByShell(const std::string& document);

// Whether a dialog is the page that has this control.
inline bool IsPage(HWND h, int control) { return GetDlgItem(h, control) != nullptr; }
// The progress dialog of the process, or null.
HWND ProgressDialog(DWORD pid);
// The removal helper's report: a box of another process, captioned as setup.
HWND HelperMessage(DWORD ms);

}  // namespace bench
