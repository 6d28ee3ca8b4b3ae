// What the core runtime asks of the window registry. The form runtime fills the registry from the
// program's window data at initialisation; until it does, the registry is empty.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

struct tagMSG;  // the window system's message record

namespace velmora::runtime {

class WindowRegistry {
 public:
  virtual ~WindowRegistry() = default;

  // The name of a registered window; nothing when the id is not in the registry.
  virtual std::optional<std::string_view> windowName(uint32_t windowId) const = 0;
  // The name of a unit of a registered window (unit id 0: the window's first unit); nothing when
  // the window has no such unit.
  virtual std::optional<std::string_view> unitName(uint32_t windowId, uint32_t unitId) const = 0;

  virtual bool anyWindowLive() const = 0;
  // Loads a window as a top-level, non-modal window without parent; false when it is not in the
  // registry or the load fails.
  virtual bool loadStartWindow(uint32_t windowId) = 0;
  // Raises the idle event of every loaded window that has not finished idling in this idle
  // period; a new period starts with periodStart. True while any window wants more idle time.
  virtual bool raiseIdleEvents(uint32_t idleMilliseconds, bool periodStart) = 0;
  // Sees every message before it is dispatched; true when the message was handled.
  virtual bool preTranslateMessage(tagMSG* message) = 0;
  virtual void releaseAllWindows() = 0;

  // Initialisation: reads the program's window data and turns every handler offset into an
  // address relative to codeBase. Data that cannot be read ends the program with a runtime error
  // that names where it is broken. A program without the form runtime has no windows to read.
  virtual void loadWindowData(const uint8_t*, uint32_t, const void*) {}
  // Entry slots 4 and 5: a unit property by window id, unit id, property index and part (-1: the
  // whole value).
  virtual uint64_t readProperty(uint32_t /*windowId*/, uint32_t /*unitId*/, int32_t /*property*/,
                                int32_t /*part*/) {
    return 0;
  }
  virtual void writeProperty(uint32_t /*windowId*/, uint32_t /*unitId*/, int32_t /*property*/,
                             int32_t /*part*/, uint32_t /*low*/, uint32_t /*high*/) {}
  // The runtime notify codes that concern windows and units; nothing for a code the registry
  // does not answer.
  virtual std::optional<intptr_t> notify(int32_t /*code*/, uintptr_t /*first*/,
                                         uintptr_t /*second*/) {
    return std::nullopt;
  }
};

// The registry of a program without windows.
class EmptyWindowRegistry final : public WindowRegistry {
 public:
  std::optional<std::string_view> windowName(uint32_t) const override { return std::nullopt; }
  std::optional<std::string_view> unitName(uint32_t, uint32_t) const override {
    return std::nullopt;
  }
  bool anyWindowLive() const override { return false; }
  bool loadStartWindow(uint32_t) override { return false; }
  bool raiseIdleEvents(uint32_t, bool) override { return false; }
  bool preTranslateMessage(tagMSG*) override { return false; }
  void releaseAllWindows() override {}
};

}  // namespace velmora::runtime
