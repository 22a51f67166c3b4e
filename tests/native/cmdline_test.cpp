#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "caption.h"
#include "cmdline.h"
#include "setupline.h"

namespace {

// What a command line gives the engine, as "name=value" lines and the path.
struct Read : COptionSink {
    std::vector<std::string> options;
    std::string document;
    bool haveDocument = false;

    explicit Read(const char* line)
    {
        CStr path;
        haveDocument = ReadCommandLine(line, *this, path);
        document = path.c_str();
    }
    void OnOption(const char* name, const char* value) override
    {
        options.push_back(std::string(name) + "=" + value);
    }
};

using Lines = std::vector<std::string>;

}  // namespace

TEST(CommandLine, TokensOptionsAndPath)
{
    struct {
        const char* line;
        Lines options;
        const char* document;   // null: none given
    } cases[] = {
        {"", {}, nullptr},
        {"   ", {}, nullptr},
        {"/border=thin \"C:\\Talks\\My talk.zyn\" -dithering:on",
         {"border=thin", "dithering=on"}, "C:\\Talks\\My talk.zyn"},
        // a second path is an option named after its drive letter
        {"C:\\a.zyn C:\\b.zyn", {"C=\\b.zyn"}, "C:\\a.zyn"},
        {"C:\\a.zyn border=thin width:4", {"border=thin", "width=4"}, "C:\\a.zyn"},
        // later bare tokens without a divider are dropped
        {"C:\\a.zyn loose", {}, "C:\\a.zyn"},
        // options without a name or a value, or without a divider, are dropped
        {"/=on /border= /border -: /", {}, nullptr},
        {"\"/orientation : landscape\"", {"orientation=landscape"}, nullptr},
        // the first "=" divides; ":" only when there is no "="
        {"/a:b=c -url=http://x/y", {"a:b=c", "url=http://x/y"}, nullptr},
        {"/a=b=c", {"a=b=c"}, nullptr},
        // options may come before, between and after the path, in order
        {"-z=1 doc.zyn -y=2", {"z=1", "y=2"}, "doc.zyn"},
        // blanks separate, several at a time
        {"  /a=1    doc.zyn   ", {"a=1"}, "doc.zyn"},
        // a quoted token ends at its closing quote; what follows starts the next
        {"\"C:\\My doc.zyn\"/a=1", {"a=1"}, "C:\\My doc.zyn"},
        // a quote inside a token is an ordinary character
        {"a\"b c\"d", {}, "a\"b"},
        // an empty quoted token is no path
        {"\"\" doc.zyn", {}, "doc.zyn"},
        // a "-" path is an option, not a document
        {"-doc.zyn", {}, nullptr},
        // an unclosed quote runs to the next blank
        {"\"C:\\My talk.zyn", {}, "C:\\My"},      // then "talk.zyn" has no divider
        {"\"C:\\a.zyn b=1", {"b=1"}, "C:\\a.zyn"},
        {"doc.zyn \"/border=thin", {"border=thin"}, "doc.zyn"},
        {"\"", {}, nullptr},
        {"doc.zyn \"", {}, "doc.zyn"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.line);
        Read r(c.line);
        EXPECT_EQ(c.options, r.options);
        EXPECT_EQ(c.document != nullptr, r.haveDocument);
        EXPECT_EQ(c.document ? c.document : "", r.document);
    }
}

TEST(CommandLine, TabsBelongToTheirToken)
{
    Read a("/border=thin\tC:\\a.zyn");
    EXPECT_EQ(Lines{"border=thin\tC:\\a.zyn"}, a.options);
    EXPECT_FALSE(a.haveDocument);

    Read b("C:\\My\ttalk.zyn /a\t=\tb");   // only blanks are trimmed
    EXPECT_EQ("C:\\My\ttalk.zyn", b.document);
    EXPECT_EQ(Lines{"a\t=\tb"}, b.options);

    Read c("\t");
    EXPECT_EQ("\t", c.document);
}

TEST(CommandLine, AnyLengthWithoutLimits)
{
    // 100 KB: a long path, a long option value, many options
    std::string path = "C:\\" + std::string(40000, 'p') + ".zyn";
    std::string value(30000, 'v');
    std::string line = "\"" + path + "\" /long=" + value;
    Lines many;
    while (line.size() < 100 * 1024) {
        std::string n = std::to_string(many.size());
        line += " -o" + n + ":" + n;
        many.push_back("o" + n + "=" + n);
    }
    Read r(line.c_str());
    EXPECT_EQ(path, r.document);
    ASSERT_EQ(many.size() + 1, r.options.size());
    EXPECT_EQ("long=" + value, r.options[0]);
    EXPECT_EQ(many.back(), r.options.back());

    // an unclosed quote at the start of 100 KB without blanks
    std::string unclosed = "\"" + std::string(100 * 1024, 'x');
    Read u(unclosed.c_str());
    EXPECT_EQ(100u * 1024, u.document.size());
}

