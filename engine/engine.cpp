// The stand-in player engine: shows a plain-text presentation (README.md) in
// the view window the host hands it, one slide at a time.
#include "engine.h"

#include "deck.h"
#include "owners.h"
#include "pathrules.h"
#include "text.h"

namespace {

const char kEngineProp[] = "ZyneEngine";
const DWORD kLargestDocument = 1024 * 1024;

struct CEngine {
    CEngine() : view(0), oldProc(0), current(0), thin(false), aspect(0), opened(false) {}

    HWND view;
    WNDPROC oldProc;
    CDeck deck;
    size_t current;
    bool thin;        // border=thin frames the slide
    int aspect;       // orientation: 0 freeform, 1 landscape (4:3), 2 portrait (3:4)
    bool opened;
    CStr problem;     // shown instead of a slide when a document did not open
};

// ---- trace: one line per call, appended to the file VANTREL_ENGINE_TRACE names:
// the ordinal, then the arguments; texts quoted, handles in hexadecimal.

class CCallTrace {
public:
    explicit CCallTrace(int ordinal) { Number(ordinal); }
    CCallTrace& Number(int n) { return Field("%d", (unsigned long)n); }
    CCallTrace& Hex(const void* p) { return Field("%08lX", (unsigned long)(UINT_PTR)p); }
    CCallTrace& Text(const char* text)
    {
        Separate();
        m_line.AppendChar('"');
        m_line.Append(text ? text : "");
        m_line.AppendChar('"');
        return *this;
    }
    // what the call returns
    CCallTrace& Returns(const void* p)
    {
        m_line.Append(" =>");
        return Hex(p);
    }
    void Write();

private:
    void Separate()
    {
        if (!m_line.IsEmpty())
            m_line.AppendChar(' ');
    }
    CCallTrace& Field(const char* format, unsigned long value)
    {
        char buf[16];
        wsprintfA(buf, format, value);
        Separate();
        m_line.Append(buf);
        return *this;
    }

    CStr m_line;
};

void CCallTrace::Write()
{
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("VANTREL_ENGINE_TRACE", path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return;
    // for make bench: when the call came, on the performance counter the
    // bench reads too
    if (GetEnvironmentVariableA("VANTREL_ENGINE_TRACE_CLOCK", 0, 0)) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        char stamp[24];
        wsprintfA(stamp, " @%08lX%08lX", (unsigned long)now.HighPart, (unsigned long)now.LowPart);
        m_line.Append(stamp);
    }
    if (!m_line.Append("\r\n"))
        return;
    CHandle f(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, 0));
    if (!f.IsValid())
        return;
    SetFilePointer(f.Get(), 0, 0, FILE_END);
    DWORD done;
    WriteFile(f.Get(), m_line.c_str(), (DWORD)m_line.Length(), &done, 0);
}

// ---- drawing

