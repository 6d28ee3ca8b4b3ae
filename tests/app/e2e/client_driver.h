// Drives the program from another process, as a person would through its windows: finds its
// windows by caption and its units by their place in the window data, types into edit boxes,
// clicks buttons, picks combo box items, and reads and answers its message boxes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "forms/format/window_data.h"

namespace velmora::testing {

class ClientProcess {
 public:
  explicit ClientProcess(const std::wstring& program);
  ~ClientProcess();
  ClientProcess(const ClientProcess&) = delete;
  ClientProcess& operator=(const ClientProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  // The exit code once the process has ended within the time given.
  std::optional<DWORD> waitForExit(DWORD milliseconds) const;
  // Ends the process at once, as a crash or the task manager would (none of its code runs), and
  // starts the program again.
  void restart();

 private:
  void start();
  void end();

  std::wstring program_;
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

struct SeenMessage {
  std::wstring text;
  std::wstring caption;
};

// Drives whichever process the client process runs now, also after a restart.
class ClientDriver {
 public:
  explicit ClientDriver(const ClientProcess& process);

  // A visible top-level window of the program with this caption; null after the time given.
  HWND waitForWindow(const std::wstring& caption, DWORD milliseconds = 10000) const;
  bool waitUntilClosed(HWND window, DWORD milliseconds = 10000) const;
  // The next message box: its text and caption, answered with OK.
  std::optional<SeenMessage> answerMessage(DWORD milliseconds = 10000) const;
  // Whether a message box is showing now.
  bool messageShowing() const;

  // The window of the unit with this name; null when it is not there.
  HWND unit(HWND window, uint32_t windowId, std::u8string_view name) const;

  static std::wstring text(HWND unit);
  static void type(HWND editBox, const std::wstring& text);
  static void click(HWND button);
  // Picks the item as a person does: the list closes on the choice.
  static void pick(HWND comboBox, int index);

 private:
  const forms::WindowRecord* record(uint32_t windowId) const;

  const ClientProcess& process_;
  std::vector<forms::WindowRecord> windows_;
};

}  // namespace velmora::testing
