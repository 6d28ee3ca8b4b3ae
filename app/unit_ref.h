// A unit as the client's handlers name it: the ids of its window and of the unit in the window
// data.
#pragma once

#include <cstdint>

namespace velmora::app {

struct UnitRef {
  uint32_t window;
  uint32_t unit;
};

}  // namespace velmora::app
