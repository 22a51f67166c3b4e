// The agreement page shown before installing, and the about box.
#pragma once
#include "dialog.h"

// Shows the agreement text ("FILE" 153 of the program; an empty page without
// it). IDOK when accepted; IDCANCEL for "I Reject", Escape or the close box.
class CAgreementDialog : public CModalDialog {
public:
    CAgreementDialog();

protected:
    BOOL OnInitDialog() override;
};

// Product name and version of the installer; any way of closing ends it.
class CAboutDialog : public CModalDialog {
public:
    CAboutDialog();
};