HFONT MakeFont(int height, int weight)
{
    return CreateFontA(-height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
}

// The slide's area within the view: all of it, or the largest 4:3 or 3:4
// rectangle in its middle.
RECT SlideArea(const CEngine& e, const RECT& client)
{
    RECT r = client;
    int w = client.right, h = client.bottom;
    if (e.aspect == 0 || w <= 0 || h <= 0)
        return r;
    int aw = e.aspect == 1 ? 4 : 3, ah = e.aspect == 1 ? 3 : 4;
    if (w * ah > h * aw) {
        int fit = h * aw / ah;
        r.left = (w - fit) / 2;
        r.right = r.left + fit;
    } else {
        int fit = w * ah / aw;
        r.top = (h - fit) / 2;
        r.bottom = r.top + fit;
    }
    return r;
}

void Paint(CEngine& e, HWND view)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(view, &ps);
    RECT client;
    GetClientRect(view, &client);
    FillRect(dc, &client, SystemColourBrush(COLOR_APPWORKSPACE));
    RECT area = SlideArea(e, client);
    FillRect(dc, &area, (HBRUSH)GetStockObject(WHITE_BRUSH));
    if (e.thin)
        FrameRect(dc, &area, (HBRUSH)GetStockObject(BLACK_BRUSH));

    int h = area.bottom - area.top;
    int margin = h / 16 + 4;
    RECT text = area;
    InflateRect(&text, -margin, -margin);
    SetBkMode(dc, TRANSPARENT);
    CGdiObject<HFONT> heading(MakeFont(h / 12 + 6, FW_BOLD));
    CGdiObject<HFONT> body(MakeFont(h / 24 + 6, FW_NORMAL));
    HGDIOBJ old = SelectObject(dc, heading.Get());
    if (e.deck.Count()) {
        SetTextColor(dc, RGB(0, 0, 96));
        RECT r = text;
        DrawTextA(dc, e.deck.Heading(e.current), -1, &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
        r.left = text.left;
        r.right = text.right;
        DrawTextA(dc, e.deck.Heading(e.current), -1, &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, body.Get());
        SetTextColor(dc, RGB(0, 0, 0));
        RECT b = text;
        b.top = r.bottom + margin / 2;
        DrawTextA(dc, e.deck.Body(e.current), -1, &b, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        char page[32];
        wsprintfA(page, "%u / %u", (unsigned)(e.current + 1), (unsigned)e.deck.Count());
        SetTextColor(dc, RGB(128, 128, 128));
        RECT p = area;
        InflateRect(&p, -4, -2);
        DrawTextA(dc, page, -1, &p, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    } else {
        SelectObject(dc, body.Get());
        SetTextColor(dc, RGB(128, 128, 128));
        const char* say = !e.problem.IsEmpty() ? e.problem.c_str()
                          : e.opened           ? "This presentation has no slides."
                                               : "No presentation";
        RECT r = text;
        DrawTextA(dc, say, -1, &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
        int lift = (text.bottom - r.bottom) / 2;
        OffsetRect(&r, 0, lift > 0 ? lift : 0);
        r.left = text.left;
        r.right = text.right;
        DrawTextA(dc, say, -1, &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    }
    SelectObject(dc, old);
    EndPaint(view, &ps);
}

void Turn(CEngine& e, int by)
{
    size_t to = e.current;
    if (by > 0 && e.current + 1 < e.deck.Count())
        ++to;
    else if (by < 0 && e.current > 0)
        --to;
    if (to != e.current) {
        e.current = to;
        InvalidateRect(e.view, 0, TRUE);
    }
}

void Unhook(CEngine& e)
{
    if (!e.view)
        return;
    if (e.oldProc)
        SetWindowLongPtrA(e.view, GWLP_WNDPROC, (LONG_PTR)e.oldProc);
    RemovePropA(e.view, kEngineProp);
    e.view = 0;
    e.oldProc = 0;
}

LRESULT CALLBACK ViewProc(HWND view, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CEngine* e = (CEngine*)GetPropA(view, kEngineProp);
    if (!e)
        return DefWindowProcA(view, msg, wParam, lParam);
    WNDPROC next = e->oldProc;
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;   // WM_PAINT covers every pixel
    case WM_PAINT:
        Paint(*e, view);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(view);
        Turn(*e, 1);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE || wParam == VK_RIGHT)
            Turn(*e, 1);
        else if (wParam == VK_LEFT || wParam == VK_BACK)
            Turn(*e, -1);
        return 0;
    case WM_NCDESTROY:
        // destroyed without being detached first
        Unhook(*e);
        break;
    }
    return CallWindowProcA(next, view, msg, wParam, lParam);
}

// Reads and shows a document; on failure says why in the view.
void Load(CEngine& e, const char* path)
{
    e.current = 0;
    e.opened = false;
    e.problem.Clear();
    e.deck.Read("", 0);
    CHandle f(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0));
    if (!f.IsValid()) {
        e.problem = "Cannot open the presentation ";
        e.problem.Append(path);
        return;
    }
    DWORD size = GetFileSize(f.Get(), 0);
    char* text = size <= kLargestDocument ? new char[size + 1] : 0;
    DWORD got = 0;
    bool ok = text && ReadFile(f.Get(), text, size, &got, 0) && got == size && e.deck.Read(text, size);
    delete[] text;
    if (!ok) {
        e.problem = "Cannot read the presentation ";
        e.problem.Append(path);
        return;
    }
    e.opened = true;
    CStr title = e.deck.Title();
    if (title.IsEmpty())
        title = FileTitle(AfterLastBackslash(path));
    if (e.view && GetParent(e.view))
        SendMessageA(GetParent(e.view), WM_ENGINE_TITLE, 0, (LPARAM)title.c_str());
}

}  // namespace

extern "C" {

// The library's entry point: it links no C runtime, has no globals to
// construct and nothing to set up.
BOOL WINAPI EngineEntry(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

HENGINE WINAPI EngineCreate(int mode)
{
    CEngine* e = new CEngine;
    CCallTrace(101).Number(mode).Returns(e).Write();
    return e;
}

void WINAPI EngineSetOption(HENGINE engine, const char* name, const char* value)
{
    CCallTrace(106).Hex(engine).Text(name).Text(value).Write();
    CEngine* e = (CEngine*)engine;
    if (!e || !name || !value)
        return;
    if (EqualNoCase(name, "border")) {
        if (EqualNoCase(value, "thin"))
            e->thin = true;
        else if (EqualNoCase(value, "none"))
            e->thin = false;
    } else if (EqualNoCase(name, "orientation")) {
        if (EqualNoCase(value, "freeform"))
            e->aspect = 0;
        else if (EqualNoCase(value, "landscape"))
            e->aspect = 1;
        else if (EqualNoCase(value, "portrait"))
            e->aspect = 2;
    }
    // dithering and other names: accepted, nothing to do on a true-colour screen
    if (e->view)
        InvalidateRect(e->view, 0, TRUE);
}

void WINAPI EngineAttach(HWND view, HENGINE engine, int mode)
{
    CCallTrace(102).Hex(view).Hex(engine).Number(mode).Write();
    CEngine* e = (CEngine*)engine;
    if (!e || !IsWindow(view))
        return;
    Unhook(*e);
    if (!SetPropA(view, kEngineProp, e))
        return;
    e->view = view;
    e->oldProc = (WNDPROC)SetWindowLongPtrA(view, GWLP_WNDPROC, (LONG_PTR)ViewProc);
    InvalidateRect(view, 0, TRUE);
}

void WINAPI EngineOpen(const char* path, HENGINE engine, int mode)
{
    CCallTrace(103).Text(path).Hex(engine).Number(mode).Write();
    CEngine* e = (CEngine*)engine;
    if (!e || !path)
        return;
    Load(*e, path);
    if (e->view)
        InvalidateRect(e->view, 0, TRUE);
}

void WINAPI EngineDetach(HWND view, HENGINE engine)
{
    CCallTrace(104).Hex(view).Hex(engine).Write();
    CEngine* e = (CEngine*)engine;
    if (e && e->view == view)
        Unhook(*e);
}

void WINAPI EngineRelease(HENGINE engine)
{
    CCallTrace(105).Hex(engine).Write();
    CEngine* e = (CEngine*)engine;
    if (e)
        Unhook(*e);
    delete e;
}

}  // extern "C"
