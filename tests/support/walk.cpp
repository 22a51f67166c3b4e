#include "walk.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include "bench.h"
#include "fixtures.h"
#include "quillset.h"

namespace bench {

static std::string s_market;

Market::Market(const std::string& language) { s_market = language; }
Market::~Market() { s_market.clear(); }
std::string Market::Folder() { return s_market.empty() ? "" : s_market + "\\"; }
std::string Market::Suffix() { return s_market.empty() ? "" : "-" + s_market; }

std::string SetupText(UINT id, const std::string& arg1, const std::string& arg2)
{
    return BuiltText(Market::Folder() + "Quillset.exe", id, arg1, arg2);
}

std::string ProgramFiles()
{
    return RegString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
}

Walk::Walk(const std::string& exe, const std::string& args, bool launched)
{
    std::string folder = exe.substr(0, exe.find_last_of('\\'));
    EXPECT_TRUE(m_setup.Start(exe, args, folder)) << exe;
    if (!launched)
        m_setupId = m_setup.Id();
}

DWORD Walk::SetupId()
{
    if (m_setupId)
        return m_setupId;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ParentProcessID == m_setup.Id())
            m_setupId = entry.th32ProcessID;
    CloseHandle(snapshot);
    return m_setupId;
}

HWND Walk::Next(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        HWND h = nullptr;
        while ((h = FindWindowExA(nullptr, h, "#32770", nullptr))) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == SetupId() && pid && IsWindowVisible(h) && !IsPage(h, IDC_PROGRESS_FRAME) && !m_answered.count(h)) {
                Sleep(50);   // let it finish painting
                if (IsWindowVisible(h))   // a window shown only in passing is none to answer
                    return h;
            }
        }
        if (!m_setup.Running())
            return nullptr;
        Sleep(20);
    }
    return nullptr;
}

Box Walk::Expect(const std::string& text)
{
    HWND h = Next();
    Box box = h ? ReadBox(h) : Box();
    EXPECT_EQ(text, box.text);
    EXPECT_EQ("SETUP", box.caption);
    return box;
}

void Walk::Press(HWND h, int id, bool stays)
{
    EXPECT_TRUE(Eventually([&] { return bench::Press(h, id); }, 2000)) << "button " << id;
    m_answered.insert(h);
    if (!stays) {
        EXPECT_TRUE(WaitGone(h, 10000));
    }
}

void Walk::Ends()
{
    HWND h = Next();
    EXPECT_EQ(nullptr, h) << "more: " << (h ? ReadBox(h).text : "");
    EXPECT_EQ(0, m_setup.Wait(10000));
}

void Walk::ThroughThePages(const std::string& expectedFolder, int answer, const std::string& product)
{
    HWND page = Next();
    ASSERT_TRUE(page && IsPage(page, IDC_AGREEMENT_TEXT)) << "no agreement page";
    Press(page, IDOK);
    page = Next();
    ASSERT_TRUE(page && IsPage(page, IDC_PLAYER_FOLDER)) << "no destination page";
    EXPECT_EQ(expectedFolder, ItemText(page, IDC_PLAYER_FOLDER));
    bool asks = answer == IDOK && !IsFolder(expectedFolder);   // to make the folder
    Press(page, answer, asks);
    if (asks) {
        HWND create = Next();
        ASSERT_TRUE(create);
        EXPECT_EQ(SetupText(IDS_CREATE_FOLDER, expectedFolder, product), ReadBox(create).text);
        Press(create, IDOK);
    }
}

void ResetProduct()
{
    ResetDocumentType(".zyn", "Zyne.Pres.1.95", "MIME\\Database\\Content Type\\application/x-zyne");
    for (const char* name : {"VANTREL.EXE", "NPZYNE32.DLL", "NETSCAPE.EXE"})
        ResetProgramEntries(name, "Zyne Systems");
    RemoveTree(ProgramFiles() + "\\Zyne");
    SetWindowsVersion("SETUP.EXE", nullptr);
}

std::string CopySet(const std::string& sample, const std::string& folder)
{
    MakeFolders(folder);
    for (auto& name : List(SampleSet(sample)))
        Copy(SampleSet(sample) + "\\" + name, folder + "\\" + name);
    return folder + "\\SETUP.EXE";
}

