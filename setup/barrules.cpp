#include "barrules.h"

#include "text.h"

BarChange ChangeBarText(const char* text, long storedPercent)
{
    BarChange c;
    c.percent = LeadingNumber(text);
    if (!text || !*text || c.percent == 0)
        c.repaint = kBarPaintErased;
    else if (c.percent == storedPercent)
        c.repaint = kBarKeep;
    else
        c.repaint = c.percent < storedPercent ? kBarPaintErased : kBarPaint;
    return c;
}
