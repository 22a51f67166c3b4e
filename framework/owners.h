// Owners of what Windows hands out: each releases its object once, on Reset
// or when it goes, and none can be copied. A registry key's owner is CKey
// (registry.h).
#pragma once
#include <windows.h>
#include <ole2.h>

template <class T, BOOL(WINAPI* Release)(T)> class COwned {
public:
    explicit COwned(T object = 0) : m_object(object) {}
    ~COwned() { Reset(); }
    void Reset(T object = 0)
    {
        if (IsValid())
            Release(m_object);
        m_object = object;
    }
    // Null and INVALID_HANDLE_VALUE both count as none: the APIs answer
    // failure either way.
    bool IsValid() const { return m_object && m_object != (T)INVALID_HANDLE_VALUE; }
    T Get() const { return m_object; }

private:
    COwned(const COwned&);
    void operator=(const COwned&);
    T m_object;
};

inline BOOL WINAPI ReleaseKernelObject(HANDLE h) { return CloseHandle(h); }
inline BOOL WINAPI ReleaseLibrary(HMODULE module) { return FreeLibrary(module); }
template <class T> BOOL WINAPI ReleaseGdiObject(T object) { return DeleteObject(object); }

// A kernel handle: file, process, thread, snapshot.
typedef COwned<HANDLE, ReleaseKernelObject> CHandle;
// A library loaded at run time.
typedef COwned<HMODULE, ReleaseLibrary> CLibrary;
// A GDI object (font, brush, bitmap) made by the program.
template <class T> class CGdiObject : public COwned<T, ReleaseGdiObject<T> > {
public:
    explicit CGdiObject(T object = 0) : COwned<T, ReleaseGdiObject<T> >(object) {}
};

// OLE started on this thread: stopped once, by Stop or when the owner goes.
class COleStart {
public:
    COleStart() : m_started(false) {}
    ~COleStart() { Stop(); }
    bool Start()
    {
        if (!m_started)
            m_started = SUCCEEDED(OleInitialize(0));
        return m_started;
    }
    void Stop()
    {
        if (m_started)
            OleUninitialize();
        m_started = false;
    }

private:
    COleStart(const COleStart&);
    void operator=(const COleStart&);
    bool m_started;
};

// A system colour's brush for FillRect, which takes one as its index + 1 on
// every Windows (GetSysColorBrush came only with Windows 95 and NT 4.0).
// Nothing to release.
inline HBRUSH SystemColourBrush(int index) { return (HBRUSH)(INT_PTR)(index + 1); }
