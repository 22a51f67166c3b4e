// The destination page, shown by the dialog host for a prepared install set
// and driven through its windows. Wine's version modes choose the browser:
// win95 the shell's, nt40 the old-style picker.
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

const char kHostName[] = "DialogHost.exe";
const char kPlayer[] = "Zyne Talkweave Player";   // the display names of the sets' modules
const char kPlugin[] = "Zyne Netrama Plugin";

// Text `id` of setup's string table as built, "%1" and "%2" filled in.
std::string Text(UINT id, const char* arg1 = "", const char* arg2 = "")
{
    static HMODULE setup = LoadLibraryExA(Built("Quillset.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char text[1024] = "";
    LoadStringA(setup, id, text, sizeof text);
    return ReplaceArgs(text, arg1, arg2).c_str();
}

DWORD_PTR Ask(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result);
    return result;
}

// Waits up to 5 s for a condition that a posted message brings about.
bool Soon(const std::function<bool()>& done)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20))
        if (done())
            return true;
    return done();
}

HWND Focus(HWND dlg)
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gui);
    return gui.hwndFocus;
}

// Edit `id` has the focus and [from, its end) selected.
void ExpectSelectedFrom(HWND dlg, int id, size_t from)
{
    HWND edit = GetDlgItem(dlg, id);
    EXPECT_TRUE(Soon([&] { return Focus(dlg) == edit; })) << id;
    DWORD_PTR sel = Ask(edit, EM_GETSEL);
    EXPECT_EQ(from, LOWORD(sel));
    EXPECT_EQ(WindowText(edit).size(), HIWORD(sel));
}

// A key typed into whatever has the focus.
void Key(HWND dlg, UINT vk) { SendKey(Focus(dlg), vk); }

// Replaces the text of edit `id` as typing would, then tabs away.
void TypeAndTab(HWND dlg, int id, const std::string& text)
{
    HWND edit = GetDlgItem(dlg, id);
    PostMessageA(dlg, WM_NEXTDLGCTL, (WPARAM)edit, TRUE);
    ASSERT_TRUE(Soon([&] { return Focus(dlg) == edit; }));
    for (char c : text)
        PostMessageA(edit, WM_CHAR, (BYTE)c, 1);
    Key(dlg, VK_TAB);
    ASSERT_TRUE(Soon([&] { return Focus(dlg) != edit; }));
}

RECT ClientRect(HWND dlg, int id)
{
    RECT r = {};
    GetWindowRect(GetDlgItem(dlg, id), &r);
    MapWindowPoints(nullptr, dlg, (POINT*)&r, 2);
    return r;
}

// A visible dialog of the process other than `except`.
HWND OtherDialog(DWORD pid, HWND except)
{
    HWND found = nullptr;
    Soon([&] {
        for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, "#32770", nullptr));) {
            DWORD p = 0;
            GetWindowThreadProcessId(h, &p);
            if (p == pid && h != except && IsWindowVisible(h))
                return (found = h) != nullptr;
        }
        return false;
    });
    return found;
}

// Reads every folder of a tree. Wine's shell browser finds a folder by item
// lists that hold its last access time, which the first read of a new folder
// still changes: a walk after that read would miss it.
void ReadTree(const std::string& folder)
{
    for (auto& name : List(folder))
        if (IsFolder(folder + "\\" + name))
            ReadTree(folder + "\\" + name);
}

// The width of the old-style open dialog and how far its folder list lies
// right of its file-name field.
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

class Destination : public ::testing::Test {
protected:
    void SetUp() override { base = FreshFolder("destination"); }
    void TearDown() override
    {
        host.Kill();
        SetWindowsVersion(kHostName, nullptr);
    }

    // A stand-in Navigator ("3.0", "1.22", "none"; "" for none at all) in a
    // folder named as the set wants it.
    std::string NavigatorFolder(const std::string& version)
    {
        std::string folder = base + "\\nav" + version + "\\Program";
        MakeFolders(folder);
        if (!version.empty())
            Copy(Navigator(version), folder + "\\NETSCAPE.EXE");
        return folder;
    }

