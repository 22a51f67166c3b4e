// The destination page, shown by the dialog host for a prepared install set and driven through its windows.
// Wine's version modes choose the browser: win95 the shell's, nt40 the old-style picker.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>
#include <shlobj.h>

#include "bench.h"
#include "driver.h"
#include "fixtures.h"
#include "quillset.h"
#include "remote.h"
#include "text.h"

using namespace bench;

namespace {

const char kPlayer[] = "Zyne Talkweave Player";   // the player set's display name
const int kBrowserTitle = 14146, kBrowserStatus = 14147;   // the shell browser's text lines

// Text `id` of setup's string table as built, "%1" and "%2" filled in.
std::string Text(UINT id, const char* arg1 = "", const char* arg2 = "")
{
    static HMODULE setup = LoadLibraryExA(Built("Quillset.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char text[1024] = "";
    LoadStringA(setup, id, text, sizeof text);
    return ReplaceArgs(text, arg1, arg2).c_str();
}

// Edit `id` gets the focus with [from, its end) selected.
void ExpectSelectedFrom(HWND dlg, int id, size_t from)
{
    HWND edit = GetDlgItem(dlg, id);
    EXPECT_TRUE(Eventually([&] { return FocusOf(dlg) == edit; })) << id;
    DWORD_PTR sel = Ask(edit, EM_GETSEL);
    EXPECT_EQ(from, LOWORD(sel));
    EXPECT_EQ(WindowText(edit).size(), HIWORD(sel));
}

// A visible dialog of the process other than `dlg`: a browser, the about box.
HWND OtherDialog(HWND dlg)
{
    HWND found = nullptr;
    Eventually([&] {
        while ((found = FindWindowExA(nullptr, found, "#32770", nullptr)))
            if (found != dlg && IsWindowVisible(found) &&
                GetWindowThreadProcessId(found, nullptr) == GetWindowThreadProcessId(dlg, nullptr))
                return true;
        return false;
    });
    return found;
}

RECT ClientRect(HWND dlg, int id)
{
    RECT r = {};
    GetWindowRect(GetDlgItem(dlg, id), &r);
    MapWindowPoints(nullptr, dlg, (POINT*)&r, 2);
    return r;
}

// Wine's shell browser finds a folder by item lists that hold its last access time, which the first read of a new
// folder still changes: read every new folder before the browser does.
void ReadTree(const std::string& folder)
{
    for (auto& name : List(folder))
        if (IsFolder(folder + "\\" + name))
            ReadTree(folder + "\\" + name);
}

class Destination : public ::testing::Test {
protected:
    void SetUp() override { base = FreshFolder("destination"); }
    void TearDown() override
    {
        host.Kill();
        SetWindowsVersion("DialogHost.exe", nullptr);
        // moved aside and back: the library is in use by this very process
        if (!systemShell.empty())
            EXPECT_TRUE(DeleteFileA(systemShell.c_str()) && MoveFileA((base + "\\SHELL32.DLL").c_str(), systemShell.c_str()))
                << "the system's shell library stays in " << base;
        DeleteKeyTree(HKEY_CURRENT_USER, kShellOverride);
    }
    // A stand-in Navigator ("3.0", "1.22", "none"; "" no program) in a folder named as the set wants it.
    std::string NavigatorFolder(const std::string& version)
    {
        std::string folder = base + "\\nav" + version + "\\Program";
        MakeFolders(folder);
        if (!version.empty())
            Copy(Navigator(version), folder + "\\NETSCAPE.EXE");
        return folder;
    }
    // The page for a "Player" or "Plugin" set with or without the other product, under a Wine version mode.
    HWND Show(const std::string& mode, bool other, const std::string& player, const std::string& navigator = "",
              const char* windows = nullptr)
    {
        std::string set = base + "\\set", missing = other ? "" : "X";
        MakeFolders(set);
        Copy(Built("Vantrel.exe"), set + "\\VANTREL.EXE");
        Copy(PluginLibrary(), set + "\\NPZYNE32.DLL");
        WriteFile(set + "\\SETUP.INI", "[Options]\nMode=" + mode + "\n[Player.32]\nModule=VANTREL.EXE\nOtherModule=" +
                                           missing + "NPZYNE32.DLL\n[Plugin.32]\nModule=NPZYNE32.DLL\nOtherModule=" +
                                           missing + "VANTREL.EXE\n[Netscape]\nModule=NETSCAPE.EXE\nUndir.32=Program\n");
        SetWindowsVersion("DialogHost.exe", windows);
        List("C:\\bench");
        ReadTree(base);
        EXPECT_TRUE(host.Start(Built("tests\\DialogHost.exe"), "destination|" + player + "|" + navigator, set));
        HWND dlg = WaitForDialog(host.Id(), 10000);
        EXPECT_NE(nullptr, dlg);
        return dlg;
    }
    void Screenshot(HWND window, const std::string& name)
    {
        MakeFolders(Built("artifacts"));
        EXPECT_TRUE(SaveScreenshot(window, Built("artifacts\\" + name + ".bmp")));
    }
    void End(HWND dlg, int button)
    {
        Press(dlg, button);
        EXPECT_EQ(button, host.Wait(10000));
    }

    std::string base, systemShell;   // the system's shell library while a stand-in takes its place
    const std::string kShellOverride = "Software\\Wine\\AppDefaults\\DialogHost.exe\\DllOverrides";
    Process host;
};

// The old-style open dialog as the system makes it: its width, and how far its folder list lies right of its
// file-name field.
LONG s_pickerWidth, s_pickerShift;
UINT_PTR CALLBACK MeasurePicker(HWND picker, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG) {
        RECT w;
        GetWindowRect(picker, &w);
        s_pickerWidth = w.right - w.left;
        s_pickerShift = ClientRect(picker, lst2).left - ClientRect(picker, edt1).left;
        PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
    }
    return 0;
}

}  // namespace

TEST_F(Destination, NavigatorStatesOptionsAndOk)
{
    struct { const char* mode; bool other; const char* navigator; UINT label; bool ok, navigatorControls, okCleared;
             const char* screenshot; } cases[] = {
        {"Plugin", true, "3.0", IDS_NAV_FOUND, true, true, true, "destination-found"},
        {"Plugin", true, "1.22", IDS_NAV_NO_PLUGINS, false, true, false, "destination-too-old"},
        {"Plugin", true, "none", IDS_NAV_NO_PLUGINS, false, true, false, nullptr},
        {"Plugin", true, "", IDS_NAV_NOT_FOUND, false, true, false, "destination-not-found"},
        {"Plugin", false, "", IDS_NAV_NOT_FOUND, false, true, false, nullptr},
        {"Player", true, "", IDS_NAV_NOT_FOUND, false, true, true, "destination-player"},
        {"Player", false, "", IDS_NAV_NOT_FOUND, true, false, true, nullptr},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + (c.other ? " with the other product, Navigator " : ", Navigator ") +
                     c.navigator);
        HWND dlg = Show(c.mode, c.other, base, NavigatorFolder(c.navigator));
        ASSERT_NE(nullptr, dlg);
        EXPECT_EQ(Text(c.label), ItemText(dlg, IDC_NAVIGATOR_LABEL));
        EXPECT_EQ(c.label == IDS_NAV_FOUND ? "Chang&e" : "Brows&e...", ItemText(dlg, IDC_BROWSE_NAVIGATOR));
        EXPECT_EQ(c.label == IDS_NAV_FOUND, ItemReadOnly(dlg, IDC_NAVIGATOR_FOLDER));
        EXPECT_EQ(c.ok, ItemEnabled(dlg, IDOK));
        EXPECT_EQ(c.other, ItemChecked(dlg, IDC_OTHER_PRODUCT));
        EXPECT_EQ(c.other, ItemEnabled(dlg, IDC_OTHER_PRODUCT));
        for (int id : {IDC_NAVIGATOR_LABEL, IDC_NAVIGATOR_FOLDER, IDC_BROWSE_NAVIGATOR})
            EXPECT_EQ(c.navigatorControls, ItemEnabled(dlg, id)) << id;
        if (c.screenshot)
            Screenshot(dlg, c.screenshot);
        if (c.other) {   // the box cleared
            Ask(GetDlgItem(dlg, IDC_OTHER_PRODUCT), BM_CLICK);
            EXPECT_EQ(c.okCleared, ItemEnabled(dlg, IDOK));
            EXPECT_EQ(c.mode == std::string("Plugin"), ItemEnabled(dlg, IDC_NAVIGATOR_FOLDER));
        }
        End(dlg, IDCANCEL);
    }
}

