// The window registry: every window of the program data with its live and backup unit tables,
// lookups of windows, units and their live objects, and the notify codes that concern windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "forms/format/unit_table.h"
#include "forms/format/unit_type_descriptors.h"
#include "forms/live/win32/live_window.h"
#include "runtime/window_registry.h"

namespace velmora::forms {

// One window of the program data, from initialisation to the end of the process.
struct WindowObject {
  uint32_t id = 0;
  uint32_t reserved1 = 0;
  uint32_t reserved2 = 0;
  std::string reservedText1;
  std::string reservedText2;
  UnitTable live;    // property writes change it in place
  UnitTable backup;  // a copy of live taken at the start of a load; empty otherwise
};

class FormRegistry final : public runtime::WindowRegistry {
 public:
  std::optional<std::string_view> windowName(uint32_t windowId) const override;
  std::optional<std::string_view> unitName(uint32_t windowId, uint32_t unitId) const override;
  bool anyWindowLive() const override;
  bool loadStartWindow(uint32_t windowId) override;
  bool raiseIdleEvents(uint32_t idleMilliseconds, bool periodStart) override;
  bool preTranslateMessage(MSG* message) override;
  void releaseAllWindows() override;
  void loadWindowData(const uint8_t* data, uint32_t length, const void* codeBase) override;
  uint64_t readProperty(uint32_t windowId, uint32_t unitId, int32_t property,
                        int32_t part) override;
  void writeProperty(uint32_t windowId, uint32_t unitId, int32_t property, int32_t part,
                     uint32_t low, uint32_t high) override;
  std::optional<intptr_t> notify(int32_t code, uintptr_t first, uintptr_t second) override;

  // Nothing for an id that is not well formed or not registered.
  WindowObject* find(uint32_t windowId);
  const WindowObject* find(uint32_t windowId) const;
  std::vector<WindowObject>& windows() { return windows_; }

  // The live object of the window's own unit when the window is loaded, else null.
  LiveWindow* liveWindow(const WindowObject& window) const;
  // The live object (its handle a window) of unit index, else null.
  LiveUnit* liveUnit(const WindowObject& window, uint32_t index) const;
  // Notify 2006 and 2007: the live window or unit; strict lookups end the program when nothing
  // live is found.
  LiveUnit* findLive(uint32_t windowId, uint32_t unitId, bool strict);

  // Whether a window is being abandoned after a failed load (its end posts no quit message).
  bool abandoningLoad = false;
  // While a unit is created anew, the bookkeeping of a destroyed unit does nothing.
  bool recreatingUnit = false;
  // Set while the window unit of a modal load is created, for the owner rule.
  bool loadingModally = false;

 private:
  std::vector<WindowObject> windows_;
};

FormRegistry& formRegistry();

// The index of a unit in a window's live table: unit id 0 is the window's own unit.
std::optional<uint32_t> unitIndex(const WindowObject& window, uint32_t unitId);

// The unit type descriptor of a type code from the libraries the runtime started (notify 1002);
// null for a code no library fills.
const UnitTypeDescriptor* unitTypeDescriptorOf(uint32_t typeCode);

// Installs the form runtime: its registry into the core runtime, and the window commands into
// the core library's command table.
void installFormRuntime();

}  // namespace velmora::forms
