#include "look3d.h"

#include "syslib.h"

namespace {
const int kRegister = 12;
const int kUnregister = 13;
const int kAutoSubclass = 16;
}  // namespace

void C3dLook::Call(int ordinal, HINSTANCE instance)
{
    BOOL(WINAPI * f)(HINSTANCE);
    BindFunction(m_library.Get(), MAKEINTRESOURCEA(ordinal), f);
    if (f)
        f(instance);
}

void C3dLook::Enable(HINSTANCE instance)
{
    m_library.Reset(LoadSystemLibrary("CTL3D32.DLL"));
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
