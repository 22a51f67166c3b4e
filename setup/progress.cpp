#include "progress.h"

#include <string.h>

#include "app.h"
#include "barrules.h"
#include "quillset.h"

static const char kBarClass[] = "ZyneProgressBar";

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, 0, 0, 0, PM_NOREMOVE)) {
        // GetMessage removes WM_QUIT as well: a quit request ends here
        GetMessageA(&msg, 0, 0, 0);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool CProgressBar::Create(HWND parent, const RECT& r)
{
    HINSTANCE instance = CApp::Get()->Instance();
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance, kBarClass, &wc)) {
        wc.lpfnWndProc = Proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(0, IDC_ARROW);
        wc.lpszClassName = kBarClass;
        if (!RegisterClassA(&wc))
            return false;
    }
    m_hwnd = CreateWindowExA(0, kBarClass, "Progresso", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, parent, (HMENU)(INT_PTR)IDC_PROGRESS_BAR, instance, this);
    return m_hwnd != 0;
}

void CProgressBar::SetText(const char* text)
{
    m_text = text;
    BarChange change = ChangeBarText(text, m_percent);
    if (change.repaint != kBarKeep && m_hwnd)
        InvalidateRect(m_hwnd, 0, change.repaint == kBarPaintErased);
    m_percent = change.percent;
}

LRESULT CALLBACK CProgressBar::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)((CREATESTRUCTA*)lp)->lpCreateParams);
    CProgressBar* self = (CProgressBar*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect((HDC)wp, &r, SystemColourBrush(COLOR_WINDOW));
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (self)
            self->Paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_NCDESTROY:
        if (self)
            self->m_hwnd = 0;
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void CProgressBar::Paint(HDC dc)
{
    HWND parent = GetParent(m_hwnd);
    RECT client;
    GetClientRect(m_hwnd, &client);
    if (m_text.IsEmpty() || !parent || IsRectEmpty(&client) || m_percent < 0 || m_percent > 100)
        return;
    HFONT font = (HFONT)SendMessageA(parent, WM_GETFONT, 0, 0);
    if (!font)
        return;
    RECT filled = client;
    filled.right = MulDiv(client.right, (int)m_percent, 100);
    HBRUSH highlight = SystemColourBrush(COLOR_HIGHLIGHT);
    HGDIOBJ oldFont = SelectObject(dc, font);
    if (!oldFont || oldFont == HGDI_ERROR) {
        FillRect(dc, &filled, highlight);
        return;
    }
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, m_text, (int)m_text.Length(), &size);
    RECT text;
    text.left = (client.right - size.cx) / 2;
    text.top = (client.bottom - size.cy) / 2;
    text.right = text.left + size.cx;
    text.bottom = text.top + size.cy;
    // without an erase the last text may still show right of the fill
    if (filled.right < text.right)
        FillRect(dc, &text, SystemColourBrush(COLOR_WINDOW));
    FillRect(dc, &filled, highlight);
    COLORREF oldColour = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, m_text, (int)m_text.Length(), &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

CProgressDialog::CProgressDialog(bool& cancelFlag, const char* title, HWND parent)
    : CModelessDialog(IDD_PROGRESS), m_cancel(cancelFlag), m_title(title), m_barCreated(false)
{
    m_cancel = false;
    HWND main = CApp::Get()->MainWindow();
    if (main && IsWindow(main))
        EnableWindow(main, FALSE);
    if (!Create(parent) && main)
        EnableWindow(main, TRUE);
}

CProgressDialog::~CProgressDialog() { Destroy(); }

BOOL CProgressDialog::OnInitDialog()
{
    HWND status = Item(IDC_PROGRESS_STATUS);
    HFONT font = (HFONT)SendMessageA(status, WM_GETFONT, 0, 0);
    LOGFONTA lf;
    if (font && GetObjectA(font, sizeof lf, &lf) == sizeof lf) {
        lf.lfWeight = FW_BOLD;
        m_boldFont.Reset(CreateFontIndirectA(&lf));
        if (m_boldFont.IsValid())
            SendMessageA(status, WM_SETFONT, (WPARAM)m_boldFont.Get(), FALSE);
    }
    SetWindowTextA(status, "");
    if (m_title)
        SetWindowTextA(m_hwnd, m_title);

    RECT r;
    HWND frame = Item(IDC_PROGRESS_FRAME);
    GetWindowRect(frame, &r);
    MapWindowPoints(0, m_hwnd, (POINT*)&r, 2);
    InflateRect(&r, -1, -1);   // the frame's border stays visible around the bar
    m_barCreated = m_bar.Create(m_hwnd, r);

    PlaceCentre();
    return TRUE;
}

void CProgressDialog::OnNcDestroy()
{
    m_boldFont.Reset();
    HWND main = CApp::Get()->MainWindow();
    if (main && IsWindow(main)) {
        EnableWindow(main, TRUE);
        SetActiveWindow(main);
    }
}

CStr CProgressDialog::LineText(int id)
{
    CStr text;
    HWND item = Item(id);
    int n = item ? GetWindowTextLengthA(item) : 0;
    char* buf = n > 0 ? new char[n + 1] : 0;
    if (buf) {
        int got = GetWindowTextA(item, buf, n + 1);
        text.Set(buf, got > 0 ? (size_t)got : 0);
        delete[] buf;
    }
    return text;
}

// Each line is compared with the text it was last given, not read back from
// its control: a file's install would pay for two messages.
void CProgressDialog::ChangeLine(CStr& shown, int id, const char* text)
{
    if (strcmp(shown, text ? text : "") != 0) {
        shown = text;
        SetDlgItemTextA(m_hwnd, id, text);
    }
    PumpMessages();
}

void CProgressDialog::SetStatusText(const char* text) { ChangeLine(m_status, IDC_PROGRESS_STATUS, text); }

void CProgressDialog::SetFileText(const char* text)
{
    m_file = text;
    SetDlgItemTextA(m_hwnd, IDC_PROGRESS_FILE, text);
}

void CProgressDialog::ChangeFileText(const char* text) { ChangeLine(m_file, IDC_PROGRESS_FILE, text); }

CStr CProgressDialog::StatusText()
{
    PumpMessages();
    return LineText(IDC_PROGRESS_STATUS);
}

CStr CProgressDialog::FileText()
{
    PumpMessages();
    return LineText(IDC_PROGRESS_FILE);
}

void CProgressDialog::SetPercent(unsigned percent)
{
    if (m_barCreated && percent <= 100) {
        char text[16];
        wsprintfA(text, "%d%%", percent);
        m_bar.SetText(text);
    }
    PumpMessages();
}
