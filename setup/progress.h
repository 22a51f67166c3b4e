// The progress display of an install or uninstall: a bold status line, a file
// line, a percentage bar and Cancel. Setup has no message loop of its own; the
// steps call PumpMessages to keep it alive.
#pragma once
#include <windows.h>

#include "dialog.h"
#include "owners.h"
#include "text.h"

// Runs every waiting message of the thread, a quit request included, and
// returns when the queue is empty. No dialog keyboard handling.
void PumpMessages();

// The child window that draws the percentage.
class CProgressBar {
public:
    CProgressBar() : m_hwnd(0), m_percent(0) {}

    // A visible child "Progresso" with id 101 covering `r`; false when it
    // could not be made.
    bool Create(HWND parent, const RECT& r);
    // Keeps the text; its leading number becomes the percentage. The window
    // is repainted when that changed, erased first only when it fell (or the
    // text is empty or reads 0).
    void SetText(const char* text);

    HWND Handle() const { return m_hwnd; }
    const char* Text() const { return m_text; }
    long Percent() const { return m_percent; }

private:
    CProgressBar(const CProgressBar&);
    void operator=(const CProgressBar&);

    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    void Paint(HDC dc);

    HWND m_hwnd;
    CStr m_text;
    long m_percent;
};

class CProgressDialog : public CModelessDialog {
public:
    // Clears cancelFlag and shows the dialog (the application's main window
    // is disabled meanwhile). Cancel and the close box set the flag and leave
    // the dialog open. The window may go before the object (Handle() is then
    // null); deleting the object destroys a window that is still there.
    CProgressDialog(bool& cancelFlag, const char* title = 0, HWND parent = 0);
    ~CProgressDialog();

    // The status line, set only when the text differs (case counts); pumps
    // messages either way.
    void SetStatusText(const char* text);
    // The file line, set as given; no pump.
    void SetFileText(const char* text);
    // The file line as the install steps change it: set when it differs (case
    // counts), then one pump either way.
    void ChangeFileText(const char* text);
    // Both lines as shown, read after a pump.
    CStr StatusText();
    CStr FileText();
    // The bar shows "<percent>%" when it exists and percent <= 100; pumps
    // messages either way.
    void SetPercent(unsigned percent);

    CProgressBar& Bar() { return m_bar; }
    bool BarCreated() const { return m_barCreated; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override { m_cancel = true; }
    void OnNcDestroy() override;

private:
    CStr LineText(int id);
    // Sets the line when text differs from what it was last given, then pumps.
    void ChangeLine(CStr& shown, int id, const char* text);

    CStr m_status, m_file;   // the two lines as last set
    bool& m_cancel;
    const char* m_title;
    bool m_barCreated;
    CProgressBar m_bar;
    CGdiObject<HFONT> m_boldFont;
};
