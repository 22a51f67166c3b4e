// watch [--auto] [--press ID,ID...] [--then CAPTION] [--shots DIR] PROGRAM [ARGS...]
// Starts a program and tells what it shows: each window's caption, texts,
// buttons and their states, with a screenshot of each. With --auto it answers
// every dialog it has described, so that a run without a user goes on to its
// end: the n-th dialog with the n-th id of --press, else its default button
// (setup's progress dialog is left alone); other windows are closed. --then
// watches, once the program has ended, for a window of that caption from
// another process (the removal helper's report).
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <set>
#include <string>
#include <vector>

#include "driver.h"
#include "quillset.h"

using namespace bench;

namespace {

struct Search {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND h, LPARAM lp)
{
    auto* s = (Search*)lp;
    DWORD p = 0;
    GetWindowThreadProcessId(h, &p);
    if (p == s->pid && IsWindowVisible(h))
        s->found.push_back(h);
    return TRUE;
}

std::vector<HWND> VisibleWindows(DWORD pid)
{
    Search s{pid, {}};
    EnumWindows(Collect, (LPARAM)&s);
    return s.found;
}

std::string Flags(HWND c)
{
    std::string f;
    if (!IsWindowEnabled(c))
        f += " disabled";
    LONG style = GetWindowLongA(c, GWL_STYLE);
    std::string cls = ClassOf(c);
    if (cls == "Edit" && (style & ES_READONLY))
        f += " read-only";
    if (cls == "Button") {
        LONG kind = style & 0x0F;
        if (kind == BS_DEFPUSHBUTTON)
            f += " default";
        if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON)
            f += SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? " checked" : " unchecked";
    }
    return f;
}

void Describe(HWND w, int n, const std::string& shots)
{
    printf("\n[%d] window \"%s\" (%s)\n", n, WindowText(w).c_str(), ClassOf(w).c_str());
    if (ClassOf(w) == "#32770") {
        Box b = ReadBox(w);
        if (b.icon != Icon::None)
            printf("    icon: %s\n", IconName(b.icon));
    }
    for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c))
            continue;
        std::string text = WindowText(c);
        std::string cls = ClassOf(c);
        if (text.empty() && cls == "Static")
            continue;
        if (text.size() > 300)
            text = text.substr(0, 300) + "...";
        for (auto& ch : text)
            if (ch == '\r' || ch == '\n')
                ch = ' ';
        printf("    %-8s %5d \"%s\"%s\n", cls.c_str(), GetDlgCtrlID(c), text.c_str(), Flags(c).c_str());
    }
    if (!shots.empty()) {
        char name[MAX_PATH];
        wsprintfA(name, "%s\\%02d.bmp", shots.c_str(), n);
        if (SaveScreenshot(w, name))
            printf("    screenshot: %s\n", name);
    }
    fflush(stdout);
}

int DefaultButton(HWND w)
{
    for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "Button" && IsWindowVisible(c) && IsWindowEnabled(c) &&
            (GetWindowLongA(c, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON)
            return GetDlgCtrlID(c);
    return IDOK;
}

// Answers a window that was described, as --auto says.
void Answer(HWND w, std::vector<int>& presses)
{
    if (ClassOf(w) != "#32770") {
        printf("    closing it\n");
        fflush(stdout);
        PostMessageA(w, WM_CLOSE, 0, 0);
        return;
    }
    if (GetDlgItem(w, IDC_PROGRESS_FRAME))
        return;
    int id = DefaultButton(w);
    if (!presses.empty()) {
        id = presses.front();
        presses.erase(presses.begin());
    }
    printf("    pressing %d\n", id);
    fflush(stdout);
    Press(w, id);
    WaitGone(w, 5000);
}

}  // namespace

int main(int argc, char** argv)
{
    bool autoPress = false;
    std::string shots, then;
    std::vector<int> presses;
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
        std::string a = argv[i];
        if (a == "--auto")
            autoPress = true;
        else if (a == "--shots" && i + 1 < argc)
            shots = argv[++i];
        else if (a == "--then" && i + 1 < argc)
            then = argv[++i];
        else if (a == "--press" && i + 1 < argc)
            for (char* p = argv[++i]; *p && (p == argv[i] || *p++ == ',');)
                presses.push_back((int)strtol(p, &p, 10));
    }
    if (i >= argc) {
        fprintf(stderr, "usage: watch [--auto] [--press ID,ID...] [--then CAPTION] [--shots DIR] PROGRAM [ARGS...]\n");
        return 2;
    }
    std::string program = argv[i++], args;
    for (; i < argc; ++i)
        args += std::string(args.empty() ? "" : " ") + argv[i];
    std::string folder = program.substr(0, program.find_last_of('\\'));

    Process p;
    if (!p.Start(program, args, folder)) {
        fprintf(stderr, "watch: cannot start %s\n", program.c_str());
        return 1;
    }
    printf("started %s %s\n", program.c_str(), args.c_str());
    std::set<HWND> seen;
    int n = 0;
    DWORD start = GetTickCount();
    long code;
    while ((code = p.Wait(100)) < 0) {
        for (HWND w : VisibleWindows(p.Id())) {
            if (seen.count(w))
                continue;
            Sleep(300);   // let it paint
            if (!IsWindowVisible(w))
                continue;
            seen.insert(w);
            Describe(w, ++n, shots);
            if (autoPress)
                Answer(w, presses);
        }
        if (GetTickCount() - start > 120000) {
            printf("\nstill running after 2 minutes: ending it\n");
            p.Kill();
            return 1;
        }
    }
    if (n == 0)
        printf("\nit showed no window\n");
    printf("\nended with exit code %ld\n", code);
    if (!then.empty()) {
        HWND w = nullptr;
        for (DWORD waited = GetTickCount(); !w && GetTickCount() - waited < 10000; Sleep(50))
            w = FindWindowA(nullptr, then.c_str());
        if (!w) {
            printf("\nno window \"%s\" followed\n", then.c_str());
            return 1;
        }
        Sleep(300);
        printf("\nthen, from another process:");
        Describe(w, ++n, shots);
        if (autoPress)
            Answer(w, presses);
    }
    return 0;
}