TEST_F(Destination, NavigatorFolderIsRecheckedOnlyAfterAChange)
{
    std::string found = NavigatorFolder("3.0"), old = NavigatorFolder("1.22");
    HWND dlg = Show("Plugin", true, base, found), edit = GetDlgItem(dlg, IDC_NAVIGATOR_FOLDER);
    ASSERT_NE(nullptr, dlg);
    Ask(GetDlgItem(dlg, IDC_BROWSE_NAVIGATOR), BM_CLICK);   // "Chang&e": editable without a new check
    ExpectSelectedFrom(dlg, IDC_NAVIGATOR_FOLDER, 0);
    struct { std::string typed; UINT label; } steps[] = {{"", IDS_NAV_NOT_FOUND}, {old, IDS_NAV_NO_PLUGINS},
                                                          {found, IDS_NAV_FOUND}};
    for (auto& s : steps) {
        SCOPED_TRACE(s.typed);
        PostMessageA(dlg, WM_NEXTDLGCTL, (WPARAM)edit, TRUE);   // selects all of it
        for (char c : s.typed)
            PostMessageA(edit, WM_CHAR, (BYTE)c, 1);
        SendKey(edit, VK_TAB);
        ASSERT_TRUE(Eventually([&] { return FocusOf(dlg) == GetDlgItem(dlg, IDC_BROWSE_NAVIGATOR); }));
        EXPECT_EQ(Text(s.label), ItemText(dlg, IDC_NAVIGATOR_LABEL));
        EXPECT_EQ(s.label == IDS_NAV_FOUND, ItemReadOnly(dlg, IDC_NAVIGATOR_FOLDER));
        EXPECT_EQ(s.label == IDS_NAV_FOUND, ItemEnabled(dlg, IDOK));
    }
    End(dlg, IDCANCEL);
}

