// window_probe: prints the visible top-level windows of the Wine session, one line each, so that
// the screenshot tour can find the client's windows and message boxes by caption and click their
// units at screen positions. Dialogs (message boxes) also list their visible child windows, so
// the tour can read a message and find its button.
//
// Output, UTF-8, fields separated by tabs, a backslash escapes tab, CR, LF and itself:
//   window <handle> <class> <enabled 0|1> <window rect> <client rect> <caption>
//   child  <handle> <class> <enabled 0|1> <window rect> <client rect> <text>
// A rect is "left top width height" in screen coordinates.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8FromWide(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length,
                      nullptr, nullptr);
  return bytes;
}

// One field of a line: the separators and line ends of a message text must not split it.
std::string escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// The text the window system holds for the window, read without sending the window a message,
// so that a client busy in a request does not hold the probe up.
std::wstring windowText(HWND window) {
  static wchar_t text[32768];
  const int length = InternalGetWindowText(window, text, 32768);
  return std::wstring(text, static_cast<size_t>(length > 0 ? length : 0));
}

std::wstring className(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

std::string rectFields(const RECT& rect) {
  char text[64];
  std::snprintf(text, sizeof text, "%ld %ld %ld %ld", rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
  return text;
}

RECT clientRectOnScreen(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void printWindow(const char* kind, HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  char handle[32];
  std::snprintf(handle, sizeof handle, "%p", static_cast<void*>(window));
  const std::string line = std::string(kind) + '\t' + handle + '\t' +
                           escaped(utf8FromWide(className(window))) + '\t' +
                           (IsWindowEnabled(window) ? "1" : "0") + '\t' + rectFields(outer) + '\t' +
                           rectFields(clientRectOnScreen(window)) + '\t' +
                           escaped(utf8FromWide(windowText(window))) + '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
}

BOOL CALLBACK printChild(HWND child, LPARAM) {
  if (IsWindowVisible(child)) printWindow("child", child);
  return TRUE;
}

BOOL CALLBACK printTopLevel(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  printWindow("window", window);
  if (className(window) == L"#32770") EnumChildWindows(window, printChild, 0);
  return TRUE;
}

}  // namespace

int main() {
  // Lines end in LF alone: the reader is a Unix shell.
  _setmode(_fileno(stdout), _O_BINARY);
  EnumWindows(printTopLevel, 0);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
