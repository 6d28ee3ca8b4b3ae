// The plain Win32 counterpart of a program window, for the window benchmarks: the same child
// controls (classes, styles, places, texts, fonts and combo items), taken once from the live
// window, made again with plain Win32 calls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace velmora {

struct RawControl {
  std::wstring className;
  std::wstring text;
  DWORD style = 0;
  DWORD extendedStyle = 0;
  RECT place{};                     // in its parent's client area
  int parent = -1;                  // index of the parent control; -1 for the window itself
  int font = -1;                    // index into RawWindow::fonts; -1 for the control's default
  std::vector<std::wstring> items;  // of a combo box
};

struct RawWindow {
  std::wstring caption;
  DWORD style = 0;
  DWORD extendedStyle = 0;
  RECT place{};
  std::vector<LOGFONTW> fonts;  // one per distinct font, shared as a plain program shares them
  std::vector<RawControl> controls;
};

// The window's controls as a plain program would make them: the runtime's own classes become the
// closest standard control (a STATIC for the labels, shapes and picture boxes, a push button for
// the owner-drawn button); the controls a standard control makes for itself are left to it.
RawWindow rawCopyOf(HWND window);

// Creates the window hidden, its controls and fonts; returns the window. The fonts live until
// closeRaw. `procedure` is the window's own.
HWND makeRaw(const RawWindow& raw, std::vector<HFONT>& fonts, WNDPROC procedure = DefWindowProcW);
// Shows the window made and runs its messages, its first painting among them.
void showRaw(HWND window);
// Both: the window made, shown and painted.
HWND openRaw(const RawWindow& raw, std::vector<HFONT>& fonts);
void closeRaw(HWND window, std::vector<HFONT>& fonts);

// The copy kept in a file, for a plain program started in its own process. Reading gives false
// when the file is missing or not a whole copy.
bool writeRaw(const RawWindow& raw, const wchar_t* path);
bool readRaw(const wchar_t* path, RawWindow& raw);

}  // namespace velmora
