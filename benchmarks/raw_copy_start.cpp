// The plain program that shows a plain copy of a program window, read from the file named first
// on its command line (see raw_controls.h), and ends when it is closed: the start of a plain
// program with the login window's controls, to set beside the minimal one and the program's own.
// Given a URL as well, it does with plain calls the rest of what the program's start does before
// its login window shows: it initialises OLE, makes a hidden window (the owner of the program's
// windows that stay out of the task bar; the login window is not one of them) and GETs the URL
// (the support contact) before it shows the copy.
#include <ole2.h>
#include <windows.h>

#include <string>
#include <vector>

#include "benchmarks/raw_controls.h"
#include "benchmarks/raw_http.h"

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

// The words of the command line after the program's name; a word in quotes keeps its spaces.
std::vector<std::wstring> commandArguments() {
  const std::wstring line = GetCommandLineW();
  std::vector<std::wstring> words;
  for (size_t at = 0;;) {
    at = line.find_first_not_of(L' ', at);
    if (at == std::wstring::npos) break;
    const bool quoted = line[at] == L'"';
    const size_t start = quoted ? at + 1 : at;
    size_t end = line.find(quoted ? L'"' : L' ', start);
    if (end == std::wstring::npos) end = line.size();
    words.push_back(line.substr(start, end - start));
    at = end + 1;
  }
  if (!words.empty()) words.erase(words.begin());
  return words;
}

HWND makeHiddenOwner() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"RawHiddenOwner";
  RegisterClassW(&windowClass);
  return CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr,
                         nullptr, windowClass.hInstance, nullptr);
}

// The GET of the URL, its reply unread, as the program's login window asks before it shows.
void getUrl(const std::wstring& url) {
  const std::string narrow(url.begin(), url.end());  // a URL is ASCII
  char host[256] = {};
  char path[2048] = {};
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = sizeof path;
  if (!InternetCrackUrlA(narrow.c_str(), 0, 0, &parts)) return;
  HINTERNET root = velmora::openRawInternet();
  std::string body;
  velmora::rawGet(root, host, parts.nPort, path, body);
  InternetCloseHandle(root);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::vector<std::wstring> arguments = commandArguments();
  velmora::RawWindow raw;
  if (arguments.empty() || !velmora::readRaw(arguments[0].c_str(), raw)) return 1;
  const bool asTheProgram = arguments.size() > 1;
  if (asTheProgram) OleInitialize(nullptr);
  HWND owner = asTheProgram ? makeHiddenOwner() : nullptr;
  std::vector<HFONT> fonts;
  HWND window = velmora::makeRaw(raw, fonts, rawCopyProcedure);
  if (asTheProgram) getUrl(arguments[1]);
  velmora::showRaw(window);
  MSG message;
  while (!windowClosed && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  for (HFONT font : fonts) DeleteObject(font);
  if (owner) DestroyWindow(owner);
  if (asTheProgram) OleUninitialize();
  return 0;
}
