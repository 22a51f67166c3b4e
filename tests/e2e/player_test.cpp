// The player host started with command lines, driven through its window, and
// watched through the stand-in engine's trace of the calls it receives.
#include <gtest/gtest.h>

#include <stdio.h>

#include <memory>

#include "bench.h"
#include "driver.h"
#include "remote.h"

using namespace bench;

namespace {

const char kMainClass[] = "Zyne Talkweave Player_MAIN";
const char kViewClass[] = "Zyne Talkweave Player_VIEW";
const char kProduct[] = "Zyne Talkweave Player";
const UINT kSetTitle = WM_USER + 1010;   // 2034

// What the document type's registration writes.
const char kExt[] = ".zyn";
const char kProgId[] = "Zyne.Pres.1.95";
const char kMime[] = "MIME\\Database\\Content Type\\application/x-zyne";
const char kUserExtensions[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Extensions";
const char kIniExtensions[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Extensions";   // Wine's WIN.INI [Extensions]

void ResetRegistration()
{
    for (const char* key : {kExt, kProgId, kMime})
        DeleteKeyTree(HKEY_CLASSES_ROOT, key);
    WriteProfileStringA("Extensions", "zyn", nullptr);
    DeleteRegValue(HKEY_CURRENT_USER, kIniExtensions, "zyn");
    DeleteRegValue(HKEY_CURRENT_USER, kUserExtensions, "zyn");
}

using Lines = std::vector<std::string>;

std::string Hex(const void* p)
{
    char buf[16];
    snprintf(buf, sizeof buf, "%08lX", (unsigned long)(UINT_PTR)p);
    return buf;
}

void Replace(std::string& s, const std::string& from, const std::string& to)
{
    if (from.empty())
        return;
    for (size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
        s.replace(at, from.size(), to);
}

// The defaults every start hands the engine before the view, with the
// instance written as E and the view as V.
const Lines kStart = {
    "101 0 => E",
    "106 E \"border\" \"none\"",
    "106 E \"orientation\" \"freeform\"",
    "106 E \"dithering\" \"off\"",
    "102 V E 1",
};

// What every end adds: the engine leaves the view, then the instance ends.
const Lines kEnd = {"104 V E", "105 E"};

Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class Player : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = FreshFolder(std::string("player\\") + info->name());
        exe = dir + "\\Vantrel.exe";
        Copy(Built("Vantrel.exe"), exe);
        Copy(Built("Vantrel.dll"), dir + "\\Vantrel.dll");
        trace = dir + "\\trace.txt";
        SetEnvironmentVariableA("VANTREL_ENGINE_TRACE", trace.c_str());
        SetEnvironmentVariableA("VANTREL_TEST_FAULT", nullptr);
        ResetRegistration();
    }
    void TearDown() override
    {
        player.Kill();
        ResetRegistration();
        SetEnvironmentVariableA("VANTREL_ENGINE_TRACE", nullptr);
        SetEnvironmentVariableA("VANTREL_ENGINE_TRACE_CLOCK", nullptr);
        SetEnvironmentVariableA("VANTREL_TEST_FAULT", nullptr);
        SetWindowsVersion("Vantrel.exe", nullptr);
    }

    // Starts the player and waits until it has handed its view to the engine
    // and runs its message loop. Null args: it has been started already.
    void Start(const char* args)
    {
        main = view = nullptr;
        if (args) {
            DeleteFileA(trace.c_str());
            ASSERT_TRUE(player.Start(exe, args, dir));
        }
        main = WaitForWindow(player.Id(), kMainClass, 10000);
        ASSERT_TRUE(main) << "no main window";
        view = FindWindowExA(main, nullptr, kViewClass, nullptr);
        ASSERT_TRUE(view) << "no view window";
        DWORD start = GetTickCount();
        while (RawTrace().find("\n102 ") == std::string::npos && GetTickCount() - start < 5000)
            Sleep(20);
        Sync();
    }
    // Returns once the player's thread has taken a message from its loop.
    void Sync() { SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr); }

    // Closes the window as the user would and waits for the end.
    long Close()
    {
        PostMessageA(main, WM_CLOSE, 0, 0);
        return player.Wait(10000);
    }

    std::string RawTrace() { return Exists(trace) ? ReadFile(trace) : std::string(); }

    // The trace, one entry per line, the engine instance as E and the view as V.
    Lines Trace() { return Entries(RawTrace()); }
    Lines Entries(std::string all)
    {
        size_t arrow = all.find(" => ");
        if (arrow != std::string::npos)
            Replace(all, all.substr(arrow + 4, 8), "E");
        Replace(all, Hex(view), "V");
        Lines lines;
        size_t at = 0, end;
        while ((end = all.find("\r\n", at)) != std::string::npos) {
            lines.push_back(all.substr(at, end - at));
            at = end + 2;
        }
        return lines;
    }

    std::string dir, exe, trace;
    Process player;
    HWND main = nullptr, view = nullptr;
};

RECT ClientOnScreen(HWND hwnd)
{
    RECT r;
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, (POINT*)&r, 2);
    return r;
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

}  // namespace

