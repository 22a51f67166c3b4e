#include "look3d.h"

#include "text.h"

namespace {
const int kRegister = 12;
const int kUnregister = 13;
const int kAutoSubclass = 16;
}  // namespace

void C3dLook::Call(int ordinal, HINSTANCE instance)
{
    typedef BOOL(WINAPI * Ctl3dProc)(HINSTANCE);
    FARPROC f = m_library.IsValid() ? GetProcAddress(m_library.Get(), MAKEINTRESOURCEA(ordinal)) : 0;
    if (f)
        ((Ctl3dProc)(void (*)(void))f)(instance);
}

void C3dLook::Enable(HINSTANCE instance)
{
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, sizeof path);
    if (n == 0 || n >= sizeof path || !AppendText(path, "\\CTL3D32.DLL"))
        return;
    m_library.Reset(LoadLibraryA(path));
    Call(kRegister, instance);
    Call(kAutoSubclass, instance);
}

void C3dLook::Disable(HINSTANCE instance)
{
    if (!m_library.IsValid())
        return;
    Call(kUnregister, instance);
    m_library.Reset();
}