static std::string Slashed(std::string path)
{
    for (auto& c : path)
        c = c == '\\' ? '/' : c;
    return path;
}

TEST_F(Destination, OkCheckMakesTheMissingFolder)
{
    WriteFile(base + "\\file", "in the way");
    std::string noDrive = "Q:";
    while (GetDriveTypeA((noDrive + "\\").c_str()) != DRIVE_NO_ROOT_DIR)
        ++noDrive[0];
    struct { std::string folder; std::vector<int> answers; bool made; } cases[] = {
        {base, {}, true}, {base + "\\New", {IDOK}, true}, {base + "\\Zyne\\Talkweave", {IDOK}, true},
        {base + "\\Kept", {IDCANCEL}, false}, {base + "\\file\\Zyne", {IDOK, IDOK}, false},
        {noDrive + "\\Zyne\\Talkweave", {IDOK, IDOK}, false}, {"", {IDOK, IDOK}, false},
        // typed with forward slashes, or without a drive: made all the same
        {Slashed(base) + "/Fwd/New", {IDOK}, true}, {base.substr(2) + "\\NoDrive\\New", {IDOK}, true},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.folder);
        HWND dlg = Show("Player", false, c.folder);
        ASSERT_NE(nullptr, dlg);
        SendKey(FocusOf(dlg), VK_RETURN);   // Enter is OK
        for (size_t i = 0; i < c.answers.size(); ++i) {
            Box box = ReadBox(WaitForDialog(host.Id(), 10000, "DialogHost"));
            EXPECT_EQ(Text(i ? IDS_CREATE_FAILED : IDS_CREATE_FOLDER, c.folder.c_str(), kPlayer), box.text);
            EXPECT_EQ((i ? std::vector<int>{IDOK} : std::vector<int>{IDOK, IDCANCEL}), box.buttons);
            EXPECT_EQ(i ? IDOK : IDCANCEL, box.defaultButton);
            EXPECT_EQ(Icon::Exclamation, box.icon);
            Press(box.hwnd, c.answers[i]);
            WaitGone(box.hwnd, 5000);
        }
        if (!c.made) {
            ExpectSelectedFrom(dlg, IDC_PLAYER_FOLDER, 0);
            Press(dlg, IDCANCEL);
        }
        EXPECT_EQ(c.made ? IDOK : IDCANCEL, host.Wait(10000));
        // a folder without a drive is on the dialog's drive, that of base
        EXPECT_EQ(c.made, IsFolder(c.folder[0] == '\\' ? base.substr(0, 2) + c.folder : c.folder));
    }
}

