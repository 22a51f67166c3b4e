// The progress dialog in this process: its template, its lines, the bar, the
// pump and Cancel.
#include <gtest/gtest.h>

#include <memory>

#include "app.h"
#include "bench.h"
#include "dialogtemplate.h"
#include "driver.h"
#include "progress.h"
#include "quillset.h"

using namespace bench;

namespace {

// Counts the messages a window receives, in front of its own procedure.
struct Counter {
    HWND hwnd = nullptr;
    WNDPROC original = nullptr;
    int setText = 0, erase = 0, paint = 0, app = 0;

    static Counter*& Slot(HWND h)
    {
        static std::vector<std::pair<HWND, Counter*>> slots;
        for (auto& s : slots)
            if (s.first == h)
                return s.second;
        slots.push_back({h, nullptr});
        return slots.back().second;
    }
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
    {
        Counter* c = Slot(h);
        if (msg == WM_SETTEXT)
            ++c->setText;
        else if (msg == WM_ERASEBKGND)
            ++c->erase;
        else if (msg == WM_PAINT)
            ++c->paint;
        else if (msg == WM_APP)
            ++c->app;
        return c->original ? CallWindowProcA(c->original, h, msg, wp, lp) : DefWindowProcA(h, msg, wp, lp);
    }
    void Attach(HWND h)
    {
        hwnd = h;
        Slot(h) = this;
        original = (WNDPROC)SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)Proc);
    }
    ~Counter()
    {
        if (hwnd && IsWindow(hwnd) && original)
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)original);
        if (hwnd)
            Slot(hwnd) = nullptr;
    }
};

// A plain top-level window: the application's main window, or a target for
// posted messages that only the pump delivers.
HWND MakeWindow(const char* title)
{
    WNDCLASSA wc = {};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), "BenchPlain", &wc)) {
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "BenchPlain";
        RegisterClassA(&wc);
    }
    return CreateWindowExA(0, "BenchPlain", title, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

RECT ClientRectOf(HWND dlg, HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dlg, (POINT*)&r, 2);
    return r;
}

COLORREF PixelOf(HWND hwnd, int x, int y)
{
    HDC dc = GetDC(hwnd);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return c;
}

class Progress : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.reset(new CProgressDialog(cancelled));
        ASSERT_NE(nullptr, dialog->Handle());
        dlg = dialog->Handle();
        PumpMessages();
    }
    void TearDown() override { dialog.reset(); }

    bool cancelled = true;
    std::unique_ptr<CProgressDialog> dialog;
    HWND dlg = nullptr;
};

}  // namespace

