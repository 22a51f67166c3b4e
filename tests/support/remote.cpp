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

// Addresses in the other process, which is of this program's own kind: import
// slots and saved arguments are pointer-sized.
typedef UINT_PTR Address;

template <class T> bool ReadAt(HANDLE process, Address address, T& out)
{
    SIZE_T got = 0;
    return ReadProcessMemory(process, (const void*)address, &out, sizeof out, &got) && got == sizeof out;
}

std::string ReadName(HANDLE process, Address address)
{
    std::string name;
    char c;
    while (name.size() < 256 && ReadAt(process, address + name.size(), c) && c)
        name += c;
    return name;
}

Address ProgramBase(DWORD pid)
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snap == INVALID_HANDLE_VALUE)
        return 0;
    MODULEENTRY32 me = {};
    me.dwSize = sizeof me;
    Address base = Module32First(snap, &me) ? (Address)me.modBaseAddr : 0;
    CloseHandle(snap);
    return base;
}

// The address of the import table slot through which the program calls
// dll!function, or 0.
Address ImportSlot(HANDLE process, Address base, const char* dll, const char* function)
{
    IMAGE_DOS_HEADER dos;
    IMAGE_NT_HEADERS nt;
    if (!ReadAt(process, base, dos) || !ReadAt(process, base + dos.e_lfanew, nt))
        return 0;
    DWORD imports = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (Address d = base + imports;; d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR desc;
        if (!ReadAt(process, d, desc) || !desc.Name)
            return 0;
        if (lstrcmpiA(ReadName(process, base + desc.Name).c_str(), dll) != 0)
            continue;
        DWORD names = desc.OriginalFirstThunk ? desc.OriginalFirstThunk : desc.FirstThunk;
        for (Address i = 0;; ++i) {
            Address entry;
            if (!ReadAt(process, base + names + i * sizeof entry, entry) || !entry)
                return 0;
            if (!(entry & IMAGE_ORDINAL_FLAG) && ReadName(process, base + entry + 2) == function)
                return base + desc.FirstThunk + i * sizeof entry;
        }
    }
}

// The counting code in front of the original function. The block holds the
// count, three arguments and the original address (one slot each), then the
// code, which saves the arguments, counts and jumps on.
const int kOriginal = 4, kCode = 5 * sizeof(Address);

std::vector<BYTE> CountingCode(Address data)
{
    std::vector<BYTE> b;
    auto put = [&b](Address v) { for (size_t i = 0; i < sizeof v; ++i) b.push_back((BYTE)(v >> (8 * i))); };
#ifdef _WIN64
    // the arguments come in rcx, rdx, r8
    b.insert(b.end(), {0x48, 0xB8});   // mov rax, data
    put(data);
    b.insert(b.end(), {0x48, 0x89, 0x48, 0x08,    // mov [rax+8], rcx
                       0x48, 0x89, 0x50, 0x10,    // mov [rax+16], rdx
                       0x4C, 0x89, 0x40, 0x18,    // mov [rax+24], r8
                       0x48, 0xFF, 0x00,          // inc qword [rax]
                       0xFF, 0x60, 0x20});        // jmp [rax+32]
#else
    // the arguments are on the stack above the return address
    for (BYTE arg = 0; arg < 3; ++arg) {
        b.insert(b.end(), {0x8B, 0x44, 0x24, (BYTE)(4 + 4 * arg), 0xA3});   // mov eax,[esp+4+4*arg] / mov [..],eax
        put(data + 4 + 4 * arg);
    }
    b.insert(b.end(), {0xFF, 0x05});   // inc dword [data]
    put(data);
    b.insert(b.end(), {0xFF, 0x25});   // jmp [data+16]
    put(data + 16);
#endif
    return b;
}

}  // namespace

CallCounter::CallCounter(HANDLE process, DWORD pid, const char* dll, const char* function) : m_process(process)
{
    Address base = ProgramBase(pid);
    Address slot = base ? ImportSlot(process, base, dll, function) : 0;
    Address original;
    if (!slot || !ReadAt(process, slot, original))
        return;
    BYTE* block = (BYTE*)VirtualAllocEx(process, nullptr, 128, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    if (!block)
        return;
    Address data = (Address)block;
    Address code = data + kCode;
    std::vector<BYTE> b(kCode, 0);
    memcpy(&b[kOriginal * sizeof(Address)], &original, sizeof original);
    std::vector<BYTE> counting = CountingCode(data);
    b.insert(b.end(), counting.begin(), counting.end());
    DWORD oldProtect;
    if (!WriteProcessMemory(process, block, b.data(), b.size(), nullptr) ||
        !VirtualProtectEx(process, (void*)slot, sizeof slot, PAGE_READWRITE, &oldProtect) ||
        !WriteProcessMemory(process, (void*)slot, &code, sizeof code, nullptr))
        return;
    VirtualProtectEx(process, (void*)slot, sizeof slot, oldProtect, &oldProtect);
    FlushInstructionCache(process, block, b.size());
    m_data = data;
}

DWORD CallCounter::Read(int index) const
{
    Address v = 0;
    if (m_data)
        ReadAt(m_process, m_data + index * sizeof v, v);
    return (DWORD)v;
}

DWORD CallCounter::Calls() const { return Read(0); }
DWORD CallCounter::LastArgument(int index) const { return index >= 0 && index < 3 ? Read(1 + index) : 0; }

}  // namespace bench
