#include "tests/support/message_box_recorder.h"

namespace velmora::testing {
namespace {

MessageBoxRecorder* current = nullptr;

std::wstring windowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The message is the text of the box's static control that holds text (the icon's has none).
BOOL CALLBACK findMessageText(HWND child, LPARAM found) {
  if (windowClassName(child) != L"Static") return TRUE;
  std::wstring text = windowText(child);
  if (text.empty()) return TRUE;
  *reinterpret_cast<std::wstring*>(found) = std::move(text);
  return FALSE;
}

BOOL CALLBACK collectButton(HWND child, LPARAM buttons) {
  if (windowClassName(child) == L"Button" && IsWindowVisible(child))
    reinterpret_cast<std::vector<std::wstring>*>(buttons)->push_back(windowText(child));
  return TRUE;
}

}  // namespace

std::wstring windowClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring messageBoxText(HWND box) {
  std::wstring text;
  EnumChildWindows(box, findMessageText, reinterpret_cast<LPARAM>(&text));
  return text;
}

MessageBoxRecorder::MessageBoxRecorder(std::function<void(const ShownMessageBox&)> onShown)
    : hook_(SetWindowsHookExW(WH_CBT, hookProcedure, nullptr, GetCurrentThreadId())),
      onShown_(std::move(onShown)) {
  current = this;
}

MessageBoxRecorder::~MessageBoxRecorder() {
  UnhookWindowsHookEx(hook_);
  current = nullptr;
}

// A box activated before it is filled and shown (a task-modal box) is read a moment later.
void CALLBACK recordLater(HWND box, UINT, UINT_PTR timer, DWORD) {
  KillTimer(box, timer);
  if (current) current->record(box);
}

void MessageBoxRecorder::record(HWND box) {
  if (box == lastBox_) return;
  if (!IsWindowVisible(box)) {
    SetTimer(box, 1, 10, recordLater);
    return;
  }
  lastBox_ = box;
  ShownMessageBox shown{windowText(box), messageBoxText(box), {}};
  EnumChildWindows(box, collectButton, reinterpret_cast<LPARAM>(&shown.buttons));
  shown_.push_back(shown);
  if (onShown_) onShown_(shown);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK MessageBoxRecorder::hookProcedure(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && current) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (windowClassName(window) == L"#32770") current->record(window);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace velmora::testing