std::string InstallPlayer(const std::string& exe, bool launched)
{
    const char player[] = "Zyne Talkweave Player";
    std::string dest = ProgramFiles() + "\\Zyne\\Talkweave";
    Walk run(exe, "", launched);
    run.ThroughThePages(dest);
    Box done = run.Expect(SetupText(IDS_INSTALLED, player, SetupText(IDS_README_OFFER)));
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), done.buttons);
    EXPECT_EQ(IDNO, done.defaultButton);
    EXPECT_STREQ("question", IconName(done.icon));
    run.Press(done.hwnd, IDNO);
    run.Ends();
    return dest;
}

void Uninstall(const std::string& folder)
{
    {
        Walk run(folder + "\\SETUP.EXE", "/uninstall");
        run.Press(run.Expect(SetupText(IDS_CONFIRM_REMOVE)).hwnd, IDYES);
        run.Ends();
    }
    HWND report = HelperMessage(10000);
    EXPECT_TRUE(report) << "no report from the helper";
    if (report) {
        bench::Press(report, IDOK);
        WaitGone(report, 5000);
    }
}

// A message box captioned as setup, of any process, other than `answered`.
static HWND SetupBox(HWND answered, DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(50)) {
        HWND h = nullptr;
        while ((h = FindWindowExA(nullptr, h, "#32770", "SETUP")))
            if (h != answered && IsWindowVisible(h) && !IsPage(h, IDC_PROGRESS_FRAME))
                return h;
    }
    return nullptr;
}

std::string SystemFolder()
{
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    return system;
}

std::string RemoveThroughEntry(const std::string& key)
{
    Process tool;
    EXPECT_TRUE(tool.Start(SystemFolder() + "\\uninstaller.exe", "--remove " + key, SystemFolder()));
    HWND confirm = SetupBox(nullptr, 20000);
    EXPECT_TRUE(confirm) << "the command of entry " << key << " asked nothing";
    if (!confirm)
        return "";
    EXPECT_EQ(SetupText(IDS_CONFIRM_REMOVE), ReadBox(confirm).text);
    bench::Press(confirm, IDYES);
    WaitGone(confirm, 10000);
    HWND report = SetupBox(confirm, 20000);
    std::string text = report ? ReadBox(report).text : "";
    if (report) {
        bench::Press(report, IDOK);
        WaitGone(report, 5000);
    }
    EXPECT_EQ(0, tool.Wait(10000));
    return text;
}

bool OpenedByShell(const std::string& document)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::string trace = std::string(temp) + "engine-trace.txt";
    DeleteFileA(trace.c_str());
    SetEnvironmentVariableA("VANTREL_ENGINE_TRACE", trace.c_str());
    Process shell;
    bool started = shell.Start(SystemFolder() + "\\start.exe", "\"" + document + "\"", SystemFolder());
    SetEnvironmentVariableA("VANTREL_ENGINE_TRACE", nullptr);
    HWND player = nullptr;
    started = started && Eventually([&] { return (player = FindWindowA("Zyne Talkweave Player_MAIN", nullptr)); });
    std::string name = document.substr(document.find_last_of('\\') + 1);
    bool opened =
        started && Eventually([&] { return Exists(trace) && ReadFile(trace).find(name) != std::string::npos; });
    if (player) {
        // gone for good: a player still running would hold up a removal
        DWORD pid = 0;
        GetWindowThreadProcessId(player, &pid);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
        PostMessageA(player, WM_CLOSE, 0, 0);
        if (process) {
            WaitForSingleObject(process, 10000);
            CloseHandle(process);
        }
    }
    DeleteFileA(trace.c_str());
    return opened;
}

HWND ProgressDialog(DWORD pid)
{
    HWND h = nullptr;
    while ((h = FindWindowExA(nullptr, h, "#32770", nullptr))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == pid && IsPage(h, IDC_PROGRESS_FRAME))
            return h;
    }
    return nullptr;
}

HWND HelperMessage(DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(50))
        if (HWND h = FindWindowA("#32770", "SETUP"))
            return h;
    return nullptr;
}

}  // namespace bench