TEST(CommandLine, SplitOptionTrimsBlanksOnly)
{
    struct {
        const char* text;
        bool ok;
        const char* name;
        const char* value;
    } cases[] = {
        {"  a  =  b  ", true, "a", "b"},
        {"orientation : landscape", true, "orientation", "landscape"},
        {"a =  ", false, "a", ""},
        {"   = b", false, "", "b"},
        {"novalue", false, nullptr, nullptr},
        {"a=", false, "a", ""},
        {"=", false, "", ""},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.text);
        CStr name, value;
        EXPECT_EQ(c.ok, SplitOption(c.text, strlen(c.text), name, value));
        if (c.name) {
            EXPECT_STREQ(c.name, name);
            EXPECT_STREQ(c.value, value);
        }
    }
    // only the given length counts: no terminator needed
    const char text[] = {'k', '=', 'v', 'X'};
    CStr name, value;
    EXPECT_TRUE(SplitOption(text, 3, name, value));
    EXPECT_STREQ("v", value);
}

TEST(Caption, OrderFollowsThePlatformVersion)
{
    struct {
        unsigned major, minor;
        bool titleFirst;
    } cases[] = {
        {3, 10, false}, {3, 51, false}, {3, 95, true}, {4, 0, true}, {5, 1, true}, {6, 1, true},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.titleFirst, TitleFirst(c.major, c.minor)) << c.major << "." << c.minor;

    char buf[260];
    MakeCaption(buf, sizeof buf, "Zyne Talkweave Player", "Sales", true);
    EXPECT_STREQ("Sales - Zyne Talkweave Player", buf);
    MakeCaption(buf, sizeof buf, "Zyne Talkweave Player", "Sales", false);
    EXPECT_STREQ("Zyne Talkweave Player - Sales", buf);
    MakeCaption(buf, sizeof buf, "Zyne Talkweave Player", "", true);
    EXPECT_STREQ(" - Zyne Talkweave Player", buf);
}

TEST(Caption, LongTitlesAreShortenedNeverOverrun)
{
    const std::string program = "Zyne Talkweave Player";
    const size_t room = 259 - program.size() - 3;
    for (size_t length : {room - 1, room, room + 1, (size_t)10 * 1024}) {
        SCOPED_TRACE(length);
        std::string title(length, 't');
        for (bool first : {true, false}) {
            char buf[261];
            buf[260] = 'G';   // guard past the 260 given
            MakeCaption(buf, 260, program.c_str(), title.c_str(), first);
            std::string caption = buf;
            EXPECT_EQ('G', buf[260]);
            EXPECT_EQ(program.size() + 3 + std::min(length, room), caption.size());
            std::string shown = length <= room ? title : std::string(room - 3, 't') + "...";
            EXPECT_EQ(first ? shown + " - " + program : program + " - " + shown, caption);
        }
    }
}

TEST(Caption, TinyBuffers)
{
    char buf[32];
    MakeCaption(buf, 26, "Zyne Talkweave Player", "Sales", true);   // 21 + 3 + "..." needs 28
    EXPECT_STREQ("Zyne Talkweave Player", buf);
    MakeCaption(buf, 28, "Zyne Talkweave Player", "Sales", true);
    EXPECT_STREQ("Zyne Talkweave Player", buf);
    MakeCaption(buf, 29, "Zyne Talkweave Player", "Sales", true);   // room 4: "S..." cannot hold 5
    EXPECT_STREQ("S... - Zyne Talkweave Player", buf);
    MakeCaption(buf, 26, "Zyne Talkweave Player", "S", false);    // a title that fits shows
    EXPECT_STREQ("Zyne Talkweave Player - S", buf);
    MakeCaption(buf, 24, "Zyne Talkweave Player", "", false);      // 21 + 3 would need 25
    EXPECT_STREQ("Zyne Talkweave Player", buf);
    MakeCaption(buf, 10, "Zyne Talkweave Player", "Sales", false);
    EXPECT_STREQ("", buf);
    buf[0] = 'x';
    MakeCaption(buf, 0, "P", "T", true);
    EXPECT_EQ('x', buf[0]);
}

