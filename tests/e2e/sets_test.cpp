// Malformed install sets, kept as data under tests/sets/ (see its README):
// the real setup program runs in a copy of each and must end as the case
// says, writing nothing but what an install writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "bench.h"
#include "fixtures.h"
#include "quillset.h"
#include "regstate.h"
#include "walk.h"

using namespace bench;

namespace {

// The binaries a case may ask for, from the build.
std::string BuiltFile(const std::string& name)
{
    if (name == "VANTREL.EXE")
        return Built("Vantrel.exe");
    if (name == "VANTREL.DLL")
        return SampleSet("player") + "\\VANTREL.DLL";
    if (name == "NPZYNE32.DLL")
        return PluginLibrary();
    ADD_FAILURE() << "no built file " << name;
    return "";
}

// A value of CASE.INI, with {ProgramFiles} in it replaced.
std::string Setting(const std::string& ini, const char* section, const char* key, const char* def = "")
{
    char value[4096];
    GetPrivateProfileStringA(section, key, def, value, sizeof value, ini.c_str());
    std::string text = value;
    const std::string field = "{ProgramFiles}";
    size_t at = text.find(field);
    return at == std::string::npos ? text : text.replace(at, field.size(), ProgramFiles());
}

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// Copies a case folder's files and folders, all but CASE.INI.
void CopyCase(const std::string& from, const std::string& to)
{
    for (auto& name : List(from)) {
        if (IsFolder(from + "\\" + name)) {
            MakeFolders(to + "\\" + name);
            CopyCase(from + "\\" + name, to + "\\" + name);
        } else if (name != "CASE.INI") {
            Copy(from + "\\" + name, to + "\\" + name);
        }
    }
}

// What an install writes besides its files: the program's and the document
// type's registration.
bool IsRegistration(const std::string& change, const std::string& program)
{
    const std::string lm = "HKLM\\Software\\", windows = lm + "Microsoft\\Windows\\CurrentVersion\\";
    const std::string keys[] = {
        lm + "Classes\\.zyn", lm + "Classes\\Zyne.Pres.1.95", lm + "Classes\\MIME\\Database\\Content Type\\application/x-zyne",
        windows + "App Paths\\" + program, windows + "Uninstall\\" + program, "HKCU\\Software\\Zyne Systems",
        "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Extensions",
        "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Extensions",
    };
    for (auto& key : keys)
        if (change.compare(2, key.size(), key) == 0 && strchr(" \\", change.c_str()[2 + key.size()]))
            return true;
    return false;
}

// A line of the file listing for dest, below it or one of the folders on
// the way to it.
bool IsDestination(const std::string& change, const std::string& dest)
{
    std::string path = change.substr(2, change.find(' ', change.rfind('\\')) - 2);
    return path.compare(0, dest.size() + 1, dest + "\\") == 0 || dest.compare(0, path.size(), path) == 0;
}

// The case folders (BENCH_SET=<case> picks one).
std::vector<std::string> Cases()
{
    const char* only = getenv("BENCH_SET");
    std::vector<std::string> cases;
    for (auto& name : List(BENCH_SETS_DIR))
        if (Exists(std::string(BENCH_SETS_DIR) + "\\" + name + "\\CASE.INI") && (!only || name == only))
            cases.push_back(name);
    return cases;
}

class Sets : public ::testing::TestWithParam<std::string> {
protected:
    void TearDown() override { ResetProduct(); }
    void Run(const std::string& name);
};

void Sets::Run(const std::string& name)
{
    const std::string source = std::string(BENCH_SETS_DIR) + "\\" + name, ini = source + "\\CASE.INI";
    const std::string program = Setting(ini, "Case", "Program", "SETUP.EXE");
    ResetProduct();
    std::string folder = FreshFolder("sets\\" + name);
    CopyCase(source, folder);
    Copy(Built("Quillset.exe"), folder + "\\" + program);
    for (auto& file : Words(Setting(ini, "Case", "Built")))
        Copy(BuiltFile(file), folder + "\\" + file);
    for (auto& file : Words(Setting(ini, "Case", "ReadOnly")))
        for (auto& each : file == "*" ? List(folder) : std::vector<std::string>{file})
            SetFileAttributesA((folder + "\\" + each).c_str(), FILE_ATTRIBUTE_READONLY);
    Process holder;
    std::string locked = Setting(ini, "Case", "Locked");
    if (!locked.empty())
        ASSERT_TRUE(StartHolder(holder, folder + "\\" + locked));

    const std::string message = Setting(ini, "Outcome", "Message"), product = Setting(ini, "Outcome", "Product");
    const bool installs = message.empty();
    std::string dest = ProgramFiles(), subdir = Setting(ini, "Outcome", "Installs");
    if (!subdir.empty())
        dest += "\\" + subdir;
    const std::string title = program.substr(0, program.find('.'));
    const std::vector<std::string> there = List(dest);
    regstate::State before = regstate::MachineState(folder);

    Walk run(folder + "\\" + program, "");
    HWND page = nullptr;
    int shown = 0, completions = 0;
    while (HWND h = run.Next(15000)) {
        if (IsPage(h, IDC_AGREEMENT_TEXT)) {
            run.Press(h, IDOK);
        } else if (IsPage(h, IDC_PLAYER_FOLDER)) {
            // OK once; a page that stays after a message is cancelled
            if (!page)
                EXPECT_EQ(dest, ItemText(h, IDC_PLAYER_FOLDER));
            // the other product wants Navigator's folder, which the bench has not: the user unticks it
            if (!page && !ItemEnabled(h, IDOK) && ItemChecked(h, IDC_OTHER_PRODUCT)) {
                bench::Press(h, IDC_OTHER_PRODUCT);
                Eventually([&] { return ItemEnabled(h, IDOK); });
            }
            bool ok = !page && ItemEnabled(h, IDOK);
            EXPECT_TRUE(ok || page) << "the page cannot be confirmed";
            run.Press(h, ok ? IDOK : IDCANCEL, ok);
            page = h;
        } else {
            Box box = ReadBox(h);
            EXPECT_EQ(title, box.caption);
            std::string readme = Exists(folder + "\\README.TXT") ? SetupText(IDS_README_OFFER) : "";
            if (page && box.text == SetupText(IDS_CREATE_FOLDER, dest, product)) {
                run.Press(h, IDOK);
            } else if (installs && box.text == SetupText(IDS_INSTALLED, product, readme)) {
                ++completions;
                run.Press(h, readme.empty() ? IDOK : IDNO);
            } else {
                ++shown;
                EXPECT_EQ(SetupText(atoi(message.c_str()), Setting(ini, "Outcome", "Arg1"), Setting(ini, "Outcome", "Arg2")),
                          box.text);
                EXPECT_STREQ(Setting(ini, "Outcome", "Icon").c_str(), IconName(box.icon));
                run.Press(h, box.buttons.empty() ? IDOK : box.buttons[0]);
                if (page)
                    run.Again(page);
            }
        }
    }
    EXPECT_EQ(0, run.Setup().Wait(10000)) << "setup still runs";
    EXPECT_EQ(installs ? 0 : 1, shown);
    EXPECT_EQ(installs ? 1 : 0, completions);
    holder.Kill();

    // nothing written but the install's files and registration
    const std::string registered = Setting(ini, "Outcome", "Registers", "VANTREL.EXE");
    std::vector<std::string> changes;
    for (auto& change : regstate::Changes(before, regstate::MachineState(folder)))
        if (!installs || !(IsDestination(change, dest) || IsRegistration(change, registered)))
            changes.push_back(change);
    EXPECT_EQ(std::vector<std::string>{}, changes);
    if (installs) {
        std::vector<std::string> added;
        for (auto& file : List(dest))
            if (std::find(there.begin(), there.end(), file) == there.end())
                added.push_back(file);
        EXPECT_EQ(Words(Setting(ini, "Outcome", "Files")), added);
        std::string program = RegString(HKEY_LOCAL_MACHINE,
                                        "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + registered, nullptr);
        EXPECT_TRUE(Exists(program)) << "registered: " << program;
    }
    // an install straight into the program-files folder takes only its own files away
    for (auto& file : List(folder))
        SetFileAttributesA((folder + "\\" + file).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (installs && subdir.empty())
        for (auto& file : Words(Setting(ini, "Outcome", "Files")))
            RemoveTree(dest + "\\" + file);
}

}  // namespace

TEST_P(Sets, EndsAsItsCaseSays) { Run(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Case, Sets, ::testing::ValuesIn(Cases()), [](const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!isalnum((unsigned char)c))
            c = '_';
    return name;
});

TEST(SetCases, AtLeastSixty)
{
    if (!getenv("BENCH_SET"))
        EXPECT_GE(Cases().size(), 60u);
}
