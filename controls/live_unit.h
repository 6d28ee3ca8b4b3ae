// The live object of a unit: its window handle first, as the form runtime reads it, then what
// every unit keeps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "forms/format/archive.h"

namespace velmora {

struct LiveUnit {
  HWND window = nullptr;
  uint32_t windowId = 0;
  uint32_t unitId = 0;
  // The standard control's own window procedure, for units made from one; null for units of
  // our own window classes.
  WNDPROC standardProcedure = nullptr;
  // Raised while the unit changes its own content, so that it raises no event for it.
  int changingOwnContent = 0;
};
static_assert(offsetof(LiveUnit, window) == 0);

// Holds the texts and bytes a unit hands out for reads until the next one.
struct ReadScratch {
  std::string text;
  Bytes bytes;
};

// While alive, the unit raises no content events.
class OwnContentChange {
 public:
  explicit OwnContentChange(LiveUnit& unit) : unit_(unit) { ++unit_.changingOwnContent; }
  ~OwnContentChange() { --unit_.changingOwnContent; }
  OwnContentChange(const OwnContentChange&) = delete;
  OwnContentChange& operator=(const OwnContentChange&) = delete;

 private:
  LiveUnit& unit_;
};

}  // namespace velmora
