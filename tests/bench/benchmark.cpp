// benchmark OUTDIR QUILLSET CLEAROOT VANTREL ZIP: make bench's measurements,
// run under Wine by scripts/bench. Every timing is taken kRuns times beside
// its reference, in the same prefix and the same run; the table gives minimum
// and median, and OUTDIR gets results.md (table and raw numbers) and
// install.dat (the chart's data).
#include <windows.h>
#include <psapi.h>

#include <stdio.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench.h"
#include "driver.h"
#include "fixtures.h"
#include "quillset.h"

using namespace bench;

namespace {

const int kRuns = 5;
const char kPlayerName[] = "Zyne Talkweave Player";
const double kMB = 1024.0 * 1024.0;

const char kHow[] =
    "\n## How\n\n"
    "- Timings run from just before CreateProcess, on the performance counter. Wine 8 tells an out-of-context\n"
    "  event hook when a window is made (not when it shows); a window counts as shown once it is visible and\n"
    "  its thread, back in its message loop, has answered a message sent to it.\n"
    "- Install: payloads of 100 files (a third of them libraries with a version resource) plus the set's\n"
    "  SETUP.EXE, SETUP.INI and VANTREL.EXE. The copy phase runs from the making of setup's progress dialog to\n"
    "  the making of its completion message; the references copy (CopyFileA) or install (VerInstallFileA, as\n"
    "  setup calls it) the same files into an empty folder from the bench's own process.\n"
    "- Scale: sets of 10, 100, 1,000 and 10,000 data files of 1 kB (names of 9 characters) and one of 100 files\n"
    "  of 1 MB, each with SETUP.EXE, SETUP.INI and VANTREL.EXE. Unattended install (/S into a fresh folder) and\n"
    "  unattended removal (/S /uninstall, up to setup's exit: the removal helper's waits come after it) count\n"
    "  from start to exit less the median of all runs that end at their command line (/S /X); beside them, in\n"
    "  the same run, the VerInstallFileA loop over the same files into an empty folder and the DeleteFileA\n"
    "  loop that deletes them again. Setup's own cost per file: (unattended install - loop) / files, of the\n"
    "  medians. The interactive copy phase and the peak working set come from an interactive install of the\n"
    "  same set.\n"
    "- Uninstall: Yes on the question to the installed folder (setup's own) gone, the removal helper's waits\n"
    "  included. Player: start to the engine's trace of the document handed over (export 103), stamped by\n"
    "  the stand-in engine. Peak working set: setup's, read while its completion message shows.\n";

// ---- the clock, and the windows a watched process makes

LARGE_INTEGER g_frequency;

LONGLONG Counter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Ms(LONGLONG counts) { return counts * 1000.0 / g_frequency.QuadPart; }

struct Created {
    HWND hwnd;
    LONGLONG at;
};

DWORD g_watched;                // the process whose top-level windows are recorded
std::string g_class;            // of this class
std::vector<Created> g_created; // in the order they were made
size_t g_next;                  // the first not yet taken by NextWindow

// Wine 8 reports window creation (not showing) to an out-of-context hook; it
// arrives as a message, so every wait below keeps the queue running.
void CALLBACK OnCreate(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD)
{
    LONGLONG at = Counter();
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (object == OBJID_WINDOW && pid == g_watched && GetAncestor(hwnd, GA_PARENT) == GetDesktopWindow() &&
        ClassOf(hwnd) == g_class)
        g_created.push_back({hwnd, at});
}

void Pump(DWORD ms)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

void Watch(DWORD pid, const char* windowClass)
{
    g_watched = pid;
    g_class = windowClass;
    g_created.clear();
    g_next = 0;
}

// The watched process's next window, with the moment it was made.
Created NextWindow(DWORD ms = 30000)
{
    for (DWORD start = GetTickCount(); g_next >= g_created.size(); Pump(10)) {
        if (GetTickCount() - start > ms) {
            HWND shown = WaitForDialog(g_watched, 0);
            throw std::runtime_error("no new window of class " + g_class +
                                     (shown ? "; it shows \"" + WindowText(shown) + "\"" : std::string()));
        }
    }
    return g_created[g_next++];
}

// The moment the window shows, seen from its thread being back in its message
// loop (a message sent from another thread waits for that). A modal dialog
// shows once its queue has first run empty: one more round then.
LONGLONG Ready(HWND hwnd)
{
    DWORD start = GetTickCount();
    do {
        if (!IsWindow(hwnd) || GetTickCount() - start > 10000)
            throw std::runtime_error("a window did not show: " + WindowText(hwnd));
        SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
    } while (!IsWindowVisible(hwnd));
    return Counter();
}

void EndsWithin(Process& p, DWORD ms)
{
    for (DWORD start = GetTickCount(); p.Running(); Pump(10))
        if (GetTickCount() - start > ms)
            throw std::runtime_error("a program did not end");
}

// ---- figures

struct Series {
    std::vector<double> values;
    double Min() const { return *std::min_element(values.begin(), values.end()); }
    double Median() const
    {
        std::vector<double> v = values;
        std::sort(v.begin(), v.end());
        size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
    std::string Raw() const
    {
        std::string s;
        char buf[32];
        for (double v : values) {
            snprintf(buf, sizeof buf, "%s%.*f", s.empty() ? "" : " ", v < 1e5 ? 1 : 0, v);
            s += buf;
        }
        return s;
    }
};

enum Goal { kInfo, kMet, kMissed };

struct Row {
    std::string what, unit;
    Series subject, reference;   // reference empty: an absolute figure
    std::string goal;
    Goal met;
};

std::vector<Row> g_rows;

std::string Number(double v, const std::string& unit)
{
    char buf[48];
    if (unit == "bytes")
        snprintf(buf, sizeof buf, "%.0f", v);
    else
        snprintf(buf, sizeof buf, "%.1f", v);
    return buf;
}

// A timed figure against its reference: the goal is a largest median ratio
// (0: none) and, when given, one more condition.
void AddRatioRow(const std::string& what, const Series& subject, const Series& reference, double ratio,
                 const std::string& more = "", bool moreMet = true)
{
    char limit[16];
    snprintf(limit, sizeof limit, "%g", ratio);
    std::string goal = ratio > 0 ? std::string("ratio ≤ ") + limit : "";
    bool met = ratio <= 0 || subject.Median() / reference.Median() <= ratio;
    if (!more.empty()) {
        goal += (goal.empty() ? "" : ", ") + more;
        met = met && moreMet;
    }
    g_rows.push_back({what, "ms", subject, reference, goal, goal.empty() ? kInfo : met ? kMet : kMissed});
}

void AddRow(const std::string& what, const std::string& unit, const Series& subject, const std::string& goal,
            Goal met)
{
    g_rows.push_back({what, unit, subject, Series(), goal, met});
}

std::string Table()
{
    std::string t = "| Measure | Subject min | median | Reference min | median | Ratio min | median | Goal | |\n"
                    "|---|--:|--:|--:|--:|--:|--:|---|---|\n";
    char line[512];
    for (auto& r : g_rows) {
        bool ref = !r.reference.values.empty();
        std::string rmin = ref ? Number(r.reference.Min(), r.unit) : "", rmed = ref ? Number(r.reference.Median(), r.unit) : "";
        char ratios[64] = "| | |";
        if (ref)
            snprintf(ratios, sizeof ratios, "| %.2f | %.2f |", r.subject.Min() / r.reference.Min(),
                     r.subject.Median() / r.reference.Median());
        snprintf(line, sizeof line, "| %s (%s) | %s | %s | %s | %s %s %s | %s |\n", r.what.c_str(), r.unit.c_str(),
                 Number(r.subject.Min(), r.unit).c_str(), Number(r.subject.Median(), r.unit).c_str(), rmin.c_str(),
                 rmed.c_str(), ratios, r.goal.c_str(), r.met == kMet ? "met" : r.met == kMissed ? "MISSED" : "");
        t += line;
    }
    return t;
}

// ---- the payloads: 100 files of mixed sizes from a seed, a third of them
// libraries with a version resource (and an overlay to their size), listed in a SETUP.INI of the usual form

struct Random {
    unsigned long long state;
    unsigned long long Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    double Unit() { return (Next() >> 11) * (1.0 / 9007199254740992.0); }
};

struct Payload {
    std::string folder;
    std::vector<std::string> files;   // every listed file, in list order
    double bytes = 0;                 // all of them
};

// files above 100 get names of three digits: setup's [Files] list holds 1040
// characters, so about 250 such names at most.
Payload MakePayload(const std::string& folder, unsigned total, unsigned long long seed, int kFiles = 100)
{
    Random random{seed};
    std::string program = ReadFile(Built("tests\\BenchVersioned.dll"));
    std::vector<double> weights;
    double sum = 0;
    for (int i = 0; i < kFiles; ++i) {
        weights.push_back(std::exp(random.Unit() * std::log(1000.0)));   // three decades
        sum += weights.back();
    }
    std::vector<unsigned> sizes;
    unsigned used = 0;
    for (int i = 0; i < kFiles; ++i) {
        unsigned size = (unsigned)(total * weights[i] / sum);
        if (i % 3 == 2 && size < program.size())
            size = (unsigned)program.size();
        sizes.push_back(size);
        used += size;
    }
    // the largest plain file evens out the total
    int largest = 0;
    for (int i = 0; i < kFiles; ++i)
        if (i % 3 != 2 && sizes[i] > sizes[largest])
            largest = i;
    if (used < total)   // many small libraries may already be over it
        sizes[largest] += total - used;

    Payload p;
    p.folder = FreshFolder(folder);
    Copy(Built("Quillset.exe"), p.folder + "\\SETUP.EXE");
    Copy(Built("Vantrel.exe"), p.folder + "\\VANTREL.EXE");
    std::string ini = "[Options]\r\nMode=Player\r\nSubdir=Zyne\\Bench\r\nDeleteSource=no\r\n\r\n"
                      "[Player.32]\r\nModule=VANTREL.EXE\r\nOtherModule=NPZYNE32.DLL\r\nDisplayName=" +
                      std::string(kPlayerName) + "\r\n\r\n[Files]\r\nVANTREL.EXE=310\r\nSETUP.EXE=310\r\nSETUP.INI=310\r\n";
    p.files = {"VANTREL.EXE", "SETUP.EXE", "SETUP.INI"};
    for (int i = 0; i < kFiles; ++i) {
        bool pe = i % 3 == 2;
        char name[16];
        if (kFiles > 100)
            snprintf(name, sizeof name, "%03d", i);
        else
            snprintf(name, sizeof name, "F%03d.%s", i, pe ? "DLL" : "DAT");
        std::string bytes = pe ? program : std::string();
        bytes.reserve(sizes[i]);
        while (bytes.size() < sizes[i]) {
            unsigned long long r = random.Next();
            bytes.append((const char*)&r, std::min<size_t>(8, sizes[i] - bytes.size()));
        }
        WriteFile(p.folder + "\\" + name, bytes);
        ini += std::string(name) + (pe ? "=310\r\n" : "=314\r\n");
        p.files.push_back(name);
    }
    WriteFile(p.folder + "\\SETUP.INI", ini);
    for (auto& name : p.files) {
        WIN32_FILE_ATTRIBUTE_DATA a;
        if (GetFileAttributesExA((p.folder + "\\" + name).c_str(), GetFileExInfoStandard, &a))
            p.bytes += a.nFileSizeLow;
    }
    return p;
}

// ---- the measurements

// The plain references: the same files copied into an empty folder, and deleted again.
double CopyLoop(const Payload& p, const std::string& to)
{
    RemoveTree(to);
    LONGLONG start = Counter();
    CreateDirectoryA(to.c_str(), nullptr);
    for (auto& name : p.files)
        if (!CopyFileA((p.folder + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE))
            throw std::runtime_error("CopyFileA failed on " + name);
    return Ms(Counter() - start);
}

// Where the copy phase goes: the version-aware install function alone, as
// setup calls it, file by file into an empty folder `to`, left there.
double InstallLoopInto(const Payload& p, const std::string& to)
{
    RemoveTree(to);
    LONGLONG start = Counter();
    CreateDirectoryA(to.c_str(), nullptr);
    for (auto& name : p.files) {
        char temp[MAX_PATH] = "";
        UINT length = sizeof temp;
        if (VerInstallFileA(VIFF_DONTDELETEOLD, (LPSTR)name.c_str(), (LPSTR)name.c_str(), (LPSTR)p.folder.c_str(),
                            (LPSTR)to.c_str(), (LPSTR)p.folder.c_str(), temp, &length))
            throw std::runtime_error("VerInstallFileA failed on " + name);
    }
    return Ms(Counter() - start);
}

// The same, the folder removed again.
double InstallFunctionLoop(const Payload& p, const std::string& to)
{
    double ms = InstallLoopInto(p, to);
    RemoveTree(to);
    return ms;
}

double DeleteLoop(const Payload& p, const std::string& folder)
{
    LONGLONG start = Counter();
    for (auto& name : p.files)
        DeleteFileA((folder + "\\" + name).c_str());
    RemoveDirectoryA(folder.c_str());
    return Ms(Counter() - start);
}

// Process start to the first window of the class shown; the program is left running.
double FirstWindow(Process& p, const std::string& exe, const std::string& args, const char* windowClass,
                   HWND* window)
{
    std::string folder = exe.substr(0, exe.find_last_of('\\'));
    LONGLONG start = Counter();
    if (!p.Start(exe, args, folder))
        throw std::runtime_error("cannot start " + exe);
    Watch(p.Id(), windowClass);
    *window = NextWindow().hwnd;
    return Ms(Ready(*window) - start);
}

double MinimalStart(const std::string& exe)
{
    Process p;
    HWND window;
    double ms = FirstWindow(p, exe, "", "BenchMinimal", &window);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EndsWithin(p, 5000);
    return ms;
}

// Setup's start to its agreement page shown; then I Reject.
double SetupStart(const std::string& exe)
{
    Process p;
    HWND page;
    double ms = FirstWindow(p, exe, "", "#32770", &page);
    if (!GetDlgItem(page, IDC_AGREEMENT_TEXT))
        throw std::runtime_error("setup's first window is no agreement page: " + ItemText(page, 0xFFFF));
    Press(page, IDCANCEL);
    EndsWithin(p, 10000);
    return ms;
}

// The player's start to the document handed to the engine, by the stand-in
// engine's trace of the call with its counter.
double PlayerStart(const std::string& folder)
{
    std::string trace = folder + "\\trace.txt";
    DeleteFileA(trace.c_str());
    SetEnvironmentVariableA("VANTREL_ENGINE_TRACE", trace.c_str());
    SetEnvironmentVariableA("VANTREL_ENGINE_TRACE_CLOCK", "1");
    Process p;
    LONGLONG start = Counter();
    bool started = p.Start(folder + "\\VANTREL.EXE", "SAMPLE.ZYN", folder);
    SetEnvironmentVariableA("VANTREL_ENGINE_TRACE", nullptr);
    SetEnvironmentVariableA("VANTREL_ENGINE_TRACE_CLOCK", nullptr);
    if (!started)
        throw std::runtime_error("cannot start the player");
    size_t at = std::string::npos;
    std::string text;
    for (DWORD begin = GetTickCount(); at == std::string::npos; Pump(10)) {
        if (GetTickCount() - begin > 10000)
            throw std::runtime_error("the player handed no document to the engine");
        text = Exists(trace) ? ReadFile(trace) : "";
        size_t open = text.find("\n103 ");
        at = open == std::string::npos ? open : text.find(" @", open);
        if (at != std::string::npos && text.find('\n', at) == std::string::npos)
            at = std::string::npos;   // the line is not whole yet
    }
    LONGLONG handed = (LONGLONG)strtoull(text.substr(at + 2, 16).c_str(), nullptr, 16);
    if (HWND main = WaitForWindow(p.Id(), "Zyne Talkweave Player_MAIN", 5000))
        PostMessageA(main, WM_CLOSE, 0, 0);
    EndsWithin(p, 5000);
    return Ms(handed - start);
}

struct Install {
    double copyMs;
    double peakBytes;
};

// A whole install of the set into `dest` (which goes first): agreement,
// destination and the new folder's question answered OK. The copy phase runs
// from the progress dialog's making to the completion message's (the
// running-program check and the registration, a few ms, inside it).
Install SetupInstall(const Payload& set, const std::string& dest)
{
    RemoveTree(dest);
    Process p;
    if (!p.Start(set.folder + "\\SETUP.EXE", "", set.folder))
        throw std::runtime_error("cannot start setup");
    Watch(p.Id(), "#32770");
    for (int page = 0; page < 3; ++page) {
        HWND h = NextWindow().hwnd;
        Ready(h);
        if (!Press(h, IDOK))
            throw std::runtime_error("no OK to press in " + WindowText(h));
    }
    Created progress = NextWindow(), done = NextWindow(900000);
    Ready(done.hwnd);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(p.Handle(), &memory, sizeof memory);
    std::string text = ItemText(done.hwnd, 0xFFFF);
    if (text != BuiltText("Quillset.exe", IDS_INSTALLED, kPlayerName, ""))
        throw std::runtime_error("setup did not complete: " + text);
    Press(done.hwnd, IDOK);
    EndsWithin(p, 10000);
    return {Ms(done.at - progress.at), (double)memory.PeakWorkingSetSize};
}

// "SETUP.EXE args" from start to exit, without any window; the exit code must be `code`.
double SetupUnattended(const Payload& set, const std::string& args, long code)
{
    Process p;
    LONGLONG start = Counter();
    if (!p.Start(set.folder + "\\SETUP.EXE", args, set.folder))
        throw std::runtime_error("cannot start setup " + args);
    long exit = p.Wait(900000);
    double ms = Ms(Counter() - start);
    if (exit != code)
        throw std::runtime_error("setup " + args + " ended with " + std::to_string(exit));
    return ms;
}

// "SETUP.EXE /uninstall" in the installed folder: Yes on the question to the
// folder gone, the removal helper's waits included; then its report is closed.
double SetupUninstall(const std::string& dest)
{
    Process p;
    if (!p.Start(dest + "\\SETUP.EXE", "/uninstall", dest))
        throw std::runtime_error("cannot start setup /uninstall");
    Watch(p.Id(), "#32770");
    HWND confirm = NextWindow().hwnd;
    Ready(confirm);
    LONGLONG start = Counter();
    Press(confirm, IDYES);
    for (DWORD begin = GetTickCount(); Exists(dest); Pump(5))
        if (GetTickCount() - begin > 15000)
            throw std::runtime_error("the installed folder stayed");
    double ms = Ms(Counter() - start);
    HWND report = nullptr;
    for (DWORD begin = GetTickCount(); !report && GetTickCount() - begin < 10000; Pump(20))
        report = FindWindowA("#32770", "SETUP");
    if (!report)
        throw std::runtime_error("no report from the removal helper");
    Press(report, IDOK);
    EndsWithin(p, 10000);
    return ms;
}

// ---- scale: sets of many small files (names of 9 characters), and one of
// 100 large ones, each measured against the bare loops in the same run

struct Scale {
    Scale(int n, unsigned size, int r) : files(n), bytes(size), runs(r) {}
    int files;
    unsigned bytes;   // each data file
    int runs;
    Series function, bare, quietRaw, removalRaw, quiet, interactive, deleteLoop, removal, peak;
    double ownPerFile = 0;   // (median of setup - median of the loop) / files
    std::string Name() const
    {
        return std::to_string(files) + (bytes >= (1u << 20) ? " files of 1 MB" : " files of 1 kB");
    }
};

// SETUP.EXE, VANTREL.EXE and their SETUP.INI, listed with `files` data files.
Payload MakeScaleSet(const std::string& folder, int files, unsigned bytes)
{
    Payload p;
    p.folder = FreshFolder(folder);
    char other[MAX_PATH];   // BENCH_SETUP: another build of setup, to compare
    DWORD n = GetEnvironmentVariableA("BENCH_SETUP", other, sizeof other);
    Copy(n && n < sizeof other ? std::string(other) : Built("Quillset.exe"), p.folder + "\\SETUP.EXE");
    Copy(Built("Vantrel.exe"), p.folder + "\\VANTREL.EXE");
    std::string ini = "[Options]\r\nMode=Player\r\nSubdir=Zyne\\Bench\r\nDeleteSource=no\r\n\r\n"
                      "[Player.32]\r\nModule=VANTREL.EXE\r\nOtherModule=NPZYNE32.DLL\r\nDisplayName=" +
                      std::string(kPlayerName) + "\r\n\r\n[Files]\r\nVANTREL.EXE=310\r\nSETUP.EXE=310\r\nSETUP.INI=310\r\n";
    p.files = {"VANTREL.EXE", "SETUP.EXE", "SETUP.INI"};
    Random random{(unsigned long long)files * 7919 + bytes};
    std::string data(bytes, '\0');
    for (int i = 0; i < files; ++i) {
        char name[16];
        snprintf(name, sizeof name, "F%04d.DAT", i);
        for (size_t at = 0; at < data.size(); at += 8) {
            unsigned long long r = random.Next();
            memcpy(&data[at], &r, std::min<size_t>(8, data.size() - at));
        }
        WriteFile(p.folder + "\\" + name, data);
        ini += std::string(name) + "=314\r\n";
        p.files.push_back(name);
    }
    WriteFile(p.folder + "\\SETUP.INI", ini);
    return p;
}

// Every listed file whole in `folder` (same size as in the set).
void ExpectInstalled(const Payload& p, const std::string& folder)
{
    for (auto& name : p.files) {
        WIN32_FILE_ATTRIBUTE_DATA a, b;
        if (!GetFileAttributesExA((folder + "\\" + name).c_str(), GetFileExInfoStandard, &a) ||
            !GetFileAttributesExA((p.folder + "\\" + name).c_str(), GetFileExInfoStandard, &b) ||
            a.nFileSizeLow != b.nFileSizeLow)
            throw std::runtime_error("setup left " + name + " out or short");
    }
}

// BENCH_SCALE="files runs,files runs" measures only those sets of 1 kB files
// (a look at one size while working on it).
std::vector<Scale> MeasureScales(const std::string& dest)
{
    std::vector<Scale> scales = {Scale(10, 1024, 5), Scale(100, 1024, 5), Scale(1000, 1024, 3),
                                 Scale(10000, 1024, 3), Scale(100, 1u << 20, 3)};
    char only[200];
    if (GetEnvironmentVariableA("BENCH_SCALE", only, sizeof only) - 1 < sizeof only - 1) {
        scales.clear();
        int files, runs, used;
        for (const char* p = only; sscanf(p, "%d %d%n", &files, &runs, &used) == 2; p += used + (p[used] == ','))
            scales.push_back(Scale(files, 1024, runs));
    }
    std::string loop = "C:\\bench\\scale-loop";
    for (auto& c : scales) {
        printf("  %s: unattended install and removal, interactive copy phase, the bare loops (%d runs)\n",
               c.Name().c_str(), c.runs);
        fflush(stdout);
        Payload set = MakeScaleSet("scale", c.files, c.bytes);
        RemoveTree(dest);
        if (&c == &scales.front()) {   // unmeasured: the first run of a session loads what later ones find
            SetupUnattended(set, "/S", 0);
            RemoveTree(dest);
        }
        for (int run = 0; run < c.runs; ++run) {
            c.function.values.push_back(InstallLoopInto(set, loop));
            c.deleteLoop.values.push_back(DeleteLoop(set, loop));
            c.bare.values.push_back(SetupUnattended(set, "/S /X", 1));
            c.quietRaw.values.push_back(SetupUnattended(set, "/S", 0));
            ExpectInstalled(set, dest);
            // the installed copy removes the set; the helper's waits come after setup's exit
            Payload installed = set;
            installed.folder = dest;
            c.removalRaw.values.push_back(SetupUnattended(installed, "/S /uninstall", 0));
            for (DWORD begin = GetTickCount(); Exists(dest); Pump(20))
                if (GetTickCount() - begin > 60000)
                    throw std::runtime_error("the removal left the installed folder");
            Install i = SetupInstall(set, dest);
            c.interactive.values.push_back(i.copyMs);
            c.peak.values.push_back(i.peakBytes / kMB);
            RemoveTree(dest);
        }
        RemoveTree(set.folder);
    }
    // a process's start and end vary by more than a small set's work: less
    // the median of every /S /X run of the session
    Series bare;
    for (auto& c : scales)
        bare.values.insert(bare.values.end(), c.bare.values.begin(), c.bare.values.end());
    for (auto& c : scales) {
        for (double v : c.quietRaw.values)
            c.quiet.values.push_back(v - bare.Median());
        for (double v : c.removalRaw.values)
            c.removal.values.push_back(v - bare.Median());
        c.ownPerFile = (c.quiet.Median() - c.function.Median()) / (c.files + 3);
    }
    return scales;
}

void AddScaleRows(const std::vector<Scale>& scales)
{
    const Scale* at100 = nullptr;
    const Scale* at1000 = nullptr;
    for (auto& c : scales) {
        if (c.bytes == 1024 && c.files == 100)
            at100 = &c;
        if (c.bytes == 1024 && c.files == 1000)
            at1000 = &c;
    }
    for (auto& c : scales)
        AddRatioRow("Unattended install, " + c.Name() + ", vs VerInstallFileA loop", c.quiet, c.function,
                    c.files > 100 ? 1.1 : c.files == 100 ? 1.25 : 0);
    for (auto& c : scales)
        AddRatioRow("Interactive copy phase, " + c.Name() + ", vs VerInstallFileA loop", c.interactive, c.function,
                    c.files > 100 ? 1.25 : c.files == 100 ? 1.5 : 0);
    for (auto& c : scales)
        AddRatioRow("Unattended removal, " + c.Name() + ", vs DeleteFileA loop", c.removal, c.deleteLoop,
                    c.bytes != 1024 ? 0 : c.files >= 1000 ? 1.2 : c.files == 100 ? 2.0 : 0);
    for (auto& c : scales) {
        bool judged = c.bytes == 1024 && c.files == 10000 && at1000;
        // none at all (setup no slower than the loop) is flat too
        bool flat = judged && (c.ownPerFile <= 1.2 * at1000->ownPerFile || c.ownPerFile <= 0);
        AddRow("Setup's own cost per file, unattended, " + c.Name() + " ((setup median - loop median) / files)",
               "ms", Series{{c.ownPerFile}}, judged ? "≤ 1.2 × at 1000 files, or none" : "",
               judged ? flat ? kMet : kMissed : kInfo);
    }
    for (auto& c : scales) {
        bool judged = c.bytes == 1024 && c.files == 10000 && at100;
        bool met = judged && c.peak.Median() <= 1.2 * at100->peak.Median();
        AddRow("Setup's peak working set, interactive, " + c.Name(), "MB", c.peak,
               judged ? "≤ 1.2 × at 100 files" : "", judged ? met ? kMet : kMissed : kInfo);
    }
}

// The plot's data: per set, times per file (ms) as medians.
std::string ScaleData(const std::vector<Scale>& scales)
{
    std::string dat = "# files kB-each | per file: loop quiet interactive deleteloop removal (ms)\n";
    char line[200];
    for (auto& c : scales) {
        double n = c.files + 3.0;   // the set's own three files too
        snprintf(line, sizeof line, "%d %u %.4f %.4f %.4f %.4f %.4f\n", c.files, c.bytes / 1024,
                 c.function.Median() / n, c.quiet.Median() / n, c.interactive.Median() / n,
                 c.deleteLoop.Median() / n, c.removal.Median() / n);
        dat += line;
    }
    return dat;
}

double FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA a;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a))
        throw std::runtime_error("no file " + path);
    return a.nFileSizeLow;
}

