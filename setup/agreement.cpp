#include "agreement.h"

#include "app.h"
#include "quillset.h"
#include "text.h"

CAgreementDialog::CAgreementDialog() : CModalDialog(IDD_AGREEMENT) {}

BOOL CAgreementDialog::OnInitDialog()
{
    HWND edit = Item(IDC_AGREEMENT_TEXT);
    HINSTANCE instance = CApp::Get()->Instance();
    HRSRC res = FindResourceA(instance, MAKEINTRESOURCEA(IDR_AGREEMENT), "FILE");
    const char* bytes = res ? (const char*)LockResource(LoadResource(instance, res)) : 0;
    if (bytes) {
        // the text ends in a zero; do not rely on it to stay inside the resource
        DWORD size = SizeofResource(instance, res);
        DWORD n = 0;
        while (n < size && bytes[n])
            ++n;
        SetWindowTextA(edit, CStr(bytes, n));
    }
    FocusEdit(IDC_AGREEMENT_TEXT, 0, 0);
    PlaceUpperCentre();
    return FALSE;   // the focus is set
}

CAboutDialog::CAboutDialog() : CModalDialog(IDD_ABOUT) {}
