// The helper's launch, run in this program, which carries the probe as its
// resource 143: the probe writes down how it was started.
#include <gtest/gtest.h>

#include <sstream>

#include "bench.h"
#include "driver.h"
#include "launch.h"

using namespace bench;

namespace {

DWORD g_chunk, g_writesLeft;
decltype(&::WriteFile) g_write;

BOOL WINAPI LimitedWrite(HANDLE file, LPCVOID bytes, DWORD n, LPDWORD done, LPOVERLAPPED overlapped)
{
    *done = 0;
    return g_writesLeft-- > 0 && g_write(file, bytes, n < g_chunk ? n : g_chunk, done, overlapped);
}

// While it lives, this program's WriteFile writes at most `chunk` bytes a
// call and fails after `writes` calls.
class WriteLimit {
public:
    WriteLimit(DWORD chunk, DWORD writes) : m_slot(nullptr)
    {
        g_chunk = chunk;
        g_writesLeft = writes;
        g_write = &::WriteFile;
        auto base = (BYTE*)GetModuleHandleA(nullptr);
        auto nt = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
        auto d = (IMAGE_IMPORT_DESCRIPTOR*)(base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
        for (; d->Name && !m_slot; ++d)
            for (auto slot = (void**)(base + d->FirstThunk); *slot && !m_slot; ++slot)
                if (*slot == (void*)g_write)
                    m_slot = slot;
        Put((void*)&LimitedWrite);
    }
    ~WriteLimit() { Put((void*)g_write); }

private:
    void Put(void* function)
    {
        DWORD was;
        ASSERT_TRUE(m_slot && VirtualProtect(m_slot, sizeof *m_slot, PAGE_READWRITE, &was));
        *m_slot = function;
        VirtualProtect(m_slot, sizeof *m_slot, was, &was);
    }
    void** m_slot;
};

// Wine adds these to every environment it passes on.
bool AddedByWine(const std::string& entry)
{
    return entry.rfind("WINE", 0) == 0 || entry.rfind("SystemDrive=", 0) == 0 || entry.rfind("SystemRoot=", 0) == 0;
}

class Launch : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(sizeof was, was);
        base = FreshFolder("launch");
        set = base + "\\Set";
        MakeFolders(set);
        SetCurrentDirectoryA(set.c_str());   // setup's current folder
        for (auto& v : vars)
            SetEnvironmentVariableA(v.first, v.second.c_str());
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(was);
        for (auto& v : vars)
            SetEnvironmentVariableA(v.first, nullptr);
    }
    // The temporary folder, base\<name>.
    std::string Temp(const char* name)
    {
        std::string temp = base + "\\" + name;
        MakeFolders(temp);
        SetEnvironmentVariableA("TMP", temp.c_str());
        return temp;
    }
    bool Start(const char* displayName, bool report)
    {
        return LaunchRemovalHelper(CSetupFile(set.c_str(), "SETUP.EXE"), displayName, report);
    }

    char was[MAX_PATH];
    std::string base, set;
    // setup's environment: two drives' folders, and what must stay behind
    std::vector<std::pair<const char*, std::string>> vars = {
        {"=C:", "C:\\bench\\launch"}, {"=E:", "E:\\Data"}, {"=ExitCode", "00000001"},
        {"SETUPMODULE", "C:\\stale\\SETUP.EXE"}, {"TMP", ""}};
};

}  // namespace

TEST_F(Launch, TheHelperSeesOnlyTheProtocol)
{
    struct { const char* temp; const char* name; bool report; DWORD chunk; } cases[] = {
        {"Temp", "Zyne Talkweave Player", false, 0xFFFFFFFF},
        {"My Temp", "", true, 1000},   // short writes go on where they stopped
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.temp);
        std::string temp = Temp(c.temp);
        {
            WriteLimit limit(c.chunk, 0xFFFFFFFF);
            ASSERT_TRUE(Start(c.name, c.report));
        }
        std::vector<std::string> names;
        for (DWORD t = GetTickCount(); (names = List(temp)).size() < 2 && GetTickCount() - t < 5000;)
            Sleep(50);
        ASSERT_EQ(2u, names.size());
        std::string helper = temp + "\\" + names[0];
        EXPECT_EQ(names[0] + ".out", names[1]);
        EXPECT_EQ(0u, names[0].find("ZUB")) << names[0];
        EXPECT_EQ(0, lstrcmpiA(".tmp", names[0].substr(names[0].size() - 4).c_str())) << names[0];
        EXPECT_EQ(ReadFile(Built("tests\\fixtures\\PROBE.EXE")), ReadFile(helper));

        std::istringstream out(ReadFile(helper + ".out"));
        std::string command, folder, handles, entry;
        std::getline(out, command);
        std::getline(out, folder);
        std::getline(out, handles);
        std::vector<std::string> environment;
        while (std::getline(out, entry))
            if (!AddedByWine(entry))
                environment.push_back(entry);
        EXPECT_EQ((c.report ? "\"" + helper + "\" /msg" : helper), command);
        EXPECT_EQ(set, folder);
        EXPECT_EQ("none none none ", handles);
        EXPECT_EQ((std::vector<std::string>{"=C:=C:\\bench\\launch", "=E:=E:\\Data", "SETUPMODULE=" + set + "\\SETUP.EXE",
                                            std::string("SETUPAPPDISPLAYNAME=") + c.name}),
                  environment);
    }
}

TEST_F(Launch, FailuresLeaveNoFile)
{
    std::string temp = Temp("Temp");
    {
        WriteLimit limit(1000, 2);
        EXPECT_FALSE(Start("Zyne Talkweave Player", true));
    }
    EXPECT_TRUE(List(temp).empty());

    // a program without resource 143 writes nothing and starts nothing
    Process bare;
    ASSERT_TRUE(bare.Start(Built("tests\\LaunchBare.exe"), "", set));
    EXPECT_EQ(0, bare.Wait(10000));
    EXPECT_TRUE(List(temp).empty());
}
