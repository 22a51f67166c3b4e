// The agreement page and the about box, shown by a host program and driven
// through their windows. DialogHost.exe carries the agreement text;
// DialogHostBare.exe is built without it.
#include <gtest/gtest.h>

#include "bench.h"
#include "driver.h"
#include "quillset.h"

using namespace bench;

namespace {

// The agreement text as setup carries it: "FILE" 153 of the program.
std::string AgreementOf(const std::string& program, bool* found = nullptr)
{
    std::string text;
    HMODULE m = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC res = m ? FindResourceA(m, MAKEINTRESOURCEA(IDR_AGREEMENT), "FILE") : nullptr;
    if (found)
        *found = res != nullptr;
    if (res)
        text.assign((const char*)LockResource(LoadResource(m, res)), SizeofResource(m, res));
    if (m)
        FreeLibrary(m);
    return text;
}

// A program of a market ("" English, "de\\" German) loaded for its resources.
HMODULE Resources(const std::string& market, const char* program)
{
    return LoadLibraryExA(Built(market + program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

std::string StringOf(HMODULE m, UINT id)
{
    char buf[1024] = "";
    return LoadStringA(m, id, buf, sizeof buf) > 0 ? buf : "";
}

// Whether `text` drawn in `font` fits `c`: within its width (a wrapping static
// breaks at words, no word may be wider) and its height. Push buttons keep
// their border and focus frame clear, check boxes their box and its gap.
std::string Overflow(HWND c, const std::string& text, HFONT font)
{
    RECT room;
    GetClientRect(c, &room);
    DWORD style = GetWindowLongA(c, GWL_STYLE);
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    if (ClassOf(c) == "Button") {
        room.right -= (style & 0x0F) <= BS_DEFPUSHBUTTON ? 8 : 13 + 4;
        format |= DT_SINGLELINE;
    } else {
        format |= (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP ? DT_SINGLELINE : DT_WORDBREAK;
        format |= (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    }
    HDC dc = GetDC(c);
    HGDIOBJ old = SelectObject(dc, font);
    RECT need = {0, 0, room.right, 0};
    DrawTextA(dc, text.c_str(), -1, &need, format);
    SelectObject(dc, old);
    ReleaseDC(c, dc);
    if (need.right <= room.right && need.bottom <= room.bottom)
        return "";
    return "needs " + std::to_string(need.right) + "x" + std::to_string(need.bottom) + " of " +
           std::to_string(room.right) + "x" + std::to_string(room.bottom);
}

INT_PTR CALLBACK Quiet(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

class Dialogs : public ::testing::Test {
protected:
    // Starts the host and waits for its dialog.
    HWND Show(const char* what, const char* caption, bool bare = false)
    {
        std::string exe = Built(bare ? "tests\\DialogHostBare.exe" : "tests\\DialogHost.exe");
        EXPECT_TRUE(host.Start(exe, what, Built("tests")));
        HWND dlg = WaitForDialog(host.Id(), 10000, caption);
        EXPECT_NE(nullptr, dlg) << what;
        return dlg;
    }
    Process host;
};

}  // namespace

TEST(AgreementText, IsPlainTextWithCrLfLinesAndAClosingZero)
{
    std::string text;
    for (const char* market : {"de\\", ""}) {   // English last: its text goes on below
        SCOPED_TRACE(market);
        text = AgreementOf(Built(std::string(market) + "Quillset.exe"));
        ASSERT_GT(text.size(), 6000u);
        EXPECT_LT(text.size(), 8000u);
        EXPECT_EQ('\0', text.back());
        EXPECT_EQ(text.size() - 1, text.find('\0'));   // no zero inside
        EXPECT_EQ("\r\n", text.substr(text.size() - 3, 2));
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ASSERT_EQ('\r', text[i - 1]) << "bare line feed at " << i;
            }
            if (text[i] == '\r') {
                ASSERT_EQ('\n', text[i + 1]) << "bare carriage return at " << i;
            }
        }
        EXPECT_NE(std::string::npos, text.find("Zyne Talkweave Player"));
        EXPECT_NE(std::string::npos, text.find("Zyne Netrama Plugin"));
        EXPECT_NE(std::string::npos, text.find("Zyne Systems"));
    }
    EXPECT_NE(text, AgreementOf(Built("de\\Quillset.exe")));   // each market its own
    // the host carries the same text, its bare build none
    EXPECT_EQ(text, AgreementOf(Built("tests\\DialogHost.exe")));
    bool found = true;
    AgreementOf(Built("tests\\DialogHostBare.exe"), &found);
    EXPECT_FALSE(found);
}

TEST_F(Dialogs, AgreementOpensAtTheTopReadOnly)
{
    HWND dlg = Show("agreement", "License Agreement");
    ASSERT_NE(nullptr, dlg);
    HWND edit = GetDlgItem(dlg, IDC_AGREEMENT_TEXT);
    std::string text = AgreementOf(Built("tests\\DialogHost.exe"));
    text.pop_back();   // the closing zero
    EXPECT_EQ(text, WindowText(edit));
    EXPECT_EQ("I &Accept", ItemText(dlg, IDOK));
    EXPECT_EQ("I &Reject", ItemText(dlg, IDCANCEL));

    // at the first line, caret at the start, nothing selected, focus in the text
    EXPECT_GT(Ask(edit, EM_GETLINECOUNT), 40u);
    EXPECT_EQ(0u, Ask(edit, EM_GETFIRSTVISIBLELINE));
    DWORD start = 99, end = 99;
    Ask(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(0u, start);
    EXPECT_EQ(0u, end);
    EXPECT_EQ(edit, FocusOf(dlg));
    // no default button: the buttons are plain push buttons
    EXPECT_NE(BS_DEFPUSHBUTTON, GetWindowLongA(GetDlgItem(dlg, IDOK), GWL_STYLE) & 0x0F);

    // placed at a third of the screen's height, centred across
    RECT r;
    GetWindowRect(dlg, &r);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, r.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 3, r.top);

    // typing changes nothing
    EXPECT_TRUE(ItemReadOnly(dlg, IDC_AGREEMENT_TEXT));
    SendKey(edit, 'X');
    SendKey(edit, VK_DELETE);
    SendKey(edit, VK_BACK);
    Sleep(100);
    EXPECT_EQ(text, WindowText(edit));

    std::string folder = Built("artifacts");
    MakeFolders(folder);
    SaveScreenshot(dlg, folder + "\\agreement.bmp");

    EXPECT_TRUE(Press(dlg, IDOK));
    EXPECT_EQ(IDOK, host.Wait(10000));
}

TEST_F(Dialogs, AgreementIsRejectedEveryOtherWay)
{
    struct { const char* name; void (*act)(HWND dlg); } ways[] = {
        {"I Reject", [](HWND dlg) { Press(dlg, IDCANCEL); }},
        {"Escape", [](HWND dlg) { SendKey(GetDlgItem(dlg, IDC_AGREEMENT_TEXT), VK_ESCAPE); }},
        {"close box", [](HWND dlg) { PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (auto& w : ways) {
        SCOPED_TRACE(w.name);
        HWND dlg = Show("agreement", "License Agreement");
        ASSERT_NE(nullptr, dlg);
        w.act(dlg);
        EXPECT_EQ(IDCANCEL, host.Wait(10000));
    }
}

TEST_F(Dialogs, WithoutTheTextThePageIsEmptyAndCanBeAccepted)
{
    HWND dlg = Show("agreement", "License Agreement", true);
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ("", ItemText(dlg, IDC_AGREEMENT_TEXT));
    EXPECT_TRUE(ItemReadOnly(dlg, IDC_AGREEMENT_TEXT));
    EXPECT_TRUE(Press(dlg, IDOK));
    EXPECT_EQ(IDOK, host.Wait(10000));
}

TEST_F(Dialogs, AboutBox)
{
    HWND dlg = Show("about", "About Zyne Netrama Installer");
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ("Zyne Netrama Installer 1.0", ItemText(dlg, IDC_ABOUT_NAME));
    EXPECT_EQ(SS_NOPREFIX, GetWindowLongA(GetDlgItem(dlg, IDC_ABOUT_NAME), GWL_STYLE) & SS_NOPREFIX);
    bool icon = false;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && ClassOf(c) == "Static")
            icon = icon || (IsWindowVisible(c) && Ask(c, STM_GETICON) != 0);
    EXPECT_TRUE(icon);
    EXPECT_TRUE(Press(dlg, IDOK));
    EXPECT_EQ(IDOK, host.Wait(10000));

    dlg = Show("about", "About Zyne Netrama Installer");
    ASSERT_NE(nullptr, dlg);
    PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(IDCANCEL, host.Wait(10000));
}

// The entry's table of global destructors takes what it holds and refuses one
// more, overwriting nothing: each one taken runs once.
TEST_F(Dialogs, DestructorTableRefusesOneMore)
{
    ASSERT_TRUE(host.Start(Built("tests\\DialogHost.exe"), "atexit", Built("tests")));
    EXPECT_EQ(32 - 1, host.Wait(10000));   // 32 slots, one the host's application object's
}

// Every text of each market's setup fits its control: each static, button and
// check box of every dialog with its template text, in the dialog's own font,
// and the texts the dialogs set at run time (the status line in bold).
TEST(Markets, EveryTextFitsItsControl)
{
    const int pages[] = {IDD_ABOUT, IDD_AGREEMENT, IDD_PROGRESS, IDD_PLAYER_DESTINATION, IDD_PLUGIN_DESTINATION};
    // set at run time, in whichever dialog has the control
    struct { int control; std::vector<UINT> texts; } later[] = {
        {IDC_NAVIGATOR_LABEL, {IDS_NAV_FOUND, IDS_NAV_NO_PLUGINS, IDS_NAV_NOT_FOUND}},
        {IDC_BROWSE_NAVIGATOR, {IDS_BROWSE_BUTTON, IDS_CHANGE_BUTTON}},
        {IDC_PROGRESS_STATUS, {IDS_CHECKING_MODULES, IDS_INSTALLING, IDS_INSTALL_DONE, IDS_REGISTERING, IDS_REMOVING,
                               IDS_REMOVAL_DONE, IDS_UNREGISTERING}},
    };
    for (const char* market : {"", "de\\"}) {
        HMODULE setup = Resources(market, "Quillset.exe");
        ASSERT_TRUE(setup) << market;
        int measured = 0;
        for (int page : pages) {
            HWND dlg = CreateDialogParamA(setup, MAKEINTRESOURCEA(page), nullptr, Quiet, 0);
            ASSERT_TRUE(dlg) << market << " dialog " << page;
            HFONT font = (HFONT)SendMessageA(dlg, WM_GETFONT, 0, 0);
            auto check = [&](HWND c, const std::string& text, HFONT f) {
                std::string cls = ClassOf(c);
                DWORD type = GetWindowLongA(c, GWL_STYLE) & (cls == "Static" ? SS_TYPEMASK : 0x0F);
                bool words = cls == "Static" ? type <= SS_RIGHT || type == SS_LEFTNOWORDWRAP
                                             : cls == "Button" && type <= BS_AUTOCHECKBOX;
                if (!words || text.empty())
                    return;
                ++measured;
                EXPECT_EQ("", Overflow(c, text, f)) << (*market ? "German" : "English") << ", dialog " << page
                                                    << ", control " << GetDlgCtrlID(c) << ": \"" << text << "\"";
            };
            for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                check(c, WindowText(c), font);
            LOGFONTA bold;
            GetObjectA(font, sizeof bold, &bold);
            bold.lfWeight = FW_BOLD;
            HFONT boldFont = CreateFontIndirectA(&bold);
            for (auto& l : later)
                for (UINT text : l.texts)
                    if (HWND c = GetDlgItem(dlg, l.control))
                        check(c, StringOf(setup, text), l.control == IDC_PROGRESS_STATUS ? boldFont : font);
            DeleteObject(boldFont);
            DestroyWindow(dlg);
        }
        EXPECT_GE(measured, 35) << market;
        FreeLibrary(setup);
    }
}

// Each market's programs carry every text of the English ones, with the same
// placeholders, and nothing that their ANSI code page (1252) cannot show.
TEST(Markets, EveryTextIsTranslatedWithItsPlaceholders)
{
    for (const char* program : {"Quillset.exe", "Clearoot.exe", "Vantrel.exe"}) {
        HMODULE en = Resources("", program), de = Resources("de\\", program);
        ASSERT_TRUE(en && de) << program;
        int ids = 0, translated = 0;
        for (UINT id = 0; id < 1024; ++id) {
            std::string english = StringOf(en, id), german = StringOf(de, id);
            EXPECT_EQ(english.empty(), german.empty()) << program << ", string " << id;
            auto holders = [](const std::string& t) {
                std::string found;
                for (size_t at = t.find('%'); at != std::string::npos; at = t.find('%', at + 1))
                    found += t.substr(at, 2);
                return found;
            };
            EXPECT_EQ(holders(english), holders(german)) << program << ", string " << id;
            WCHAR wide[1024] = L"";
            int n = LoadStringW(de, id, wide, 1024);
            BOOL lost = FALSE;
            char ansi[2048] = "";
            WideCharToMultiByte(1252, 0, wide, n, ansi, sizeof ansi, nullptr, &lost);
            EXPECT_FALSE(lost) << program << ", string " << id;
            EXPECT_EQ(german, ansi) << program << ", string " << id;
            ids += !english.empty();
            translated += english != german;
        }
        EXPECT_GT(ids, 0) << program;
        EXPECT_GT(translated, 0) << program << ": nothing translated";
        FreeLibrary(en);
        FreeLibrary(de);
    }
}
