// The player host: opens a presentation in a window and drives the engine.
#include <windows.h>
#include <ole2.h>

#include "app.h"
#include "caption.h"
#include "cmdline.h"
#include "doctype.h"
#include "engine.h"
#include "look3d.h"
#include "owners.h"
#include "syslib.h"
#include "vantrel.h"

namespace {

const char kMainClass[] = "Zyne Talkweave Player_MAIN";
const char kViewClass[] = "Zyne Talkweave Player_VIEW";
const char kProduct[] = "Zyne Talkweave Player";
const UINT_PTR kEngineTimer = 100;
const WORD kOleMajorBuild = 23;

class CPlayerApp : public CApp {
public:
    CPlayerApp() : m_engineCreated(false), m_main(0), m_view(0), m_engine(0) {}

    bool InitInstance() override;
    int ExitInstance(int code) override;

private:
    bool RegisterClasses();
    static LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    C3dLook m_look3d;
    COleStart m_ole;
    bool m_engineCreated;
    HWND m_main;
    HWND m_view;
    HENGINE m_engine;
};

CPlayerApp theApp;

// Hands every command-line option to the engine as it is met.
class CEngineOptions : public COptionSink {
public:
    explicit CEngineOptions(HENGINE engine) : m_engine(engine) {}
    void OnOption(const char* name, const char* value) override { EngineSetOption(m_engine, name, value); }

private:
    HENGINE m_engine;
};

#ifdef VANTREL_BENCH_FAULTS
// The bench's own build only (never the shipped program): VANTREL_TEST_FAULT
// makes one start-up step fail for real, so the bench can watch the quiet
// end: "ole-build" (the OLE library reads as major build 22), "ole-init" (the
// thread is already in the multithreaded apartment, so OLE cannot start),
// "class" (the view class name is already taken).
bool TestFault(const char* which)
{
    char fault[16];
    DWORD n = GetEnvironmentVariableA("VANTREL_TEST_FAULT", fault, sizeof fault);
    return n > 0 && n < sizeof fault && lstrcmpiA(fault, which) == 0;
}
#else
inline bool TestFault(const char*) { return false; }
#endif

}  // namespace

bool CPlayerApp::RegisterClasses()
{
    if (TestFault("class")) {
        WNDCLASSA taken = {};
        taken.lpfnWndProc = DefWindowProcA;
        taken.hInstance = Instance();
        taken.lpszClassName = kViewClass;
        RegisterClassA(&taken);
    }
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainProc;
    wc.hInstance = Instance();
    wc.hIcon = LoadIconA(Instance(), MAKEINTRESOURCEA(IDI_PLAYER));
    wc.hCursor = LoadCursorA(0, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainClass;
    if (!RegisterClassA(&wc))
        return false;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = kViewClass;
    return RegisterClassA(&wc) != 0;
}

bool CPlayerApp::InitInstance()
{
    DWORD build = CoBuildVersion();
    if (TestFault("ole-build"))
        build = MAKELONG(LOWORD(build), kOleMajorBuild - 1);
    if (HIWORD(build) != kOleMajorBuild)
        return false;
    if (TestFault("ole-init")) {
        // looked up: OLE without DCOM (plain Windows 95) has no CoInitializeEx
        HRESULT(WINAPI * coInitializeEx)(void*, DWORD);
        BindFunction(GetModuleHandleA("OLE32.DLL"), "CoInitializeEx", coInitializeEx);
        if (coInitializeEx)
            coInitializeEx(0, COINIT_MULTITHREADED);
    }
    if (!m_ole.Start())
        return false;

    m_look3d.Enable(Instance());

    if (!RegisterClasses())
        return false;

    m_main = 0;
    m_view = 0;
    // at every start, as this program file: the type may have been taken over meanwhile
    RegisterDocumentType(Instance(), 0, IDS_EXTENSION, IDS_PROGID, IDS_DESCRIPTION, IDS_MIMETYPE, IDS_OWNERS,
                         IDS_QUICKVIEW);

    HWND main = CreateWindowExA(0, kMainClass, kProduct,
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                CW_USEDEFAULT, CW_USEDEFAULT, 320, 247, 0, 0, Instance(), 0);
    if (!main)
        return false;
    SetWindowLongA(main, GWL_EXSTYLE, GetWindowLongA(main, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE);
    SetMainWindow(main);
    ShowWindow(main, ShowCommand());
    UpdateWindow(main);

    m_engine = EngineCreate(0);
    m_engineCreated = true;
    EngineSetOption(m_engine, "border", "none");
    EngineSetOption(m_engine, "orientation", "freeform");
    EngineSetOption(m_engine, "dithering", "off");
    EngineAttach(m_view, m_engine, 1);

    CEngineOptions options(m_engine);
    CStr document;
    if (ReadCommandLine(CommandLine(), options, document))
        EngineOpen(document, m_engine, 0);
    return true;
}

int CPlayerApp::ExitInstance(int code)
{
    if (m_engineCreated)
        EngineRelease(m_engine);
    m_ole.Stop();
    m_look3d.Disable(Instance());
    return code;
}

LRESULT CALLBACK CPlayerApp::MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return theApp.OnMessage(hwnd, msg, wParam, lParam);
}

LRESULT CPlayerApp::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        LRESULT result = DefWindowProcA(hwnd, msg, wParam, lParam);
        if (result == -1)
            return result;
        m_main = hwnd;
        m_view = CreateWindowExA(0, kViewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                 0, 0, 0, 0, hwnd, 0, Instance(), 0);
        // the engine cannot do without its view: no view, no window
        return m_view ? result : -1;
    }
    case WM_DESTROY:
        KillTimer(hwnd, kEngineTimer);
        PostQuitMessage(0);
        if (m_engineCreated)
            EngineDetach(m_view, m_engine);
        return 0;
    case WM_SIZE: {
        LRESULT result = DefWindowProcA(hwnd, msg, wParam, lParam);
        RECT r;
        if (m_view && GetClientRect(hwnd, &r))
            SetWindowPos(m_view, 0, 0, 0, r.right, r.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        return result;
    }
    case WM_ACTIVATEAPP: {
        LRESULT result = DefWindowProcA(hwnd, msg, wParam, lParam);
        if (wParam) {
            SetActiveWindow(hwnd);
            if (m_view)
                SetFocus(m_view);
        }
        return result;
    }
    case WM_PALETTECHANGED:
        if ((HWND)wParam != hwnd && m_view) {
            HDC dc = GetDC(m_view);
            if (dc) {
                UpdateColors(dc);
                ReleaseDC(m_view, dc);
            }
        }
        return 0;
    case WM_COMMAND:
        return 0;
    case WM_ENGINE_TITLE:
        // from any sender; lParam points to the title in this process
        if (lParam) {
            DWORD version = GetVersion();
            char caption[260];
            MakeCaption(caption, sizeof caption, kProduct, (const char*)lParam,
                        TitleFirst(LOBYTE(LOWORD(version)), HIBYTE(LOWORD(version))));
            SendMessageA(hwnd, WM_SETTEXT, 0, (LPARAM)caption);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
