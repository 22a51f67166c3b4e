#include "dialogtemplate.h"

namespace bench {

namespace {

// Reads the words of a template one after another.
struct Reader {
    const BYTE* p;
    WORD Word() { WORD w = *(const WORD*)p; p += 2; return w; }
    DWORD Dword() { DWORD d = *(const DWORD*)p; p += 4; return d; }
    short Short() { return (short)Word(); }
    void AlignDword(const BYTE* base) { p = base + ((p - base + 3) & ~3); }
    std::string Wide()
    {
        std::string s;
        for (WORD c; (c = Word()) != 0;)
            s += c < 0x100 ? (char)c : '?';
        return s;
    }
    // a name or an ordinal (0xFFFF + number)
    std::string NameOrOrdinal(int* ordinal = nullptr)
    {
        WORD first = *(const WORD*)p;
        if (first == 0xFFFF) {
            p += 2;
            WORD n = Word();
            if (ordinal)
                *ordinal = n;
            return "#" + std::to_string(n);
        }
        return Wide();
    }
};

std::string ClassName(const std::string& raw)
{
    static const char* atoms[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    if (raw.size() > 1 && raw[0] == '#') {
        int n = std::stoi(raw.substr(1));
        if (n >= 0x80 && n <= 0x85)
            return atoms[n - 0x80];
    }
    // a class given by name (windres writes "STATIC" for "Static")
    for (const char* a : atoms)
        if (lstrcmpiA(a, raw.c_str()) == 0)
            return a;
    return raw;
}

}  // namespace

const DialogItem* DialogTemplate::Item(int id) const
{
    for (auto& i : items)
        if (i.id == id)
            return &i;
    return nullptr;
}

DialogTemplate ReadDialogTemplate(HMODULE module, int id)
{
    DialogTemplate t;
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), (LPCSTR)RT_DIALOG);
    const BYTE* base = res ? (const BYTE*)LockResource(LoadResource(module, res)) : nullptr;
    if (!base)
        return t;
    Reader r{base};
    bool extended = ((const WORD*)base)[1] == 0xFFFF;
    WORD count;
    if (extended) {
        r.Word();   // version
        r.Word();   // signature
        r.Dword();  // help id
        r.Dword();  // extended style
        t.style = r.Dword();
    } else {
        t.style = r.Dword();
        r.Dword();  // extended style
    }
    count = r.Word();
    t.x = r.Short();
    t.y = r.Short();
    t.cx = r.Short();
    t.cy = r.Short();
    r.NameOrOrdinal();   // menu
    r.NameOrOrdinal();   // class
    t.caption = r.Wide();
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        if (extended) {
            r.Word();   // weight
            r.Word();   // italic, charset
        }
        t.font = r.Wide();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword(base);
        DialogItem item;
        if (extended) {
            r.Dword();   // help id
            r.Dword();   // extended style
            item.style = r.Dword();
        } else {
            item.style = r.Dword();
            r.Dword();
        }
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = extended ? (int)r.Dword() : (short)r.Word();
        item.className = ClassName(r.NameOrOrdinal());
        item.text = r.NameOrOrdinal();
        WORD extra = r.Word();
        r.p += extra;
        t.items.push_back(item);
    }
    t.found = true;
    return t;
}

}  // namespace bench
