// Dialog templates read from a program's resources, in dialog units.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace bench {

struct DialogItem {
    int id = 0;
    std::string className;   // "Button", "Edit", "Static", ... or the name given
    std::string text;        // "#<n>" for a resource ordinal (an icon's id)
    int x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = 0;
};

struct DialogTemplate {
    bool found = false;
    std::string caption;
    std::string font;
    int pointSize = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = 0;
    std::vector<DialogItem> items;
    const DialogItem* Item(int id) const;
};

// Template `id` of the module (a program loaded as a data file will do).
DialogTemplate ReadDialogTemplate(HMODULE module, int id);

}  // namespace bench