    // The page for a "Player" or "Plugin" set, with or without the other
    // product's module, under a Windows version mode of Wine.
    HWND Show(const std::string& mode, bool other, const std::string& player, const std::string& navigator = "",
              const char* windows = nullptr)
    {
        std::string set = base + "\\set";
        MakeFolders(set);
        Copy(Built("Vantrel.exe"), set + "\\VANTREL.EXE");
        Copy(PluginLibrary(), set + "\\NPZYNE32.DLL");
        std::string ini = "[Options]\r\nMode=" + mode + "\r\n[Player.32]\r\nModule=VANTREL.EXE\r\nOtherModule=" +
                          (other ? "NPZYNE32.DLL" : "NONE.DLL") +
                          "\r\n[Plugin.32]\r\nModule=NPZYNE32.DLL\r\nOtherModule=" + (other ? "VANTREL.EXE" : "NONE.EXE") +
                          "\r\n[Netscape]\r\nModule=NETSCAPE.EXE\r\nUndir.32=Program\r\n";
        WriteFile(set + "\\SETUP.INI", ini);
        SetWindowsVersion(kHostName, windows);
        List("C:\\bench");
        ReadTree(base);
        EXPECT_TRUE(host.Start(Built("tests\\DialogHost.exe"), "destination|" + player + "|" + navigator, set));
        HWND dlg = WaitForDialog(host.Id(), 10000);
        EXPECT_NE(nullptr, dlg);
        return dlg;
    }
    void Screenshot(HWND dlg, const std::string& name)
    {
        MakeFolders(Built("artifacts"));
        EXPECT_TRUE(SaveScreenshot(dlg, Built("artifacts\\" + name + ".bmp")));
    }
    // Cancels the page; what the host wrote of its results.
    std::string Cancel(HWND dlg)
    {
        Press(dlg, IDCANCEL);
        EXPECT_EQ(IDCANCEL, host.Wait(10000));
        return ReadFile(base + "\\set\\RESULT.TXT");
    }

    std::string base;
    Process host;
};

}  // namespace

TEST_F(Destination, NavigatorStatesOptionsAndOk)
{
    struct {
        const char* mode;
        bool other;
        const char* navigator;   // stand-in version; "" none
        UINT label;
        const char* button;
        bool ok, navigatorEnabled;
        bool okUnchecked;        // OK after the check box is clicked once
        const char* screenshot;
    } cases[] = {
        {"Plugin", true, "3.0", IDS_NAV_FOUND, "Chang&e", true, true, true, "destination-found"},
        {"Plugin", true, "1.22", IDS_NAV_NO_PLUGINS, "Brows&e...", false, true, false, "destination-too-old"},
        {"Plugin", true, "none", IDS_NAV_NO_PLUGINS, "Brows&e...", false, true, false, nullptr},
        {"Plugin", true, "", IDS_NAV_NOT_FOUND, "Brows&e...", false, true, false, "destination-not-found"},
        {"Plugin", false, "", IDS_NAV_NOT_FOUND, "Brows&e...", false, true, false, nullptr},
        {"Player", true, "", IDS_NAV_NOT_FOUND, "Brows&e...", false, true, true, "destination-player"},
        {"Player", false, "", IDS_NAV_NOT_FOUND, "Brows&e...", true, false, true, nullptr},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + (c.other ? " with " : " without ") + "the other product, Navigator " +
                     c.navigator);
        HWND dlg = Show(c.mode, c.other, base, NavigatorFolder(c.navigator));
        ASSERT_NE(nullptr, dlg);
        bool found = c.label == IDS_NAV_FOUND;
        EXPECT_EQ(Text(c.label), ItemText(dlg, IDC_NAVIGATOR_LABEL));
        EXPECT_EQ(c.button, ItemText(dlg, IDC_BROWSE_NAVIGATOR));
        EXPECT_EQ(found, ItemReadOnly(dlg, IDC_NAVIGATOR_FOLDER));
        EXPECT_EQ(c.ok, ItemEnabled(dlg, IDOK));
        EXPECT_EQ(c.other, ItemChecked(dlg, IDC_OTHER_PRODUCT));
        EXPECT_EQ(c.other, ItemEnabled(dlg, IDC_OTHER_PRODUCT));
        for (int id : {IDC_NAVIGATOR_LABEL, IDC_NAVIGATOR_FOLDER, IDC_BROWSE_NAVIGATOR})
            EXPECT_EQ(c.navigatorEnabled, ItemEnabled(dlg, id)) << id;
        if (c.screenshot)
            Screenshot(dlg, c.screenshot);
        if (c.other) {
            Ask(GetDlgItem(dlg, IDC_OTHER_PRODUCT), BM_CLICK);
            EXPECT_EQ(c.okUnchecked, ItemEnabled(dlg, IDOK));
            EXPECT_EQ(c.mode == std::string("Plugin"), ItemEnabled(dlg, IDC_NAVIGATOR_FOLDER));
        }
        EXPECT_EQ(base + "\n" + NavigatorFolder(c.navigator) + "\n0\n", Cancel(dlg));
    }
}

