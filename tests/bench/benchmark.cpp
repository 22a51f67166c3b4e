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
    "- Unattended install (/S): payloads of 100 and 250 small files (12 kB on average) plus the three set\n"
    "  files, from setup's start to its exit less a run of the same setup that ends at its command line\n"
    "  (/S /X); beside the same payload's interactive copy phase and the VerInstallFileA loop.\n"
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
// setup calls it, file by file into an empty folder.
double InstallFunctionLoop(const Payload& p, const std::string& to)
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
    double ms = Ms(Counter() - start);
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
    Created progress = NextWindow(), done = NextWindow(120000);
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
    long exit = p.Wait(120000);
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

        // Unattended and interactive installs of small files beside the bare
        // install function, by file count. The unattended run counts from
        // start to exit less a run of the same program that ends at its
        // command line (/S /X, exit code 1): the process's own start and end.
        struct Count {
            explicit Count(int n) : files(n) {}
            int files;
            Series quiet, interactive, function, bare, perFile, functionPerFile;
        } counts[] = {Count(100), Count(250)};
        for (auto& c : counts) {
            printf("  unattended and interactive installs of %d files\n", c.files);
            fflush(stdout);
            Payload payload = MakePayload("files" + std::to_string(c.files), c.files * 12000u, 7 + c.files, c.files);
            SetupUnattended(payload, "/S", 0);   // unmeasured, as above
            for (int run = 0; run < kRuns; ++run) {
                c.function.values.push_back(InstallFunctionLoop(payload, copy + "-function"));
                c.bare.values.push_back(SetupUnattended(payload, "/S /X", 1));
                RemoveTree(dest);
                c.quiet.values.push_back(SetupUnattended(payload, "/S", 0) - c.bare.values.back());
                c.perFile.values.push_back(c.quiet.values.back() / payload.files.size());
                c.functionPerFile.values.push_back(c.function.values.back() / payload.files.size());
                c.interactive.values.push_back(SetupInstall(payload, dest).copyMs);
            }
            RemoveTree(dest);
            RemoveTree(payload.folder);
        }
        for (auto& c : counts) {
            std::string n = std::to_string(c.files) + " files";
            AddRatioRow("Unattended install, " + n + ", vs VerInstallFileA loop", c.quiet, c.function, 1.1);
            AddRatioRow("Interactive copy phase, " + n + ", vs VerInstallFileA loop", c.interactive, c.function, 1.25);
        }
        bool flatPerFile = counts[1].perFile.Median() <= 1.2 * counts[0].perFile.Median();
        for (auto& c : counts) {   // the reference: the loop's own cost per file
            AddRow("Unattended install per file, " + std::to_string(c.files) + " files, vs the loop's", "ms",
                   c.perFile, c.files == 100 ? "" : "flat: ≤ 1.2 × at 100 files",
                   c.files == 100 ? kInfo : flatPerFile ? kMet : kMissed);
            g_rows.back().reference = c.functionPerFile;
        }

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
        AddRatioRow("Start to agreement page vs minimal program's window", setupStart, minimalSetup, 1.5,
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
        for (auto& c : counts) {
            std::string n = std::to_string(c.files) + " files: ";
            rawLine(n + "VerInstallFileA loop", c.function);
            rawLine(n + "setup /S /X, start to exit", c.bare);
            rawLine(n + "unattended install, start to exit less /S /X", c.quiet);
            rawLine(n + "interactive copy phase", c.interactive);
        }
        rawLine("uninstall, Yes to folders gone", uninstall);
        rawLine("DeleteFileA loop of the 1 MB set", deleteLoop);
        snprintf(line, sizeof line, "\nPrograms: %s; %d runs of each figure.\n",
                 sizeof(void*) == 8 ? "the x86_64 twin under 64-bit Wine" : "the shipped i686 programs under 32-bit Wine",
                 kRuns);
        WriteFile(out + "\\results.md", "# make bench\n\n" + table + line + kHow + raw);
        WriteFile(out + "\\install.dat", dat);
        printf("%s", line);
    } catch (const std::exception& e) {
        fprintf(stderr, "benchmark: %s\n", e.what());
        return 1;
    }
    return 0;
}
