#include "driver.h"

#include <stdio.h>

#include <algorithm>

namespace bench {

Process::~Process()
{
    Kill();
}

static bool Create(const std::string& exe, const std::string& args, const std::string& folder, const char* env,
                   DWORD flags, PROCESS_INFORMATION& pi)
{
    std::string cmd = "\"" + exe + "\"";
    if (!args.empty())
        cmd += " " + args;
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back(0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    // Wine now and then refuses a start while the machine is busy: try again
    // a little later, and say why when it never starts
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, flags, (void*)env,
                           folder.empty() ? nullptr : folder.c_str(), &si, &pi))
            break;
        if (attempt == 3) {
            fprintf(stderr, "%s does not start: error %lu\n", exe.c_str(), GetLastError());
            return false;
        }
        Sleep(500);
    }
    CloseHandle(pi.hThread);
    return true;
}

bool Process::Start(const std::string& exe, const std::string& args, const std::string& folder, const char* env)
{
    Kill();
    PROCESS_INFORMATION pi = {};
    if (!Create(exe, args, folder, env, 0, pi))
        return false;
    m_process = pi.hProcess;
    m_id = pi.dwProcessId;
    return true;
}

bool Process::StartPaused(const std::string& exe, const std::string& args, const std::string& folder,
                          const std::function<void()>& atStart)
{
    Kill();
    // As its debugger: the loader's breakpoint comes after the imports are
    // bound and before the program's entry point.
    PROCESS_INFORMATION pi = {};
    if (!Create(exe, args, folder, nullptr, DEBUG_ONLY_THIS_PROCESS, pi))
        return false;
    m_process = pi.hProcess;
    m_id = pi.dwProcessId;
    DebugSetProcessKillOnExit(FALSE);
    bool held = false, ended = false;
    DEBUG_EVENT ev;
    while (!held && !ended && WaitForDebugEvent(&ev, 10000)) {
        DWORD status = DBG_CONTINUE;
        switch (ev.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            if (ev.u.CreateProcessInfo.hFile)
                CloseHandle(ev.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (ev.u.LoadDll.hFile)
                CloseHandle(ev.u.LoadDll.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT:
            if (ev.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT) {
                atStart();
                held = true;
            } else {
                status = DBG_EXCEPTION_NOT_HANDLED;
            }
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            ended = true;
            break;
        }
        ContinueDebugEvent(ev.dwProcessId, ev.dwThreadId, status);
    }
    // declared for XP and later only; this bench builds for an older target
    typedef BOOL(WINAPI * StopProc)(DWORD);
    auto stop = (StopProc)(void (*)(void))GetProcAddress(GetModuleHandleA("kernel32.dll"), "DebugActiveProcessStop");
    if (stop)
        stop(m_id);
    return held;
}

bool Process::Running() const { return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT; }

long Process::Wait(DWORD ms)
{
    if (!m_process)
        return -1;
    if (WaitForSingleObject(m_process, ms) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    return (long)code;
}

void Process::Kill()
{
    if (!m_process)
        return;
    if (Running()) {
        TerminateProcess(m_process, 99);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
    m_process = nullptr;
    m_id = 0;
}

const char* IconName(Icon icon)
{
    switch (icon) {
    case Icon::None: return "none";
    case Icon::Stop: return "stop";
    case Icon::Exclamation: return "exclamation";
    case Icon::Question: return "question";
    case Icon::Information: return "information";
    default: return "unknown";
    }
}

std::string WindowText(HWND hwnd)
{
    char buf[8192] = "";
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, (LPARAM)buf, SMTO_ABORTIFHUNG, 2000, nullptr);
    return buf;
}

std::string ItemText(HWND dlg, int id)
{
    HWND item = GetDlgItem(dlg, id);
    return item ? WindowText(item) : std::string();
}

std::string ClassOf(HWND hwnd)
{
    char buf[256] = "";
    GetClassNameA(hwnd, buf, sizeof buf);
    return buf;
}

static bool OfProcess(HWND hwnd, DWORD pid)
{
    DWORD p = 0;
    GetWindowThreadProcessId(hwnd, &p);
    return p == pid;
}

HWND WaitForWindow(DWORD pid, const char* className, DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        HWND h = nullptr;
        while ((h = FindWindowExA(nullptr, h, className, nullptr)))
            if (OfProcess(h, pid) && IsWindowVisible(h))
                return h;
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

HWND WaitForDialog(DWORD pid, DWORD ms, const char* caption)
{
    DWORD start = GetTickCount();
    do {
        HWND h = nullptr;
        while ((h = FindWindowExA(nullptr, h, "#32770", nullptr)))
            if (OfProcess(h, pid) && IsWindowVisible(h) && (!caption || WindowText(h) == caption))
                return h;
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

bool WaitGone(HWND hwnd, DWORD ms)
{
    DWORD start = GetTickCount();
    while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(20);
    }
    return true;
}

Box ReadBox(HWND box)
{
    Box b;
    b.hwnd = box;
    b.caption = WindowText(box);
    b.text = ItemText(box, 0xFFFF);
    struct Found { int id; int x; bool def; };
    std::vector<Found> found;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c) || ClassOf(c) != "Button")
            continue;
        RECT r;
        GetWindowRect(c, &r);
        LONG style = GetWindowLongA(c, GWL_STYLE);
        found.push_back({GetDlgCtrlID(c), r.left, (style & 0x0F) == BS_DEFPUSHBUTTON});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& z) { return a.x < z.x; });
    for (auto& f : found) {
        b.buttons.push_back(f.id);
        if (f.def)
            b.defaultButton = f.id;
    }
    b.icon = IconOf(box);
    return b;
}

Outcome NextBoxOrExit(Process& p, DWORD ms)
{
    Outcome o;
    DWORD start = GetTickCount();
    do {
        HWND h = WaitForDialog(p.Id(), 50);
        if (h) {
            Sleep(50);   // let it finish painting
            o.shown = true;
            o.box = ReadBox(h);
            return o;
        }
        long code = p.Wait(0);
        if (code >= 0) {
            o.exitCode = code;
            return o;
        }
    } while (GetTickCount() - start < ms);
    return o;
}

bool ItemEnabled(HWND dlg, int id) { HWND c = GetDlgItem(dlg, id); return c && IsWindowEnabled(c); }
bool ItemVisible(HWND dlg, int id) { HWND c = GetDlgItem(dlg, id); return c && IsWindowVisible(c); }

bool ItemChecked(HWND dlg, int id)
{
    HWND c = GetDlgItem(dlg, id);
    DWORD_PTR state = 0;
    return c && SendMessageTimeoutA(c, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state) && state == BST_CHECKED;
}

bool ItemReadOnly(HWND dlg, int id)
{
    HWND c = GetDlgItem(dlg, id);
    return c && (GetWindowLongA(c, GWL_STYLE) & ES_READONLY);
}

bool Press(HWND dlg, int id)
{
    HWND c = GetDlgItem(dlg, id);
    if (!c || !IsWindowEnabled(c))
        return false;
    // BM_CLICK needs the button's own thread; do not wait on the modal loop it starts
    return PostMessageA(c, BM_CLICK, 0, 0) != 0;
}

void SendKey(HWND hwnd, UINT vk)
{
    UINT scan = MapVirtualKeyA(vk, 0);
    PostMessageA(hwnd, WM_KEYDOWN, vk, 1 | (scan << 16));
    UINT ch = MapVirtualKeyA(vk, 2);
    if (ch)
        PostMessageA(hwnd, WM_CHAR, ch, 1 | (scan << 16));
    PostMessageA(hwnd, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000);
}

DWORD_PTR Ask(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result);
    return result;
}

