// The three-dimensional look of dialog controls, from CTL3D32.DLL called by
// ordinal. The library is taken from the system folder only, never from the
// folder a program was started in; where it is missing nothing happens.
#pragma once
#include <windows.h>

#include "owners.h"

class C3dLook {
public:
    // Registers the program and subclasses its dialogs automatically.
    void Enable(HINSTANCE instance);
    // Unregisters and lets the library go; nothing when it was never loaded.
    void Disable(HINSTANCE instance);

private:
    void Call(int ordinal, HINSTANCE instance);
    CLibrary m_library;
};
