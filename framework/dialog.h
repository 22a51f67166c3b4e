// Dialog base: one dialog procedure, virtual handlers, results in plain members.
#pragma once
#include <windows.h>

#include "text.h"

class CDialog {
public:
    explicit CDialog(UINT templateId) : m_hwnd(0), m_templateId(templateId) {}
    virtual ~CDialog() {}

    HWND Handle() const { return m_hwnd; }
    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }
    UINT TemplateId() const { return m_templateId; }
    // The whole text of a control (empty when it is missing).
    CStr ItemText(int id) const;
    // Puts the focus into edit `id` with [start, end) selected (end -1: to
    // the end of the text) and the caret scrolled into view.
    void FocusEdit(int id, int start = 0, int end = -1);

protected:
    // WM_INITDIALOG. Return TRUE to let the system put the focus on the first
    // control, FALSE when the handler has set the focus itself.
    virtual BOOL OnInitDialog() { return TRUE; }
    // WM_COMMAND before the OK/Cancel defaults; true when handled.
    virtual bool OnCommand(UINT /*id*/, UINT /*code*/, HWND /*control*/) { return false; }
    // Any other message; set handled to answer it with the result.
    virtual INT_PTR OnMessage(UINT /*msg*/, WPARAM, LPARAM, bool& /*handled*/) { return 0; }
    virtual void OnOK() = 0;
    virtual void OnCancel() = 0;
    // The window is gone (WM_NCDESTROY); the object stays with its owner.
    virtual void OnNcDestroy() {}

    // Moves the window to ((screen - window) / 2, (screen - window) / 3).
    void PlaceUpperCentre();
    // Centres the window on its owner, or on the work area without one.
    void PlaceCentre();

    HWND m_hwnd;
    UINT m_templateId;

    static INT_PTR CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);

private:
    CDialog(const CDialog&);
    void operator=(const CDialog&);
};

class CModalDialog : public CDialog {
public:
    explicit CModalDialog(UINT templateId) : CDialog(templateId) {}
    // IDOK, IDCANCEL or what End was given; -1 when the dialog could not be made.
    INT_PTR DoModal(HWND parent = 0);
    void End(INT_PTR result) { EndDialog(m_hwnd, result); }

protected:
    void OnOK() override { End(IDOK); }
    void OnCancel() override { End(IDCANCEL); }
};

class CModelessDialog : public CDialog {
public:
    explicit CModelessDialog(UINT templateId) : CDialog(templateId) {}
    bool Create(HWND parent = 0);
    void Destroy() { if (m_hwnd) DestroyWindow(m_hwnd); }

protected:
    void OnOK() override { Destroy(); }
    void OnCancel() override { Destroy(); }
};
