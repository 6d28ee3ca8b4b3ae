// The plain program that shows a plain copy of a program window, read from the file named on its
// command line (see raw_controls.h), and ends when it is closed: the start of a plain program
// with the login window's controls, to set beside the minimal one and the program's own.
#include <windows.h>

#include <string>
#include <vector>

#include "benchmarks/raw_controls.h"

namespace {

// Set when the window goes: a close request that comes while the window is still being shown is
// handled there, and that message loop takes the quit message with it.
bool windowClosed = false;

LRESULT CALLBACK rawCopyProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    windowClosed = true;
    PostQuitMessage(0);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The file named after the program, without its quotes; empty when none is.
std::wstring fileArgument() {
  const std::wstring line = GetCommandLineW();
  size_t at = line[0] == L'"' ? line.find(L'"', 1) : line.find(L' ');
  at = line.find_first_not_of(L' ', at == std::wstring::npos ? line.size() : at + 1);
  if (at == std::wstring::npos) return {};
  std::wstring file = line.substr(at);
  if (file.size() >= 2 && file.front() == L'"' && file.back() == L'"')
    file = file.substr(1, file.size() - 2);
  return file;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  velmora::RawWindow raw;
  if (!velmora::readRaw(fileArgument().c_str(), raw)) return 1;
  std::vector<HFONT> fonts;
  velmora::openRaw(raw, fonts, rawCopyProcedure);
  MSG message;
  while (!windowClosed && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  for (HFONT font : fonts) DeleteObject(font);
  return 0;
}