// Setup's command line: interactive unless it starts with /S; after /S each
// switch once, split as the system splits arguments, an unquoted /D= taking
// the rest of the line; everything else refused.
TEST(SetupLine, Switches)
{
    const std::string longName(260, 'x'), fits(259, 'x');   // values end in 260-character buffers
    struct { std::string line; SetupLineKind kind; std::string read; } cases[] = {   // uninstall|noOther|log|navigator|folder[|progress]
        {"", kInteractiveLine, ""}, {"/uninstall", kInteractiveLine, ""}, {"-S", kInteractiveLine, ""},
        {"/SX /D=C:\\A", kInteractiveLine, ""}, {"/S", kUnattendedLine, "0|0|||"}, {"  /s  ", kUnattendedLine, "0|0|||"},
        {"/S /UNINSTALL", kUnattendedLine, "1|0|||"}, {"/S /uninstall /noother /log=x.log", kUnattendedLine, "1|1|x.log||"},
        {"/S /uninstall /NAVIGATOR=C:\\N", kUnattendedLine, "1|0||C:\\N|"},
        {"/S /LOG=\"C:\\My logs\\a.log\" /NAVIGATOR=\"C:\\Net scape\" /NOOTHER", kUnattendedLine,
         "0|1|C:\\My logs\\a.log|C:\\Net scape|"},
        {"/S /D=C:\\Program Files\\New folder  ", kUnattendedLine, "0|0|||C:\\Program Files\\New folder"},
        {"/S /d=\"C:\\A B\"", kUnattendedLine, "0|0|||C:\\A B"},
        {"/S /D=C:\\A /NOOTHER", kUnattendedLine, "0|0|||C:\\A /NOOTHER"},   // the rest of the line
        {"/S /X", kBadLine, ""}, {"/S uninstall", kBadLine, ""}, {"/S /uninstall /uninstall", kBadLine, ""},
        // quoted as a whole or in part, as tools quote; backslashes before a quote halved
        {"/S \"/D=C:\\Company Apps\\Deep Player\"", kUnattendedLine, "0|0|||C:\\Company Apps\\Deep Player"},
        {"/S \"/D=C:\\A B\\\\\" /NOOTHER", kUnattendedLine, "0|1|||C:\\A B\\"},
        {"/S /D=\"C:\\A B\"\\C /NO\"OTHER\" \"/PROGRESS\"", kUnattendedLine, "0|1|||C:\\A B\\C|progress"},
        {"/S /D=\"C:\\A B\" \"/uninstall\"", kBadLine, ""}, {"/S /D=C:\\\"A B\"", kBadLine, ""},
        {"/S \"/uninstall\" \"/LOG=C:\\a b\\x.log\" \"/NAVIGATOR=C:\\a b\"", kUnattendedLine, "1|0|C:\\a b\\x.log|C:\\a b|"},
        {"/S /NAVIGATOR=\"C:\\Net scape\\\" /LOG=a\\\\b", kUnattendedLine, "0|0|a\\\\b|C:\\Net scape\\|"},
        {"/S /LOG=\"a\"b", kUnattendedLine, "0|0|ab||"}, {"/S /LOG=a /NAVIGATOR=n\"\"", kBadLine, ""}, {"/S /PROGRESS /uninstall", kUnattendedLine, "1|0||||progress"},
        {"/S \"/LOG=" + fits + "\"", kUnattendedLine, "0|0|" + fits + "||"},
        {"/S \"/LOG=" + longName + "\"", kBadLine, ""}, {"/S /LOG=a\\\"b", kBadLine, ""},
        {"/S /LOG=\"a\\\"b\"", kBadLine, ""}, {"/S /LOG=\"a\"\"b\"", kBadLine, ""}, {"/S /LOG=a\"\"\"b", kBadLine, ""},
        {"/S \"/D=C:\\A\" /D=C:\\B", kBadLine, ""}, {"/S /PROGRESS /progress", kBadLine, ""}, {"\"/S\" /D=C:\\A", kInteractiveLine, ""},
        {"/S /LOG=a /LOG=b", kBadLine, ""}, {"/S /LOG=", kBadLine, ""}, {"/S /LOG=\"a b", kBadLine, ""},
        {"/S /D=", kBadLine, ""}, {"/S /D=  ", kBadLine, ""},
        {"/S /D=C:\\a\"b", kBadLine, ""}, {"/S /D=C:\\" + longName, kBadLine, ""},
        {"/S /NAVIGATOR=" + longName, kBadLine, ""}, {"/S /uninstall /D=C:\\A", kBadLine, ""},
        {"/S /LOG=" + fits, kUnattendedLine, "0|0|" + fits + "||"}, {"/S /LOG=" + longName, kBadLine, ""},
        {"/S /NAVIGATOR=\"" + fits + "\"", kUnattendedLine, "0|0||" + fits + "|"},
        {"/S /NAVIGATOR=\"" + longName + "\"", kBadLine, ""}, {"/S /D=" + fits, kUnattendedLine, "0|0|||" + fits},
        {"/S /D=\"" + longName + "\"", kBadLine, ""}, {"/S /S", kBadLine, ""}, {"/S /NOOTHER /noother", kBadLine, ""},
        {"/S /NAVIGATOR=a /navigator=b", kBadLine, ""}, {"/S /LOG=a /uninstall /log=a", kBadLine, ""},
    };
    for (auto& c : cases) {
        UnattendedSwitches s;
        EXPECT_EQ(c.kind, ReadSetupLine(c.line.c_str(), s)) << c.line;
        std::string read = std::string(s.uninstall ? "1|" : "0|") + (s.noOther ? "1|" : "0|") + s.log.c_str() + "|" +
                           s.navigator.c_str() + "|" + s.folder.c_str() + (s.progress ? "|progress" : "");
        if (c.kind == kUnattendedLine)
            EXPECT_EQ(c.read, read) << c.line;
    }
}
