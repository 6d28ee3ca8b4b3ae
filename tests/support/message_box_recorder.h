// Answers the message boxes of the current thread and records what they showed: a hook sees each
// box as it is activated, reads its caption and text and presses OK.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace velmora::testing {

struct ShownMessageBox {
  std::wstring caption;
  std::wstring text;
  std::vector<std::wstring> buttons;  // the texts of its buttons
};

// The class name of a window, and the message a message box shows (the text of its static control
// that holds text); both work on another process's windows too.
std::wstring windowClassName(HWND window);
std::wstring messageBoxText(HWND box);

class MessageBoxRecorder {
 public:
  // onShown, when given, hears of each box as soon as it appears.
  explicit MessageBoxRecorder(std::function<void(const ShownMessageBox&)> onShown = {});
  ~MessageBoxRecorder();
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  const std::vector<ShownMessageBox>& shown() const { return shown_; }
  void record(HWND box);

 private:
  static LRESULT CALLBACK hookProcedure(int code, WPARAM wParam, LPARAM lParam);

  HHOOK hook_;
  HWND lastBox_ = nullptr;  // a box may be activated more than once
  std::function<void(const ShownMessageBox&)> onShown_;
  std::vector<ShownMessageBox> shown_;
};

}  // namespace velmora::testing
