#include "remote.h"

#include <tlhelp32.h>

#include <vector>

namespace bench {

RemoteText::RemoteText(HANDLE process, const std::string& text) : m_process(process)
{
    m_address = VirtualAllocEx(process, nullptr, text.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (m_address)
        WriteProcessMemory(process, m_address, text.c_str(), text.size() + 1, nullptr);
}

RemoteText::~RemoteText()
{
    if (m_address)
        VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
}

namespace {

template <class T> bool ReadAt(HANDLE process, DWORD address, T& out)
{
    SIZE_T got = 0;
    return ReadProcessMemory(process, (const void*)(UINT_PTR)address, &out, sizeof out, &got) && got == sizeof out;
}

std::string ReadName(HANDLE process, DWORD address)
{
    std::string name;
    char c;
    while (name.size() < 256 && ReadAt(process, address + (DWORD)name.size(), c) && c)
        name += c;
    return name;
}

DWORD ProgramBase(DWORD pid)
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snap == INVALID_HANDLE_VALUE)
        return 0;
    MODULEENTRY32 me = {};
    me.dwSize = sizeof me;
    DWORD base = Module32First(snap, &me) ? (DWORD)(UINT_PTR)me.modBaseAddr : 0;
    CloseHandle(snap);
    return base;
}

// The address of the import table slot through which the program calls
// dll!function, or 0.
DWORD ImportSlot(HANDLE process, DWORD base, const char* dll, const char* function)
{
    IMAGE_DOS_HEADER dos;
    IMAGE_NT_HEADERS32 nt;
    if (!ReadAt(process, base, dos) || !ReadAt(process, base + dos.e_lfanew, nt))
        return 0;
    DWORD imports = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (DWORD d = base + imports;; d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR desc;
        if (!ReadAt(process, d, desc) || !desc.Name)
            return 0;
        if (lstrcmpiA(ReadName(process, base + desc.Name).c_str(), dll) != 0)
            continue;
        DWORD names = desc.OriginalFirstThunk ? desc.OriginalFirstThunk : desc.FirstThunk;
        for (DWORD i = 0;; ++i) {
            DWORD entry;
            if (!ReadAt(process, base + names + i * 4, entry) || !entry)
                return 0;
            if (!(entry & IMAGE_ORDINAL_FLAG32) && ReadName(process, base + entry + 2) == function)
                return base + desc.FirstThunk + i * 4;
        }
    }
}

}  // namespace

CallCounter::CallCounter(HANDLE process, DWORD pid, const char* dll, const char* function) : m_process(process)
{
    DWORD base = ProgramBase(pid);
    DWORD slot = base ? ImportSlot(process, base, dll, function) : 0;
    DWORD original;
    if (!slot || !ReadAt(process, slot, original))
        return;
    BYTE* block = (BYTE*)VirtualAllocEx(process, nullptr, 128, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    if (!block)
        return;
    DWORD data = (DWORD)(UINT_PTR)block;
    DWORD code = data + 20;
    std::vector<BYTE> b(20, 0);
    memcpy(&b[16], &original, 4);
    auto put32 = [&b](DWORD v) { for (int i = 0; i < 4; ++i) b.push_back((BYTE)(v >> (8 * i))); };
    for (BYTE arg = 0; arg < 3; ++arg) {
        // mov eax,[esp+4+4*arg] / mov [data+4+4*arg],eax
        b.insert(b.end(), {0x8B, 0x44, 0x24, (BYTE)(4 + 4 * arg), 0xA3});
        put32(data + 4 + 4 * arg);
    }
    // inc dword [data] / jmp [data+16]
    b.insert(b.end(), {0xFF, 0x05});
    put32(data);
    b.insert(b.end(), {0xFF, 0x25});
    put32(data + 16);
    DWORD oldProtect;
    if (!WriteProcessMemory(process, block, b.data(), b.size(), nullptr) ||
        !VirtualProtectEx(process, (void*)(UINT_PTR)slot, 4, PAGE_READWRITE, &oldProtect) ||
        !WriteProcessMemory(process, (void*)(UINT_PTR)slot, &code, 4, nullptr))
        return;
    VirtualProtectEx(process, (void*)(UINT_PTR)slot, 4, oldProtect, &oldProtect);
    FlushInstructionCache(process, block, b.size());
    m_data = data;
}

DWORD CallCounter::Read(int index) const
{
    DWORD v = 0;
    if (m_data)
        ReadAt(m_process, m_data + index * 4, v);
    return v;
}

DWORD CallCounter::Calls() const { return Read(0); }
DWORD CallCounter::LastArgument(int index) const { return index >= 0 && index < 3 ? Read(1 + index) : 0; }

}  // namespace bench
