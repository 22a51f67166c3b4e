// Reaching into another process of the bench: text placed in its memory (for
// messages whose lParam must point into the receiver), and counting the calls
// its program file makes to an imported function.
#pragma once
#include <windows.h>

#include <string>

namespace bench {

// A copy of text, with its terminating zero, in the memory of process.
class RemoteText {
public:
    RemoteText(HANDLE process, const std::string& text);
    ~RemoteText();
    RemoteText(const RemoteText&) = delete;
    RemoteText& operator=(const RemoteText&) = delete;

    LPARAM Address() const { return (LPARAM)m_address; }

private:
    HANDLE m_process;
    void* m_address;
};

// Redirects one entry of the import table of the program file (not its DLLs)
// of a running process through a counter: the function still runs, and the
// number of calls and the first three arguments of the last one can be read.
// The entry stays redirected for the process's life. To count from the very
// start, install it from Process::StartPaused.
class CallCounter {
public:
    // dll as the import table names it ("USER32.dll", any case); function by name.
    CallCounter(HANDLE process, DWORD pid, const char* dll, const char* function);
    CallCounter(const CallCounter&) = delete;
    CallCounter& operator=(const CallCounter&) = delete;

    bool Installed() const { return m_data != 0; }
    DWORD Calls() const;
    // Argument 0, 1 or 2 of the last call (its low 32 bits).
    DWORD LastArgument(int index) const;

private:
    DWORD Read(int index) const;

    HANDLE m_process;
    UINT_PTR m_data = 0;   // calls, three arguments, original address, then the code
};

}  // namespace bench
