#include <gtest/gtest.h>

#include "helperrules.h"

// Setup quotes the helper's path only when it holds a blank: the switch is
// found after either form of the program name.
TEST(HelperRules, TheSwitchFollowsTheProgramName)
{
    struct { const char* line; bool report; } cases[] = {
        {"C:\\TEMP\\ZUB1.TMP /msg", true},
        {"C:\\TEMP\\ZUB1.TMP\t/MSG", true},
        {"C:\\TEMP\\ZUB1.TMP", false},
        {"C:\\TEMP\\ZUB1.TMP/msg", false},           // still the program's name
        {"\"C:\\MY TEMP\\ZUB1.TMP\" /msg", true},
        {"\"C:\\MY TEMP\\ZUB1.TMP\"/msg", true},
        {"\"C:\\MY TEMP\\ZUB1.TMP /msg", false},     // the name runs to the end
        {"\"C:\\MY TEMP\\/msg\"", false},
        {"", false},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.report, HasReportSwitch(c.line)) << c.line;
}
