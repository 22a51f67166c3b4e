// How the percentage bar reacts to a new text. No Windows headers.
#pragma once

// What a new bar text asks of the window.
enum BarRepaint {
    kBarKeep,          // same percentage: nothing to paint
    kBarPaint,         // a larger percentage: paint over what is there
    kBarPaintErased,   // smaller, zero or no text: erase the background first
};

struct BarChange {
    BarRepaint repaint;
    long percent;      // the percentage to keep from now on
};

// The bar shows `text`; its leading number becomes the percentage. Only a bar
// that shrinks (or empties) is erased, so a growing bar does not flicker.
BarChange ChangeBarText(const char* text, long storedPercent);
