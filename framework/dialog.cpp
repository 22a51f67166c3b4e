#include "dialog.h"

#include <stdlib.h>

#include "app.h"

INT_PTR CALLBACK CDialog::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CDialog* self;
    if (msg == WM_INITDIALOG) {
        self = (CDialog*)lp;
        SetWindowLongPtrA(hwnd, DWLP_USER, (LONG_PTR)self);
        self->m_hwnd = hwnd;
        return self->OnInitDialog();
    }
    // messages before WM_INITDIALOG (WM_SETFONT) have no object yet
    self = (CDialog*)GetWindowLongPtrA(hwnd, DWLP_USER);
    if (!self)
        return FALSE;

    switch (msg) {
    case WM_COMMAND: {
        UINT id = LOWORD(wp);
        if (self->OnCommand(id, HIWORD(wp), (HWND)lp))
            return TRUE;
        if (id == IDOK) {
            self->OnOK();
            return TRUE;
        }
        if (id == IDCANCEL) {
            self->OnCancel();
            return TRUE;
        }
        return FALSE;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->m_hwnd = 0;
        self->OnNcDestroy();
        return FALSE;
    }
    bool handled = false;
    INT_PTR result = self->OnMessage(msg, wp, lp, handled);
    return handled ? result : FALSE;
}

CStr CDialog::ItemText(int id) const
{
    HWND item = Item(id);
    int n = item ? GetWindowTextLengthA(item) : 0;
    CStr text;
    char* buf = n > 0 ? (char*)malloc((size_t)n + 1) : 0;
    if (buf) {
        int got = GetWindowTextA(item, buf, n + 1);
        text.Set(buf, got > 0 ? (size_t)got : 0);
        free(buf);
    }
    return text;
}

void CDialog::FocusEdit(int id, int start, int end)
{
    HWND edit = Item(id);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, (WPARAM)start, (LPARAM)end);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

void CDialog::PlaceUpperCentre()
{
    RECT r;
    GetWindowRect(m_hwnd, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(m_hwnd, 0, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 3, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::PlaceCentre()
{
    RECT area;
    HWND owner = GetWindow(m_hwnd, GW_OWNER);
    if (!owner || !GetWindowRect(owner, &area))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT r;
    GetWindowRect(m_hwnd, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(m_hwnd, 0, area.left + (area.right - area.left - w) / 2, area.top + (area.bottom - area.top - h) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CModalDialog::DoModal(HWND parent)
{
    return DialogBoxParamA(CApp::Get()->Instance(), MAKEINTRESOURCEA(m_templateId), parent, Proc, (LPARAM)this);
}

bool CModelessDialog::Create(HWND parent)
{
    return CreateDialogParamA(CApp::Get()->Instance(), MAKEINTRESOURCEA(m_templateId), parent, Proc,
                              (LPARAM)this) != 0;
}