TEST_F(Player, EngineCallsFollowTheCommandLine)
{
    struct {
        const char* args;
        Lines then;   // after the view was handed over
    } cases[] = {
        {"", {}},
        {"/border=thin \"C:\\Talks\\My talk.zyn\" -dithering:on",
         {"106 E \"border\" \"thin\"", "106 E \"dithering\" \"on\"", "103 \"C:\\Talks\\My talk.zyn\" E 0"}},
        {"\"C:\\Talks\\My talk.zyn\" C:\\b.zyn", {"106 E \"C\" \"\\b.zyn\"", "103 \"C:\\Talks\\My talk.zyn\" E 0"}},
        {"/=on /border= /border", {}},
        {"\"/orientation : landscape\"", {"106 E \"orientation\" \"landscape\""}},
        {"C:\\a.zyn\t-x=1", {"103 \"C:\\a.zyn\t-x=1\" E 0"}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.args);
        Start(c.args);
        EXPECT_EQ(kStart + c.then, Trace());
        EXPECT_EQ(0, Close());
        EXPECT_EQ(kStart + c.then + kEnd, Trace());
    }
}

// For the bench's clock each line ends in the performance counter at the
// call: in the order of the calls, within the run, the lines otherwise as ever.
TEST_F(Player, TraceClockStampsEachCall)
{
    SetEnvironmentVariableA("VANTREL_ENGINE_TRACE_CLOCK", "1");
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    Start("C:\\a.zyn");
    EXPECT_EQ(0, Close());
    QueryPerformanceCounter(&after);
    std::string raw = RawTrace(), plain;
    long long last = before.QuadPart;
    for (size_t at = 0, end; (end = raw.find("\r\n", at)) != std::string::npos; at = end + 2) {
        std::string line = raw.substr(at, end - at);
        SCOPED_TRACE(line);
        size_t stamp = line.rfind(" @");
        ASSERT_TRUE(stamp != std::string::npos && line.size() == stamp + 18);
        long long counter = (long long)strtoull(line.c_str() + stamp + 2, nullptr, 16);
        EXPECT_LE(last, counter);
        last = counter;
        plain += line.substr(0, stamp) + "\r\n";
    }
    EXPECT_LE(last, after.QuadPart);
    EXPECT_EQ(kStart + Lines{"103 \"C:\\a.zyn\" E 0"} + kEnd, Entries(plain));
}

