// A small window data stream with two windows, containers, events and a menu item, built
// through the format's writers for tests of the readers.
#pragma once

#include <vector>

#include "forms/format/window_data.h"

namespace velmora::testing {

inline constexpr uint32_t kSampleWindowId = 0x52010001;
inline constexpr uint32_t kSampleGroupId = 0x16000010;
inline constexpr uint32_t kSampleButtonId = 0x16000011;
inline constexpr uint32_t kSampleMenuItemId = 0x26000012;

std::vector<forms::WindowRecord> sampleWindows();

}  // namespace velmora::testing