TEST_F(Destination, NavigatorFolderIsRecheckedOnlyAfterAChange)
{
    std::string found = NavigatorFolder("3.0"), old = NavigatorFolder("1.22");
    HWND dlg = Show("Plugin", true, base, found);
    ASSERT_NE(nullptr, dlg);
    // "Chang&e" opens the folder for editing without a new check
    Ask(GetDlgItem(dlg, IDC_BROWSE_NAVIGATOR), BM_CLICK);
    ExpectSelectedFrom(dlg, IDC_NAVIGATOR_FOLDER, 0);
    struct { const char* what; std::string typed; UINT label; } steps[] = {
        {"unchanged", "", IDS_NAV_NOT_FOUND}, {"too old", old, IDS_NAV_NO_PLUGINS}, {"found", found, IDS_NAV_FOUND}};
    for (auto& s : steps) {
        SCOPED_TRACE(s.what);
        TypeAndTab(dlg, IDC_NAVIGATOR_FOLDER, s.typed);
        EXPECT_EQ(Text(s.label), ItemText(dlg, IDC_NAVIGATOR_LABEL));
        EXPECT_EQ(s.label == IDS_NAV_FOUND, ItemReadOnly(dlg, IDC_NAVIGATOR_FOLDER));
        EXPECT_EQ(s.label == IDS_NAV_FOUND, ItemEnabled(dlg, IDOK));
    }
    EXPECT_EQ(base + "\n" + found + "\n1\n", Cancel(dlg));
}

TEST_F(Destination, OkCheckMakesTheMissingFolder)
{
    WriteFile(base + "\\file", "in the way");
    std::string noDrive = "Q:";
    while (GetDriveTypeA((noDrive + "\\").c_str()) != DRIVE_NO_ROOT_DIR)
        ++noDrive[0];
    struct { std::string folder; std::vector<int> answers; bool made; } cases[] = {
        {base, {}, true},                                       // there: no question
        {base + "\\New", {IDOK}, true},
        {base + "\\Zyne\\Talkweave", {IDOK}, true},             // every missing level
        {base + "\\Kept", {IDCANCEL}, false},
        {base + "\\file\\Zyne", {IDOK, IDOK}, false},           // a file in the way
        {noDrive + "\\Zyne\\Talkweave", {IDOK, IDOK}, false},
        {"", {IDOK, IDOK}, false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.folder);
        HWND dlg = Show("Player", false, c.folder);
        ASSERT_NE(nullptr, dlg);
        Press(dlg, IDOK);
        for (size_t i = 0; i < c.answers.size(); ++i) {
            HWND h = WaitForDialog(host.Id(), 10000, "DialogHost");
            ASSERT_NE(nullptr, h);
            Box box = ReadBox(h);
            UINT id = i == 0 ? IDS_CREATE_FOLDER : IDS_CREATE_FAILED;
            EXPECT_EQ(Text(id, c.folder.c_str(), kPlayer), box.text);
            EXPECT_EQ((i == 0 ? std::vector<int>{IDOK, IDCANCEL} : std::vector<int>{IDOK}), box.buttons);
            EXPECT_EQ(i == 0 ? IDCANCEL : IDOK, box.defaultButton);
            EXPECT_EQ(Icon::Exclamation, box.icon);
            Press(h, c.answers[i]);
            WaitGone(h, 5000);
        }
        if (c.made) {
            EXPECT_EQ(IDOK, host.Wait(10000));
            EXPECT_TRUE(IsFolder(c.folder));
        } else {
            ExpectSelectedFrom(dlg, IDC_PLAYER_FOLDER, 0);
            EXPECT_FALSE(IsFolder(c.folder));
            Cancel(dlg);
        }
    }
}