TEST_F(Destination, ShellBrowserUnderWindows95)
{
    MakeFolders(base + "\\Apps");
    MakeFolders(base + "\\Other");
    std::string navigator = NavigatorFolder("3.0");
    HWND dlg = Show("Player", true, base + "\\Apps\\Player", "", "win95");
    ASSERT_NE(nullptr, dlg);
    struct { int button; UINT title; std::string start, choice; UINT status; std::string result; } picks[] = {
        {IDC_BROWSE_PLAYER, IDS_BROWSE_PLAYER, base + "\\Apps", base + "\\Other", 0, base + "\\Other\\Player"},
        {IDC_BROWSE_PLAYER, IDS_BROWSE_PLAYER, base + "\\Other", "C:\\", 0, "C:\\Player"},
        {IDC_BROWSE_NAVIGATOR, IDS_BROWSE_NAVIGATOR, "", base, IDS_NAV_NO_PATH, ""},
        {IDC_BROWSE_NAVIGATOR, IDS_BROWSE_NAVIGATOR, "", navigator, 0, navigator},
    };
    for (auto& p : picks) {
        SCOPED_TRACE(p.choice);
        Press(dlg, p.button);
        HWND browser = OtherDialog(dlg);
        ASSERT_NE(nullptr, browser);
        auto shows = [&](int id, const std::string& text) {
            EXPECT_TRUE(Eventually([&] { return ItemText(browser, id) == text; })) << ItemText(browser, id);
        };
        shows(kBrowserTitle, Text(p.title, kPlayer));
        if (!p.start.empty())
            shows(kBrowserStatus, p.start);
        RemoteText choice(host.Handle(), p.choice);
        Ask(browser, BFFM_SETSELECTIONA, TRUE, choice.Address());
        shows(kBrowserStatus, p.status ? Text(p.status) : p.choice);
        // OK follows the status: its state is posted after Wine's own rule
        EXPECT_TRUE(Eventually([&] { return ItemEnabled(browser, IDOK) == !p.status; }));
        Press(browser, p.status ? IDCANCEL : IDOK);
        ASSERT_TRUE(WaitGone(browser, 5000));
        int edit = p.button == IDC_BROWSE_PLAYER ? IDC_PLAYER_FOLDER : IDC_NAVIGATOR_FOLDER;
        EXPECT_TRUE(Eventually([&] { return ItemText(dlg, edit) == p.result; }));
        ExpectSelectedFrom(dlg, edit, edit == IDC_PLAYER_FOLDER ? p.result.size() - 6 : 0);   // "Player"
    }
    EXPECT_EQ(Text(IDS_NAV_FOUND), ItemText(dlg, IDC_NAVIGATOR_LABEL));
}

TEST_F(Destination, OldStylePickerUnderNt)
{
    OPENFILENAMEA ofn = {};
    char file[MAX_PATH] = "";
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.Flags = OFN_ENABLEHOOK;
    ofn.lpfnHook = MeasurePicker;
    GetOpenFileNameA(&ofn);
    ASSERT_GT(s_pickerShift, 0);

    MakeFolders(base + "\\Apps");
    HWND dlg = Show("Player", false, base + "\\Apps\\Player", "", "nt40");
    ASSERT_NE(nullptr, dlg);
    Press(dlg, IDC_BROWSE_PLAYER);
    HWND picker = WaitForDialog(host.Id(), 10000, Text(IDS_BROWSE_TITLE).c_str());
    ASSERT_NE(nullptr, picker);
    RECT w;
    GetWindowRect(picker, &w);
    EXPECT_EQ(s_pickerWidth - s_pickerShift, w.right - w.left);
    EXPECT_EQ(ClientRect(picker, edt1).left, ClientRect(picker, lst2).left);
    for (int id : {edt1, lst1, stc3, lst2, cmb2, IDOK, IDCANCEL})
        EXPECT_EQ(id != edt1 && id != lst1 && id != stc3, ItemVisible(picker, id)) << id;
    Screenshot(picker, "destination-picker");
    Press(picker, IDOK);
    std::string folder = base + "\\apps";
    CharLowerA(&folder[0]);
    EXPECT_TRUE(Eventually([&] { return ItemText(dlg, IDC_PLAYER_FOLDER) == folder + "\\Player"; }));
    ExpectSelectedFrom(dlg, IDC_PLAYER_FOLDER, folder.size() + 1);
}

