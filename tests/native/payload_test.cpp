#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <zlib.h>

#include "payload.h"

namespace {

// A file as scripts/single-file writes it: a stand-in launcher, the entries,
// the end mark, padding to 8 bytes and the trailer.
std::string SingleFile(const std::vector<std::pair<std::string, std::string>>& files)
{
    std::string head = "MZ launcher", body;
    for (auto& f : files) {
        uint32_t n = (uint32_t)f.second.size();
        body += f.first + '\0' + std::string((const char*)&n, 4) + f.second;
    }
    body += '\0';
    body.append((8 - (head.size() + body.size() + 12) % 8) % 8, '\0');
    uint32_t trailer[2] = {(uint32_t)body.size(), (uint32_t)crc32(0, (const Bytef*)body.data(), (uInt)body.size())};
    return head + body + "ZSET" + std::string((const char*)trailer, 8);
}

bool Check(const std::string& file)
{
    const unsigned char* first = nullptr;
    std::vector<unsigned char> copy(file.begin(), file.end());   // exactly as long: the sanitizer sees overreads
    return CheckPayload(copy.data(), copy.size(), &first);
}

}  // namespace

// Each entry read back whole; any cut or changed byte, a name that leaves the
// folder, a size past the set or a set without setup refuses the whole file.
TEST(Payload, CheckedWholeBeforeUnpacking)
{
    const std::string good = SingleFile({{"README.TXT", "read me"}, {"SETUP.EXE", "MZ setup"}, {"EMPTY", ""}});
    const unsigned char* at = nullptr;
    ASSERT_TRUE(CheckPayload((const unsigned char*)good.data(), good.size(), &at));
    std::string names;
    for (PayloadEntry e; NextEntry(at, e);)
        names += std::string(e.name) + "=" + std::string((const char*)e.data, e.size) + ";";
    EXPECT_EQ("README.TXT=read me;SETUP.EXE=MZ setup;EMPTY=;", names);
    for (size_t i = 0; i < good.size(); ++i) {
        std::string changed = good;
        changed[i] ^= 0x20;
        EXPECT_EQ(i < 11, Check(changed)) << "byte " << i;   // the launcher's own bytes are not the set's
        EXPECT_FALSE(Check(good.substr(0, i))) << "cut to " << i;
    }
    for (const char* name : {"..\\SETUP.INI", "A\\B", "A/B", "C:X", "..", "X..Y", "SETUP.EXE:S"})
        EXPECT_FALSE(Check(SingleFile({{"SETUP.EXE", "x"}, {name, "x"}}))) << name;
    EXPECT_TRUE(Check(SingleFile({{"setup.exe", "x"}, {".X", ""}})));
    EXPECT_FALSE(Check(SingleFile({{"SETUP.INI", "x"}})));
    std::string past = SingleFile({{"SETUP.EXE", "x"}});
    past[11 + 10] = 20;   // SETUP.EXE's size, then its checksum made right again
    uint32_t crc = (uint32_t)crc32(0, (const Bytef*)past.data() + 11, (uInt)(past.size() - 23));
    past.replace(past.size() - 4, 4, (const char*)&crc, 4);
    EXPECT_FALSE(Check(past));
}

// The switches pass on with the blanks in front of them; only a first word
// "/S" is unattended, as setup reads it.
TEST(Payload, TheLauncherLine)
{
    struct { const char *line, *arguments; bool quiet; } cases[] = {
        {"player.exe /S /D=C:\\A B", " /S /D=C:\\A B", true},
        {"\"C:\\My files\\player.exe\"  /s", "  /s", true},
        {"\"C:\\My files\\player.exe\"/S", "/S", true},
        {"player.exe /Sx", " /Sx", false},
        {"player.exe /D=C:\\X /S", " /D=C:\\X /S", false},
        {"player.exe", "", false},
        {"\"C:\\open quote /S", "", false},
    };
    for (auto& c : cases) {
        EXPECT_STREQ(c.arguments, ArgumentsOf(c.line)) << c.line;
        EXPECT_EQ(c.quiet, IsQuietLine(ArgumentsOf(c.line))) << c.line;
    }
}
