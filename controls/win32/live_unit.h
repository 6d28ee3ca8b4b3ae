// What every standard unit keeps: the live object the form runtime reads (its window handle
// first), then the unit's ids and its own state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "forms/format/archive.h"
#include "forms/unit_type_interface.h"

namespace velmora::controls {

struct StandardUnit : forms::LiveUnit {
  uint32_t windowId = 0;
  uint32_t unitId = 0;
  // The standard control's own window procedure, for units made from one; null for units of
  // our own window classes.
  WNDPROC standardProcedure = nullptr;
  // Raised while the unit changes its own content, so that it raises no event for it.
  int changingOwnContent = 0;
};

// Holds the texts and bytes a unit hands out for reads until the next one.
struct ReadScratch {
  std::string text;
  forms::Bytes bytes;
};

// While alive, the unit raises no content events.
class OwnContentChange {
 public:
  explicit OwnContentChange(StandardUnit& unit) : unit_(unit) { ++unit_.changingOwnContent; }
  ~OwnContentChange() { --unit_.changingOwnContent; }
  OwnContentChange(const OwnContentChange&) = delete;
  OwnContentChange& operator=(const OwnContentChange&) = delete;

 private:
  StandardUnit& unit_;
};

}  // namespace velmora::controls
