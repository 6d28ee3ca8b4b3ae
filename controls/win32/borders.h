// The border choices units share, as window styles.
#pragma once

#include <windows.h>

namespace velmora::controls {

enum BorderChoice : int {
  kNoBorder = 0,
  kSunkenBorder = 1,
  kRaisedBorder = 2,
  kShallowBorder = 3,
  kDoubleBorder = 4,
  kSingleLineBorder = 5,
  kPaintedFrame = 6,  // a frame the label paints itself: no window border
};

struct BorderStyles {
  DWORD style;
  DWORD extendedStyle;
};

BorderStyles borderStyles(int border);

}  // namespace velmora::controls
