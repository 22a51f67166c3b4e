// The player engine's calls, exported by Vantrel.dll by ordinal only (see
// vantrel.def). The host hands the engine one view window and a document; the
// engine draws, plays and reports the document title to the view's parent.
#pragma once
#include <windows.h>

// The engine's private window message to the view's parent: lParam points to
// the document title.
#define WM_ENGINE_TITLE (WM_USER + 1010)

typedef void* HENGINE;

extern "C" {
// 101: a new engine instance; mode 0.
HENGINE WINAPI EngineCreate(int mode);
// 102: draw into view from now on; mode 1.
void WINAPI EngineAttach(HWND view, HENGINE engine, int mode);
// 103: open a document; mode 0.
void WINAPI EngineOpen(const char* path, HENGINE engine, int mode);
// 104: stop drawing into view; called while it still exists.
void WINAPI EngineDetach(HWND view, HENGINE engine);
// 105: the end of the instance.
void WINAPI EngineRelease(HENGINE engine);
// 106: an option by name and value, both texts.
void WINAPI EngineSetOption(HENGINE engine, const char* name, const char* value);
}