TEST_F(Player, WindowsAndTheirClasses)
{
    // Wine, like later Windows, keeps WS_EX_WINDOWEDGE on any window with a
    // sizing border, whatever SetWindowLong asks: watch what the player asks.
    std::unique_ptr<CallCounter> setLong, lookUp;
    ASSERT_TRUE(player.StartPaused(exe, "", dir, [&] {
        setLong.reset(new CallCounter(player.Handle(), player.Id(), "USER32.dll", "SetWindowLongA"));
        lookUp.reset(new CallCounter(player.Handle(), player.Id(), "KERNEL32.dll", "GetProcAddress"));
    }));
    ASSERT_TRUE(setLong && setLong->Installed() && lookUp && lookUp->Installed());
    Start(nullptr);
    // the 3-D control library looked up by ordinal at start: two, the last 16
    EXPECT_EQ(2u, lookUp->Calls());
    EXPECT_EQ(16u, lookUp->LastArgument(1));
    EXPECT_EQ(kMainClass, ClassOf(main));
    EXPECT_EQ(kProduct, WindowText(main));
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(320, r.right - r.left);
    EXPECT_EQ(247, r.bottom - r.top);
    LONG style = GetWindowLongA(main, GWL_STYLE);
    const LONG want = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    EXPECT_EQ(want, style & want);
    ASSERT_EQ(1u, setLong->Calls());
    EXPECT_EQ((DWORD)(UINT_PTR)main, setLong->LastArgument(0));
    EXPECT_EQ((DWORD)GWL_EXSTYLE, setLong->LastArgument(1));
    // the edge off, every other extended style bit kept
    EXPECT_EQ(GetWindowLongA(main, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, (LONG)setLong->LastArgument(2));
    EXPECT_EQ(nullptr, GetWindow(main, GW_OWNER));
    EXPECT_EQ(nullptr, GetMenu(main));

    EXPECT_EQ(kViewClass, ClassOf(view));
    EXPECT_EQ("", WindowText(view));
    EXPECT_EQ(main, GetParent(view));
    const LONG viewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    EXPECT_EQ(viewStyle, GetWindowLongA(view, GWL_STYLE) & viewStyle);

    for (HWND w : {main, view}) {
        SCOPED_TRACE(ClassOf(w));
        EXPECT_EQ((DWORD)(CS_HREDRAW | CS_VREDRAW), GetClassLongA(w, GCL_STYLE));
        EXPECT_EQ(0u, GetClassLongA(w, GCL_CBCLSEXTRA));
        EXPECT_EQ(0u, GetClassLongA(w, GCL_CBWNDEXTRA));
    }
    EXPECT_EQ(0, Close());
}

TEST_F(Player, ViewAlwaysFillsTheClientArea)
{
    Start("");
    EXPECT_EQ(Describe(ClientOnScreen(main)), Describe(ClientOnScreen(view)));
    struct { int w, h; } sizes[] = {{500, 400}, {200, 150}, {640, 120}, {130, 60}, {320, 247}};
    for (auto& s : sizes) {
        SetWindowPos(main, nullptr, 0, 0, s.w, s.h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Sync();
        RECT r;
        GetWindowRect(main, &r);
        EXPECT_EQ(s.w, r.right - r.left);
        EXPECT_EQ(Describe(ClientOnScreen(main)), Describe(ClientOnScreen(view))) << s.w << "x" << s.h;
    }
    for (WPARAM command : {SC_MAXIMIZE, SC_RESTORE}) {
        SendMessageTimeoutA(main, WM_SYSCOMMAND, command, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        Sync();
        EXPECT_EQ(Describe(ClientOnScreen(main)), Describe(ClientOnScreen(view))) << command;
    }
    EXPECT_EQ(0, Close());
}

TEST_F(Player, CaptionFromAnotherProcess)
{
    struct {
        const char* version;   // Wine's default when null
        const char* caption;
    } cases[] = {
        {nullptr, "Sales - Zyne Talkweave Player"},
        {"nt351", "Zyne Talkweave Player - Sales"},
        {"win95", "Sales - Zyne Talkweave Player"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.version ? c.version : "default");
        SetWindowsVersion("Vantrel.exe", c.version);
        Start("");
        // the title must lie in the player's own memory
        RemoteText title(player.Handle(), "Sales");
        ASSERT_NE(0, title.Address());
        DWORD_PTR result = 1;
        SendMessageTimeoutA(main, kSetTitle, 0, title.Address(), SMTO_ABORTIFHUNG, 5000, &result);
        EXPECT_EQ(0u, result);
        EXPECT_EQ(c.caption, WindowText(main));
        EXPECT_EQ(0, Close());
    }
}

TEST_F(Player, LongAndMissingTitles)
{
    Start("");
    SendMessageTimeoutA(main, kSetTitle, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);   // no title: no change
    EXPECT_EQ(kProduct, WindowText(main));

    std::string big(10 * 1024, 'x');
    RemoteText title(player.Handle(), big);
    SendMessageTimeoutA(main, kSetTitle, 0, title.Address(), SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_TRUE(player.Running());
    std::string caption = WindowText(main);
    EXPECT_EQ(259u, caption.size());
    EXPECT_EQ(std::string(259 - 24 - 3, 'x') + "... - " + kProduct, caption);
    EXPECT_EQ(0, Close());
}

TEST_F(Player, PaletteChangesByItselfLeaveTheViewAlone)
{
    Start("");
    CallCounter getDC(player.Handle(), player.Id(), "USER32.dll", "GetDC");
    CallCounter update(player.Handle(), player.Id(), "GDI32.dll", "UpdateColors");
    ASSERT_TRUE(getDC.Installed());
    ASSERT_TRUE(update.Installed());

    DWORD_PTR result = 1;
    SendMessageTimeoutA(main, WM_PALETTECHANGED, (WPARAM)main, 0, SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_EQ(0u, result);
    EXPECT_EQ(0u, getDC.Calls());
    EXPECT_EQ(0u, update.Calls());

    // another window's change updates the view's colours
    SendMessageTimeoutA(main, WM_PALETTECHANGED, (WPARAM)GetDesktopWindow(), 0, SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_EQ(0u, result);
    EXPECT_EQ(1u, getDC.Calls());
    EXPECT_EQ((DWORD)(UINT_PTR)view, getDC.LastArgument(0));
    EXPECT_EQ(1u, update.Calls());
    EXPECT_EQ(0, Close());
}

TEST_F(Player, FailedStartEndsQuietly)
{
    // the bench's build of the host, which can fake these faults
    Copy(Built("tests\\VantrelFaults.exe"), exe);
    for (const char* fault : {"ole-build", "ole-init", "class"}) {
        SCOPED_TRACE(fault);
        SetEnvironmentVariableA("VANTREL_TEST_FAULT", fault);
        DeleteFileA(trace.c_str());
        ASSERT_TRUE(player.Start(exe, "C:\\a.zyn", dir));
        HWND seen = nullptr;
        DWORD start = GetTickCount();
        while (player.Running() && !seen && GetTickCount() - start < 10000) {
            seen = FindWindowA(kMainClass, nullptr);
            Sleep(1);
        }
        EXPECT_EQ(nullptr, seen);
        EXPECT_EQ(0, player.Wait(10000));
        EXPECT_EQ(Lines{}, Trace());   // the engine was never created
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kExt));   // nor the type registered
    }
}

TEST_F(Player, RegistersTheDocumentTypeAtStart)
{
    Start("");
    std::string key = std::string(kProgId) + "\\";
    EXPECT_EQ(kProgId, RegString(HKEY_CLASSES_ROOT, kExt, nullptr));
    EXPECT_EQ("application/x-zyne", RegString(HKEY_CLASSES_ROOT, kExt, "Content Type"));
    EXPECT_EQ(kExt, RegString(HKEY_CLASSES_ROOT, kMime, "Extension"));
    EXPECT_EQ("Zyne Talkweave Presentation", RegString(HKEY_CLASSES_ROOT, kProgId, nullptr));
    // the program's own file, its second icon
    EXPECT_EQ(exe + " \"%1\"", RegString(HKEY_CLASSES_ROOT, key + "shell\\open\\command", nullptr));
    EXPECT_EQ(exe + ",1", RegString(HKEY_CLASSES_ROOT, key + "DefaultIcon", nullptr));
    EXPECT_EQ("&View Presentation", RegString(HKEY_CLASSES_ROOT, key + "shell\\QuickView", nullptr));
    EXPECT_EQ(exe + " \"%1\"", RegString(HKEY_CLASSES_ROOT, key + "shell\\QuickView\\command", nullptr));
    EXPECT_EQ(exe + " ^.zyn", RegString(HKEY_CURRENT_USER, kUserExtensions, "zyn"));
    char ini[300];
    GetProfileStringA("Extensions", "zyn", "", ini, sizeof ini);
    EXPECT_EQ(exe + " ^.zyn", std::string(ini));
    EXPECT_EQ(0, Close());

    // another start takes the type back from an unlisted program
    SetRegString(HKEY_CLASSES_ROOT, key + "DefaultIcon", nullptr, "C:\\OLD\\VIEWER.EXE,0");
    SetRegString(HKEY_CLASSES_ROOT, key + "shell\\open\\command", nullptr, "C:\\OLD\\VIEWER.EXE %1");
    Start("");
    EXPECT_EQ(exe + " \"%1\"", RegString(HKEY_CLASSES_ROOT, key + "shell\\open\\command", nullptr));
    EXPECT_EQ(0, Close());

    // but leaves it with a program of the owner list
    std::string owner = "C:\\ZYNE\\ZYNE195.EXE";
    SetRegString(HKEY_CLASSES_ROOT, key + "DefaultIcon", nullptr, owner + ",0");
    SetRegString(HKEY_CLASSES_ROOT, key + "shell\\open\\command", nullptr, owner + " \"%1\"");
    Start("");
    EXPECT_EQ(owner + " \"%1\"", RegString(HKEY_CLASSES_ROOT, key + "shell\\open\\command", nullptr));
    EXPECT_EQ(owner + ",0", RegString(HKEY_CLASSES_ROOT, key + "DefaultIcon", nullptr));
    EXPECT_EQ(exe + " \"%1\"", RegString(HKEY_CLASSES_ROOT, key + "shell\\QuickView\\command", nullptr));
    EXPECT_EQ(0, Close());
}

TEST_F(Player, ShowsTheSamplePresentation)
{
    std::string sample = dir + "\\SAMPLE.ZYN";
    Copy(Built("dist\\player\\SAMPLE.ZYN"), sample);
    Start(("\"" + sample + "\" /border=thin").c_str());
    Lines opened = {"106 E \"border\" \"thin\"", "103 \"" + sample + "\" E 0"};
    EXPECT_EQ(kStart + opened, Trace());
    // the engine reported the document title
    EXPECT_EQ(std::string("Getting Started - ") + kProduct, WindowText(main));

    std::string shots = dir + "\\shot.bmp";
    auto shot = [&]() {
        Sync();
        Sleep(100);   // let it paint
        SaveScreenshot(view, shots);
        return ReadFile(shots);
    };
    // waits until the view looks like `want` (or unlike it)
    auto becomes = [&](const std::string& want, bool same) {
        for (int i = 0; i < 20; ++i) {
            if ((shot() == want) == same)
                return true;
        }
        return false;
    };
    std::string first = shot();
    SendKey(view, VK_RIGHT);
    EXPECT_TRUE(becomes(first, false)) << "Right did not turn the slide";
    std::string second = shot();
    SendKey(view, VK_LEFT);
    EXPECT_TRUE(becomes(first, true)) << "Left did not go back";
    SendKey(view, VK_SPACE);
    EXPECT_TRUE(becomes(second, true)) << "Space did not turn the slide";
    SendKey(view, VK_BACK);
    EXPECT_TRUE(becomes(first, true)) << "Backspace did not go back";
    PostMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    PostMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    EXPECT_TRUE(becomes(second, true)) << "a click did not turn the slide";
    EXPECT_EQ(0, Close());
}

TEST_F(Player, BorderOption)
{
    // the view's corner pixel: black with a thin border, the page's white without
    auto corner = [&](const char* args) {
        Start(args);
        Sleep(200);
        HDC screen = GetDC(nullptr);
        RECT r = ClientOnScreen(view);
        COLORREF c = GetPixel(screen, r.left + 1, r.top + 1) & 0xFFFFFF;
        COLORREF edge = GetPixel(screen, r.left, r.top) & 0xFFFFFF;
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(0, Close());
        return std::make_pair(edge, c);
    };
    auto thin = corner("/border=thin");
    EXPECT_EQ(RGB(0, 0, 0), thin.first);
    EXPECT_EQ(RGB(255, 255, 255), thin.second);
    auto none = corner("");
    EXPECT_EQ(RGB(255, 255, 255), none.first);
}