TEST(Templates, AreAsSetupShipsThem)
{
    HMODULE setup = LoadLibraryExA(Built("Quillset.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, setup);
    struct Expect { int id; const char* cls; const char* text; int x, y, cx, cy; DWORD style, mask; };
    const DWORD kEdit = WS_BORDER | ES_AUTOHSCROLL;   // bordered, scrolls horizontally
    const char kFoundLabel[] =
        "&Netscape Navigator has been found in the folder shown below. We'll install the plugin for that version.";
    struct {
        int id;
        const char* caption;
        int cx, cy;
        DWORD style;
        std::vector<Expect> items;
    } dialogs[] = {
        {IDD_PROGRESS, "Installing Zyne Netrama...", 182, 73, WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
         {{IDC_PROGRESS_STATUS, "Static", "Initializing...", 6, 6, 168, 8, SS_LEFT, SS_TYPEMASK},
          {IDC_PROGRESS_FILE, "Static", "", 6, 18, 168, 8, SS_LEFTNOWORDWRAP, SS_TYPEMASK},
          {IDC_PROGRESS_FRAME, "Static", "", 6, 30, 168, 18, SS_BLACKFRAME, SS_TYPEMASK},
          {IDCANCEL, "Button", "Cancel", 66, 54, 50, 14, BS_PUSHBUTTON, 0x0F}}},
        {IDD_AGREEMENT, "License Agreement", 270, 180, WS_CAPTION | WS_SYSMENU,
         {{IDC_AGREEMENT_TEXT, "Edit", "", 7, 7, 256, 146,
           ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER,
           ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_HSCROLL},
          {IDOK, "Button", "I &Accept", 77, 159, 50, 14, BS_PUSHBUTTON, 0x0F},
          {IDCANCEL, "Button", "I &Reject", 143, 159, 50, 14, BS_PUSHBUTTON, 0x0F}}},
        {IDD_ABOUT, "About Zyne Netrama Installer", 217, 55, WS_CAPTION | WS_SYSMENU,
         {{-1, "Static", "#128", 11, 17, 18, 20, SS_ICON, SS_TYPEMASK},
          {IDC_ABOUT_NAME, "Static", "Zyne Netrama Installer 1.0", 40, 10, 131, 8, SS_NOPREFIX, SS_NOPREFIX},
          {IDOK, "Button", "OK", 178, 7, 32, 14, BS_DEFPUSHBUTTON, 0x0F}}},
        {IDD_PLAYER_DESTINATION, "Zyne Talkweave Player Setup", 222, 134, WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
         {{-1, "Static", "#130", 7, 7, 18, 20, SS_ICON, SS_TYPEMASK},
          {-1, "Static", "&Where would you like to install the Zyne Talkweave Player program files?", 35, 7, 180, 18,
           SS_LEFT, SS_TYPEMASK},
          {IDC_PLAYER_FOLDER, "Edit", "", 7, 30, 163, 14, kEdit, kEdit | ES_READONLY},
          {IDC_BROWSE_PLAYER, "Button", "&Browse...", 176, 30, 39, 14, BS_PUSHBUTTON, 0x0F},
          {IDC_DESTINATION_LINE, "Static", "", 7, 50, 208, 1, SS_ETCHEDFRAME, SS_TYPEMASK},
          {IDC_OTHER_PRODUCT, "Button", "Install Netrama Plugin for Netscape Navigator", 7, 57, 208, 10,
           BS_AUTOCHECKBOX, 0x0F},
          {IDC_NAVIGATOR_LABEL, "Static", kFoundLabel, 19, 71, 196, 18, SS_LEFT, SS_TYPEMASK},
          {IDC_NAVIGATOR_FOLDER, "Edit", "", 7, 92, 163, 14, kEdit | ES_READONLY, kEdit | ES_READONLY},
          {IDC_BROWSE_NAVIGATOR, "Button", "Chang&e", 176, 92, 39, 14, BS_PUSHBUTTON, 0x0F},
          {IDOK, "Button", "OK", 53, 113, 50, 14, BS_DEFPUSHBUTTON, 0x0F},
          {IDCANCEL, "Button", "Cancel", 119, 113, 50, 14, BS_PUSHBUTTON, 0x0F}}},
        {IDD_PLUGIN_DESTINATION, "Zyne Netrama Plugin Setup", 222, 134, WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
         {{-1, "Static", "#142", 7, 5, 18, 20, SS_ICON, SS_TYPEMASK},
          {IDC_NAVIGATOR_LABEL, "Static", kFoundLabel, 35, 7, 180, 19, SS_LEFT, SS_TYPEMASK},
          {IDC_NAVIGATOR_FOLDER, "Edit", "", 7, 31, 163, 14, kEdit | ES_READONLY, kEdit | ES_READONLY},
          {IDC_BROWSE_NAVIGATOR, "Button", "Chang&e", 176, 31, 39, 14, BS_PUSHBUTTON, 0x0F},
          {IDC_DESTINATION_LINE, "Static", "", 7, 50, 208, 1, SS_ETCHEDFRAME, SS_TYPEMASK},
          {-1, "Static", "#130", 7, 55, 18, 20, SS_ICON, SS_TYPEMASK},
          {-1, "Static", "&Where would you like to install the Zyne Netrama Plugin files?", 35, 57, 180, 18, SS_LEFT,
           SS_TYPEMASK},
          {IDC_PLAYER_FOLDER, "Edit", "", 7, 80, 163, 14, kEdit, kEdit | ES_READONLY},
          {IDC_BROWSE_PLAYER, "Button", "&Browse...", 176, 80, 39, 14, BS_PUSHBUTTON, 0x0F},
          {IDC_OTHER_PRODUCT, "Button", "Install Talkweave Player as &helper app for other browsers", 7, 97, 208, 10,
           BS_AUTOCHECKBOX, 0x0F},
          {IDOK, "Button", "OK", 53, 113, 50, 14, BS_DEFPUSHBUTTON, 0x0F},
          {IDCANCEL, "Button", "Cancel", 119, 113, 50, 14, BS_PUSHBUTTON, 0x0F}}},
    };
    for (auto& d : dialogs) {
        SCOPED_TRACE(d.caption);
        DialogTemplate t = ReadDialogTemplate(setup, d.id);
        ASSERT_TRUE(t.found);
        EXPECT_EQ(d.caption, t.caption);
        EXPECT_EQ("MS Sans Serif", t.font);
        EXPECT_EQ(8, t.pointSize);
        EXPECT_EQ(d.cx, t.cx);
        EXPECT_EQ(d.cy, t.cy);
        EXPECT_EQ(d.style, t.style & (WS_VISIBLE | WS_CAPTION | WS_SYSMENU));
        for (auto& e : d.items) {
            SCOPED_TRACE(e.text);
            const DialogItem* i = nullptr;
            for (auto& item : t.items)
                if (item.id == e.id && item.text == e.text)
                    i = &item;
            ASSERT_NE(nullptr, i);
            EXPECT_EQ(e.cls, i->className);
            EXPECT_EQ((std::vector<int>{e.x, e.y, e.cx, e.cy}), (std::vector<int>{i->x, i->y, i->cx, i->cy}));
            EXPECT_EQ(e.style, i->style & e.mask);
        }
    }
    // the about box's second line, below the name
    DialogTemplate about = ReadDialogTemplate(setup, IDD_ABOUT);
    ASSERT_EQ(4u, about.items.size());
    EXPECT_EQ((std::vector<int>{40, 25, 162, 8}),
              (std::vector<int>{about.items[2].x, about.items[2].y, about.items[2].cx, about.items[2].cy}));
    EXPECT_FALSE(about.items[2].text.empty());
    FreeLibrary(setup);
}

TEST_F(Progress, OpensAsTheTemplatePlacesIt)
{
    EXPECT_FALSE(cancelled);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ("Installing Zyne Netrama...", WindowText(dlg));
    EXPECT_EQ("", ItemText(dlg, IDC_PROGRESS_STATUS));   // "Initializing..." is never seen

    // x, y, width, height in dialog units, each converted on its own as the
    // dialog manager does
    struct { int id; RECT units; } controls[] = {
        {IDC_PROGRESS_STATUS, {6, 6, 168, 8}}, {IDC_PROGRESS_FILE, {6, 18, 168, 8}},
        {IDC_PROGRESS_FRAME, {6, 30, 168, 18}}, {IDCANCEL, {66, 54, 50, 14}},
    };
    for (auto& c : controls) {
        RECT want = c.units;
        MapDialogRect(dlg, &want);
        RECT got = ClientRectOf(dlg, GetDlgItem(dlg, c.id));
        EXPECT_EQ((std::vector<LONG>{want.left, want.top, want.right, want.bottom}),
                  (std::vector<LONG>{got.left, got.top, got.right - got.left, got.bottom - got.top}))
            << c.id;
    }

    // the bar covers the frame's inside
    HWND bar = GetDlgItem(dlg, IDC_PROGRESS_BAR);
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(dialog->BarCreated());
    EXPECT_EQ(bar, dialog->Bar().Handle());
    EXPECT_EQ("Progresso", WindowText(bar));
    EXPECT_TRUE(IsWindowVisible(bar));
    RECT frame = ClientRectOf(dlg, GetDlgItem(dlg, IDC_PROGRESS_FRAME));
    InflateRect(&frame, -1, -1);
    RECT inside = ClientRectOf(dlg, bar);
    EXPECT_TRUE(EqualRect(&frame, &inside));

    // the status line in bold, the rest in the dialog's font
    LOGFONTA status = {}, file = {};
    GetObjectA((HFONT)SendMessageA(GetDlgItem(dlg, IDC_PROGRESS_STATUS), WM_GETFONT, 0, 0), sizeof status, &status);
    GetObjectA((HFONT)SendMessageA(GetDlgItem(dlg, IDC_PROGRESS_FILE), WM_GETFONT, 0, 0), sizeof file, &file);
    EXPECT_EQ(700, status.lfWeight);
    EXPECT_LT(file.lfWeight, 700);
    EXPECT_STREQ(file.lfFaceName, status.lfFaceName);

    // without an owner: centred on the work area
    RECT work, r;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(dlg, &r);
    EXPECT_NEAR((work.left + work.right) / 2, (r.left + r.right) / 2, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, (r.top + r.bottom) / 2, 1);
}

TEST_F(Progress, TitleOwnerAndTheMainWindow)
{
    dialog.reset();
    ASSERT_FALSE(IsWindow(dlg));   // the owner's delete ends the window

    HWND main = MakeWindow("main");
    ShowWindow(main, SW_SHOW);
    CApp::Get()->SetMainWindow(main);
    dialog.reset(new CProgressDialog(cancelled, "Removing the Player", main));
    dlg = dialog->Handle();
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ("Removing the Player", WindowText(dlg));
    EXPECT_EQ(main, GetWindow(dlg, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(main));
    RECT owner, r;
    GetWindowRect(main, &owner);
    GetWindowRect(dlg, &r);
    EXPECT_NEAR((owner.left + owner.right) / 2, (r.left + r.right) / 2, 1);

    // the window may go before its owner: the main window comes back
    DestroyWindow(dlg);
    EXPECT_EQ(nullptr, dialog->Handle());
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(main, GetActiveWindow());
    CApp::Get()->SetMainWindow(nullptr);
    DestroyWindow(main);
}

TEST_F(Progress, LinesChangeOnlyWhenDifferentAndAlwaysPump)
{
    HWND target = MakeWindow("pumped");
    Counter pumped, status, file;
    pumped.Attach(target);
    status.Attach(GetDlgItem(dlg, IDC_PROGRESS_STATUS));
    file.Attach(GetDlgItem(dlg, IDC_PROGRESS_FILE));

    dialog->SetStatusText("Installing Player/Plugin files...");
    EXPECT_EQ(1, status.setText);

    PostMessageA(target, WM_APP, 0, 0);
    dialog->SetStatusText("Installing Player/Plugin files...");
    EXPECT_EQ(1, status.setText);   // the same text: the control is not touched
    EXPECT_EQ(1, pumped.app);       // but the pump ran

    dialog->SetStatusText("INSTALLING PLAYER/PLUGIN FILES...");   // case counts
    EXPECT_EQ(2, status.setText);
    EXPECT_EQ("INSTALLING PLAYER/PLUGIN FILES...", std::string(dialog->StatusText()));

    PostMessageA(target, WM_APP, 0, 0);
    dialog->SetFileText("C:\\Zyne\\VANTREL.EXE");
    EXPECT_EQ(1, file.setText);
    EXPECT_EQ(1, pumped.app);   // the file line alone does not pump
    EXPECT_EQ("C:\\Zyne\\VANTREL.EXE", std::string(dialog->FileText()));
    EXPECT_EQ(2, pumped.app);   // reading a line does

    PostMessageA(target, WM_APP, 0, 0);
    dialog->ChangeFileText("C:\\Zyne\\VANTREL.EXE");
    EXPECT_EQ(1, file.setText);
    EXPECT_EQ(3, pumped.app);
    dialog->ChangeFileText("C:\\Zyne\\vantrel.exe");
    EXPECT_EQ(2, file.setText);

    // the pump takes a quit request off the queue too
    PostQuitMessage(0);
    PumpMessages();
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    DestroyWindow(target);
}

TEST_F(Progress, BarShowsThePercentageAndErasesOnlyWhenItFalls)
{
    HWND bar = dialog->Bar().Handle();
    Counter counter;
    counter.Attach(bar);
    RECT client;
    GetClientRect(bar, &client);
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), window = GetSysColor(COLOR_WINDOW);

    dialog->SetPercent(42);
    EXPECT_STREQ("42%", dialog->Bar().Text());
    EXPECT_EQ(42, dialog->Bar().Percent());
    dialog->SetPercent(101);              // over 100: ignored
    dialog->SetPercent((unsigned)-5);     // a negative one read unsigned: ignored
    EXPECT_STREQ("42%", dialog->Bar().Text());

    dialog->SetPercent(60);
    UpdateWindow(bar);
    EXPECT_EQ(highlight, PixelOf(bar, 2, 2));
    EXPECT_EQ(window, PixelOf(bar, client.right - 2, 2));

    int erased = counter.erase, painted = counter.paint;
    dialog->SetPercent(40);
    UpdateWindow(bar);
    EXPECT_EQ(erased + 1, counter.erase);   // falling: erased first
    EXPECT_EQ(painted + 1, counter.paint);
    EXPECT_EQ(window, PixelOf(bar, client.right * 50 / 100, 2));

    dialog->SetPercent(60);
    UpdateWindow(bar);
    EXPECT_EQ(erased + 1, counter.erase);   // growing: painted over
    EXPECT_EQ(painted + 2, counter.paint);

    dialog->SetPercent(60);
    UpdateWindow(bar);
    EXPECT_EQ(painted + 2, counter.paint);   // the same value: nothing to do

    dialog->SetPercent(0);
    UpdateWindow(bar);
    EXPECT_STREQ("0%", dialog->Bar().Text());
    EXPECT_EQ(erased + 2, counter.erase);
    EXPECT_EQ(window, PixelOf(bar, 2, 2));

    dialog->SetPercent(100);
    UpdateWindow(bar);
    EXPECT_EQ(highlight, PixelOf(bar, client.right - 2, 2));
    dialog->Bar().SetText("");
    UpdateWindow(bar);
    EXPECT_EQ(window, PixelOf(bar, 2, 2));   // an empty text clears the bar
}

TEST_F(Progress, CancelSetsTheFlagAndTheDialogStays)
{
    EXPECT_TRUE(Press(dlg, IDCANCEL));
    PumpMessages();
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(IsWindow(dlg) && IsWindowVisible(dlg));

    cancelled = false;
    PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);   // the close box
    PumpMessages();
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(IsWindow(dlg) && IsWindowVisible(dlg));

    SendMessageA(dlg, WM_COMMAND, IDOK, 0);   // no OK button, nothing to end
    EXPECT_TRUE(IsWindow(dlg));
    EXPECT_EQ(dlg, dialog->Handle());
}

// A picture of the dialog mid-install: build/artifacts/progress.bmp.
TEST_F(Progress, Screenshot)
{
    dialog->SetStatusText("Installing Player/Plugin files...");
    dialog->ChangeFileText("C:\\Program Files\\Zyne\\Talkweave\\VANTREL.EXE");
    dialog->SetPercent(60);
    UpdateWindow(dlg);
    UpdateWindow(dialog->Bar().Handle());
    Sleep(100);
    PumpMessages();
    std::string folder = Built("artifacts");
    MakeFolders(folder);
    std::string path = folder + "\\progress.bmp";
    DeleteFileA(path.c_str());
    ASSERT_TRUE(SaveScreenshot(dlg, path));
    EXPECT_GT(ReadFile(path).size(), 10000u);
}
