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
    std::string text = AgreementOf(Built("Quillset.exe"));
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