TEST_F(Destination, ShellBrowserUnderWindows95)
{
    MakeFolders(base + "\\Apps");
    MakeFolders(base + "\\Other");
    std::string navigator = NavigatorFolder("3.0");
    HWND dlg = Show("Player", true, base + "\\Apps\\Player", "", "win95");
    ASSERT_NE(nullptr, dlg);
    struct { int button; UINT title; std::string start, choice; UINT status; bool ok; std::string result; } picks[] = {
        {IDC_BROWSE_PLAYER, IDS_BROWSE_PLAYER, base + "\\Apps", base + "\\Other", 0, true, base + "\\Other\\Player"},
        {IDC_BROWSE_PLAYER, IDS_BROWSE_PLAYER, base + "\\Other", "C:\\", 0, true, "C:\\Player"},
        {IDC_BROWSE_NAVIGATOR, IDS_BROWSE_NAVIGATOR, "", base, IDS_NAV_NO_PATH, false, ""},
        {IDC_BROWSE_NAVIGATOR, IDS_BROWSE_NAVIGATOR, "", navigator, 0, true, navigator},
    };
    for (auto& p : picks) {
        SCOPED_TRACE(p.choice);
        int edit = p.button == IDC_BROWSE_PLAYER ? IDC_PLAYER_FOLDER : IDC_NAVIGATOR_FOLDER;
        Press(dlg, p.button);
        HWND browser = OtherDialog(host.Id(), dlg);
        ASSERT_NE(nullptr, browser);
        auto shows = [&](const std::string& text) {
            std::string all;
            bool shown = Soon([&] {
                all = "|";
                for (HWND c = GetWindow(browser, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                    all += WindowText(c) + "|";
                return all.find("|" + text + "|") != std::string::npos;
            });
            EXPECT_TRUE(shown) << text << " not in " << all;
        };
        shows(Text(p.title, kPlayer));
        if (!p.start.empty())
            shows(p.start);
        RemoteText choice(host.Handle(), p.choice);
        Ask(browser, BFFM_SETSELECTIONA, TRUE, choice.Address());
        shows(p.status ? Text(p.status) : p.choice);
        EXPECT_EQ(p.ok, ItemEnabled(browser, IDOK));
        Press(browser, p.ok ? IDOK : IDCANCEL);
        ASSERT_TRUE(WaitGone(browser, 5000));
        EXPECT_TRUE(Soon([&] { return ItemText(dlg, edit) == p.result; }));
        ExpectSelectedFrom(dlg, edit, p.result.find("Player") == std::string::npos ? 0 : p.result.size() - 6);
    }
    EXPECT_EQ(Text(IDS_NAV_FOUND), ItemText(dlg, IDC_NAVIGATOR_LABEL));
    EXPECT_EQ("Chang&e", ItemText(dlg, IDC_BROWSE_NAVIGATOR));
}

TEST_F(Destination, OldStylePickerUnderNt)
{
    // the system's old-style open dialog as it comes
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
    for (int id : {edt1, lst1, stc3})
        EXPECT_FALSE(ItemVisible(picker, id)) << id;
    for (int id : {lst2, cmb2, IDOK, IDCANCEL})
        EXPECT_TRUE(ItemVisible(picker, id)) << id;
    Screenshot(picker, "folder-picker");
    Press(picker, IDOK);
    std::string folder = base + "\\apps";
    CharLowerA(&folder[0]);
    EXPECT_TRUE(Soon([&] { return ItemText(dlg, IDC_PLAYER_FOLDER) == folder + "\\Player"; }));
    ExpectSelectedFrom(dlg, IDC_PLAYER_FOLDER, folder.size() + 1);
}

TEST_F(Destination, AboutItemPlaceAndKeyboard)
{
    HWND dlg = Show("Plugin", true, base, NavigatorFolder("3.0"));
    ASSERT_NE(nullptr, dlg);
    RECT r;
    GetWindowRect(dlg, &r);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, r.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 3, r.top);
    PostMessageA(dlg, WM_SYSCOMMAND, IDM_ABOUTBOX | 5, 0);   // the low four bits are the system's
    HWND about = OtherDialog(host.Id(), dlg);
    ASSERT_NE(nullptr, about);
    EXPECT_EQ("About Zyne Netrama Installer", WindowText(about));
    Press(about, IDOK);
    ASSERT_TRUE(WaitGone(about, 5000));

    // Tab visits every control in turn; mnemonics reach the edits and press the rest
    for (int id : {IDC_NAVIGATOR_FOLDER, IDC_BROWSE_NAVIGATOR, IDC_PLAYER_FOLDER, IDC_BROWSE_PLAYER,
                   IDC_OTHER_PRODUCT, IDOK, IDCANCEL, IDC_NAVIGATOR_FOLDER}) {
        EXPECT_TRUE(Soon([&] { return Focus(dlg) == GetDlgItem(dlg, id); })) << id;
        Key(dlg, VK_TAB);
    }
    struct { char key; int focus; } mnemonics[] = {
        {'w', IDC_PLAYER_FOLDER}, {'n', IDC_NAVIGATOR_FOLDER}, {'h', IDC_OTHER_PRODUCT}, {'e', IDC_NAVIGATOR_FOLDER}};
    for (auto& m : mnemonics) {
        PostMessageA(dlg, WM_SYSCHAR, m.key, 1 << 29);
        EXPECT_TRUE(Soon([&] { return Focus(dlg) == GetDlgItem(dlg, m.focus); })) << m.key;
    }
    EXPECT_FALSE(ItemChecked(dlg, IDC_OTHER_PRODUCT));
    EXPECT_EQ(Text(IDS_NAV_NOT_FOUND), ItemText(dlg, IDC_NAVIGATOR_LABEL));   // "Chang&e" was pressed
    PostMessageA(dlg, WM_SYSCHAR, 'b', 1 << 29);
    HWND picker = OtherDialog(host.Id(), dlg);
    ASSERT_NE(nullptr, picker);
    Press(picker, IDCANCEL);
    ASSERT_TRUE(WaitGone(picker, 5000));
    Key(dlg, VK_ESCAPE);
    EXPECT_EQ(IDCANCEL, host.Wait(10000));

    dlg = Show("Plugin", true, base, NavigatorFolder("3.0"));
    ASSERT_NE(nullptr, dlg);
    Key(dlg, VK_RETURN);
    EXPECT_EQ(IDOK, host.Wait(10000));
}