void SizeRow(const std::string& what, const std::string& path, double budget)
{
    double size = FileSize(path);
    std::string goal = "≤ " + Number(budget, "bytes");
    if (size > budget)
        goal += ", over by " + Number(size - budget, "bytes");
    AddRow(what, "bytes", Series{{size}}, goal, size <= budget ? kMet : kMissed);
}

void Progress(const char* what)
{
    printf("  %s\n", what);
    fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        fprintf(stderr, "usage: benchmark OUTDIR QUILLSET CLEAROOT VANTREL ZIP\n");
        return 2;
    }
    std::string out = argv[1];
    QueryPerformanceFrequency(&g_frequency);
    SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnCreate, 0, 0,
                    WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    try {
        std::string sample = FreshFolder("sample"), copy = "C:\\bench\\copy";
        for (auto& name : List(SampleSet("player")))
            Copy(SampleSet("player") + "\\" + name, sample + "\\" + name);
        std::string dest = RegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                                     "ProgramFilesDir") + "\\Zyne\\Bench";

        if (getenv("BENCH_SCALE")) {
            std::vector<Scale> scales = MeasureScales(dest);
            AddScaleRows(scales);
            printf("\n%s", Table().c_str());
            return 0;
        }
        Progress("start: setup's agreement page, the player's document, the minimal program's window");
        Series minimalSetup, setupStart, minimalPlayer, player;
        // one start of each unmeasured: the first in a session loads what later ones find ready
        MinimalStart(Built("tests\\BenchMinimal.exe"));
        SetupStart(sample + "\\SETUP.EXE");
        PlayerStart(sample);
        for (int run = 0; run < kRuns; ++run) {
            minimalSetup.values.push_back(MinimalStart(Built("tests\\BenchMinimal.exe")));
            setupStart.values.push_back(SetupStart(sample + "\\SETUP.EXE"));
            minimalPlayer.values.push_back(MinimalStart(Built("tests\\BenchMinimal.exe")));
            player.values.push_back(PlayerStart(sample));
        }

        struct Size {
            explicit Size(unsigned m) : mb(m) {}
            unsigned mb;
            Series setup, copy, function, perMB, peak;
        } sizes[] = {Size(1), Size(20), Size(200)};
        Series uninstall, deleteLoop;
        for (auto& s : sizes) {
            printf("  install of %u MB (payload made from seed %u)\n", s.mb, 12 + s.mb);
            fflush(stdout);
            Payload payload = MakePayload("payload" + std::to_string(s.mb), s.mb << 20, 12 + s.mb);
            for (int run = 0; run < kRuns; ++run) {
                s.copy.values.push_back(CopyLoop(payload, copy));
                s.function.values.push_back(InstallFunctionLoop(payload, copy + "-function"));
                Install i = SetupInstall(payload, dest);
                s.setup.values.push_back(i.copyMs);
                s.perMB.values.push_back(i.copyMs / (payload.bytes / kMB));
                s.peak.values.push_back(i.peakBytes);
                if (s.mb == 1) {   // uninstall, beside deleting the copy
                    deleteLoop.values.push_back(DeleteLoop(payload, copy));
                    uninstall.values.push_back(SetupUninstall(dest));
                }
            }
            RemoveTree(dest);
            RemoveTree(copy);
            RemoveTree(payload.folder);
        }

        std::vector<Scale> scales = MeasureScales(dest);
        AddScaleRows(scales);

        for (auto& s : sizes)
            AddRatioRow("Install copy phase, " + std::to_string(s.mb) + " MB, vs CopyFileA loop", s.setup, s.copy,
                        s.mb == 1 ? 0 : 1.2);
        for (auto& s : sizes)
            AddRatioRow("(where it goes: VerInstallFileA loop, " + std::to_string(s.mb) + " MB, vs CopyFileA loop)",
                        s.function, s.copy, 0);
        bool flat = sizes[1].perMB.Median() <= 1.2 * sizes[0].perMB.Median() &&
                    sizes[2].perMB.Median() <= 1.2 * sizes[1].perMB.Median();
        for (auto& s : sizes)
            AddRow("Install time per MB, " + std::to_string(s.mb) + " MB", "ms/MB", s.perMB,
                   s.mb == 1 ? "flat: each ≤ 1.2 × the size before" : "", s.mb == 1 ? kInfo : flat ? kMet : kMissed);
        AddRatioRow("Start to agreement page vs minimal program's window", setupStart, minimalSetup, 1.2,
                    "≤ 250 ms", setupStart.Median() <= 250);
        AddRow("Uninstall: Yes to folders gone (1 MB set) vs DeleteFileA loop", "ms", uninstall, "≤ 1000 ms",
               uninstall.Median() <= 1000 ? kMet : kMissed);
        g_rows.back().reference = deleteLoop;
        AddRatioRow("Player: start to document handed to the engine vs minimal program's window", player,
                    minimalPlayer, 1.5);
        SizeRow("Quillset.exe (setup, helper inside)", argv[2], 64 * 1024);
        SizeRow("Clearoot.exe (removal helper)", argv[3], 6 * 1024);
        SizeRow("Vantrel.exe (player host)", argv[4], 16 * 1024);
        AddRow("Player install set, zipped", "bytes", Series{{FileSize(argv[5])}}, "", kInfo);
        bool constant = sizes[2].peak.Median() <= 1.1 * sizes[0].peak.Median();
        for (auto& s : sizes) {
            Series mb;
            for (double v : s.peak.values)
                mb.values.push_back(v / kMB);
            AddRow("Setup's peak working set, " + std::to_string(s.mb) + " MB install", "MB", mb,
                   s.mb == 200 ? "≤ 1.1 × the 1 MB install's" : "", s.mb == 200 ? constant ? kMet : kMissed : kInfo);
        }

        std::string table = Table();
        printf("\n%s", table.c_str());
        std::string raw = "\n## Raw numbers (ms unless said; in run order)\n\n";
        auto rawLine = [&](const std::string& what, const Series& s) { raw += "- " + what + ": " + s.Raw() + "\n"; };
        rawLine("minimal program, beside setup", minimalSetup);
        rawLine("setup start to agreement page", setupStart);
        rawLine("minimal program, beside the player", minimalPlayer);
        rawLine("player start to document handed over", player);
        std::string dat = "# MB  setup-min setup-median copy-min copy-median function-min function-median (ms)\n";
        char line[160];
        for (auto& s : sizes) {
            rawLine(std::to_string(s.mb) + " MB: CopyFileA loop", s.copy);
            rawLine(std::to_string(s.mb) + " MB: VerInstallFileA loop", s.function);
            rawLine(std::to_string(s.mb) + " MB: setup's copy phase", s.setup);
            rawLine(std::to_string(s.mb) + " MB: setup's peak working set (bytes)", s.peak);
            snprintf(line, sizeof line, "%u %.1f %.1f %.1f %.1f %.1f %.1f\n", s.mb, s.setup.Min(), s.setup.Median(),
                     s.copy.Min(), s.copy.Median(), s.function.Min(), s.function.Median());
            dat += line;
        }
        for (auto& c : scales) {
            rawLine(c.Name() + ": VerInstallFileA loop", c.function);
            rawLine(c.Name() + ": setup /S /X, start to exit", c.bare);
            rawLine(c.Name() + ": unattended install, start to exit", c.quietRaw);
            rawLine(c.Name() + ": interactive copy phase", c.interactive);
            rawLine(c.Name() + ": DeleteFileA loop", c.deleteLoop);
            rawLine(c.Name() + ": unattended removal, start to exit", c.removalRaw);
            rawLine(c.Name() + ": setup's peak working set (bytes)", c.peak);
        }
        rawLine("uninstall, Yes to folders gone", uninstall);
        rawLine("DeleteFileA loop of the 1 MB set", deleteLoop);
        snprintf(line, sizeof line, "\nPrograms: %s; %d runs of each figure.\n",
                 sizeof(void*) == 8 ? "the x86_64 twin under 64-bit Wine" : "the shipped i686 programs under 32-bit Wine",
                 kRuns);
        WriteFile(out + "\\results.md", "# make bench\n\n" + table + line + kHow + raw);
        WriteFile(out + "\\install.dat", dat);
        WriteFile(out + "\\scale.dat", ScaleData(scales));
        printf("%s", line);
    } catch (const std::exception& e) {
        fprintf(stderr, "benchmark: %s\n", e.what());
        return 1;
    }
    return 0;
}