// A system whose shell library lacks the new shell's functions (as NT 3.51's), under a version that has the new
// shell: Browse opens the old-style picker and takes its folder.
TEST_F(Destination, OldStylePickerWithoutTheNewShell)
{
    char system[MAX_PATH];
    std::string shell = std::string(system, GetSystemDirectoryA(system, MAX_PATH)) + "\\shell32.dll";
    ASSERT_TRUE(MoveFileA(shell.c_str(), (base + "\\SHELL32.DLL").c_str())) << GetLastError();
    Copy(Built("tests\\fixtures\\shell\\SHELL32.DLL"), systemShell = shell);
    SetRegString(HKEY_CURRENT_USER, kShellOverride, "shell32", "native");
    MakeFolders(base + "\\Apps");
    HWND dlg = Show("Player", false, base + "\\Apps\\Player", "", "win95");
    ASSERT_NE(nullptr, dlg);
    Press(dlg, IDC_BROWSE_PLAYER);
    HWND picker = WaitForDialog(host.Id(), 10000, Text(IDS_BROWSE_TITLE).c_str());
    ASSERT_NE(nullptr, picker) << "the host " << (host.Running() ? "showed no picker" : "ended");
    Press(picker, IDOK);
    std::string folder = base + "\\apps\\Player";
    CharLowerBuffA(&folder[0], (DWORD)(folder.size() - 6));
    EXPECT_TRUE(Eventually([&] { return ItemText(dlg, IDC_PLAYER_FOLDER) == folder; }));
}

TEST_F(Destination, AboutItemPlaceAndKeyboard)
{
    // the old-style picker answers 'b' in every Windows mode
    HWND dlg = Show("Plugin", true, base, NavigatorFolder("3.0"), "nt40");
    ASSERT_NE(nullptr, dlg);
    RECT r;
    GetWindowRect(dlg, &r);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, r.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 3, r.top);
    PostMessageA(dlg, WM_SYSCOMMAND, IDM_ABOUTBOX | 5, 0);   // the low four bits are the system's
    HWND about = OtherDialog(dlg);
    ASSERT_NE(nullptr, about);
    EXPECT_EQ("About Zyne Netrama Installer", WindowText(about));
    Press(about, IDOK);
    ASSERT_TRUE(WaitGone(about, 5000));

    // Tab visits every control in turn; a mnemonic focuses the edit after its label and presses a button
    for (int id : {IDC_NAVIGATOR_FOLDER, IDC_BROWSE_NAVIGATOR, IDC_PLAYER_FOLDER, IDC_BROWSE_PLAYER, IDC_OTHER_PRODUCT,
                   IDOK, IDCANCEL, IDC_NAVIGATOR_FOLDER}) {
        EXPECT_TRUE(Eventually([&] { return FocusOf(dlg) == GetDlgItem(dlg, id); })) << id;
        SendKey(FocusOf(dlg), VK_TAB);
    }
    struct { char key; int focus; } mnemonics[] = {
        {'w', IDC_PLAYER_FOLDER}, {'n', IDC_NAVIGATOR_FOLDER}, {'h', IDC_OTHER_PRODUCT}, {'e', IDC_NAVIGATOR_FOLDER}};
    for (auto& m : mnemonics) {
        PostMessageA(dlg, WM_SYSCHAR, m.key, 1 << 29);
        EXPECT_TRUE(Eventually([&] { return FocusOf(dlg) == GetDlgItem(dlg, m.focus); })) << m.key;
    }
    EXPECT_FALSE(ItemChecked(dlg, IDC_OTHER_PRODUCT));
    EXPECT_EQ(Text(IDS_NAV_NOT_FOUND), ItemText(dlg, IDC_NAVIGATOR_LABEL));   // "Chang&e" was pressed
    PostMessageA(dlg, WM_SYSCHAR, 'b', 1 << 29);
    HWND picker = OtherDialog(dlg);
    ASSERT_NE(nullptr, picker);
    Press(picker, IDCANCEL);
    ASSERT_TRUE(WaitGone(picker, 5000));
    // the keys go where the focus is once the dialog has it back
    ASSERT_TRUE(Eventually([&] { return IsChild(dlg, FocusOf(dlg)); }));
    SendKey(FocusOf(dlg), VK_ESCAPE);
    EXPECT_EQ(IDCANCEL, host.Wait(10000));
}
