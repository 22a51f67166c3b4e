#include <gtest/gtest.h>

#include "barrules.h"

TEST(BarText, ErasesOnlyWhenTheBarShrinksOrEmpties)
{
    struct { const char* text; long before; BarRepaint repaint; long after; } cases[] = {
        {"40%", 60, kBarPaintErased, 40},   // falling: the old fill must go
        {"60%", 40, kBarPaint, 60},         // growing: paint over, no flicker
        {"60%", 60, kBarKeep, 60},
        {"", 60, kBarPaintErased, 0},
        {"", 0, kBarPaintErased, 0},
        {"0%", 0, kBarPaintErased, 0},      // zero always erases, even when unchanged
        {"0%", 35, kBarPaintErased, 0},
        {"100%", 99, kBarPaint, 100},
        {"  7%", 3, kBarPaint, 7},          // leading blanks
        {"-5%", 10, kBarPaintErased, -5},   // a sign counts
        {"done", 50, kBarPaintErased, 0},   // no digits read as 0
        {"42", 41, kBarPaint, 42},
    };
    for (auto& c : cases) {
        BarChange got = ChangeBarText(c.text, c.before);
        EXPECT_EQ(c.repaint, got.repaint) << '"' << c.text << "\" after " << c.before;
        EXPECT_EQ(c.after, got.percent) << '"' << c.text << "\" after " << c.before;
    }
    EXPECT_EQ(kBarPaintErased, ChangeBarText(nullptr, 20).repaint);
}