HWND FocusOf(HWND hwnd)
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &gui);
    return gui.hwndFocus;
}

bool Eventually(const std::function<bool()>& done, DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(20))
        if (done())
            return true;
    return done();
}

namespace {

// A 32-bit top-down bitmap selected into a memory DC.
class Dib {
public:
    Dib(int w, int h) : m_w(w), m_h(h)
    {
        HDC screen = GetDC(nullptr);
        m_dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        m_bmp = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_old = SelectObject(m_dc, m_bmp);
    }
    ~Dib()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bmp);
        DeleteDC(m_dc);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    HDC Dc() const { return m_dc; }
    std::vector<DWORD> Pixels() const
    {
        GdiFlush();
        return std::vector<DWORD>((DWORD*)m_bits, (DWORD*)m_bits + m_w * m_h);
    }

private:
    int m_w, m_h;
    HDC m_dc;
    HBITMAP m_bmp;
    HGDIOBJ m_old;
    void* m_bits = nullptr;
};

}  // namespace

// The window's pixels from the screen, as 32-bit rows top-down.
static std::vector<DWORD> Capture(const RECT& r)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return {};
    Dib dib(w, h);
    HDC screen = GetDC(nullptr);
    BitBlt(dib.Dc(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return dib.Pixels();
}

// The icon drawn at (0, 0) over a background colour, as Capture gives it.
static std::vector<DWORD> Draw(HICON icon, int w, int h, COLORREF background)
{
    Dib dib(w, h);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all = {0, 0, w, h};
    FillRect(dib.Dc(), &all, brush);
    DeleteObject(brush);
    DrawIconEx(dib.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    return dib.Pixels();
}

static HWND IconControl(HWND box)
{
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "Static" && IsWindowVisible(c) && (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return c;
    return nullptr;
}

Icon IconOf(HWND box)
{
    HWND control = IconControl(box);
    if (!control)
        return Icon::None;
    RECT r, b;
    GetWindowRect(control, &r);
    GetWindowRect(box, &b);
    // a box wider than the screen (a long unbroken text) starts left of it
    if (r.left < 0 || r.top < 0) {
        SetWindowPos(box, nullptr, b.left - std::min<int>(r.left, 0), b.top - std::min<int>(r.top, 0), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Sleep(100);
        GetWindowRect(control, &r);
    }
    int w = std::min<int>(r.right - r.left, GetSystemMetrics(SM_CXICON));
    int h = std::min<int>(r.bottom - r.top, GetSystemMetrics(SM_CYICON));
    r.right = r.left + w;
    r.bottom = r.top + h;
    struct { Icon kind; LPCSTR id; } standard[] = {
        {Icon::Stop, IDI_HAND}, {Icon::Exclamation, IDI_EXCLAMATION},
        {Icon::Question, IDI_QUESTION}, {Icon::Information, IDI_ASTERISK},
    };
    // a freshly shown box may still be painting: look a few times
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::vector<DWORD> shot = Capture(r);
        if (shot.empty())
            return Icon::Unknown;
        DWORD corner = shot[0] & 0xFFFFFF;
        COLORREF background = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
        for (auto& s : standard) {
            std::vector<DWORD> want = Draw(LoadIconA(nullptr, s.id), w, h, background);
            size_t differ = 0;
            for (size_t i = 0; i < shot.size(); ++i)
                differ += (shot[i] & 0xFFFFFF) != (want[i] & 0xFFFFFF);
            if (differ * 50 < shot.size())   // under 2 % of the pixels
                return s.kind;
        }
        Sleep(50);
    }
    return Icon::Unknown;
}

bool SaveScreenshot(HWND hwnd, const std::string& bmpPath)
{
    // a window just shown or changed by a posted message may not have painted yet
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(100);
    RECT r;
    if (!GetWindowRect(hwnd, &r))
        return false;
    std::vector<DWORD> px = Capture(r);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (px.empty())
        return false;
    int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;   // bottom-up
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = stride * h;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::string out((const char*)&fh, sizeof fh);
    out.append((const char*)&ih, sizeof ih);
    std::string row(stride, '\0');
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            DWORD p = px[y * w + x];
            row[x * 3] = (char)(p & 0xFF);
            row[x * 3 + 1] = (char)((p >> 8) & 0xFF);
            row[x * 3 + 2] = (char)((p >> 16) & 0xFF);
        }
        out += row;
    }
    HANDLE f = CreateFileA(bmpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    BOOL ok = WriteFile(f, out.data(), (DWORD)out.size(), &done, nullptr);
    CloseHandle(f);
    return ok && done == out.size();
}

}  // namespace bench
