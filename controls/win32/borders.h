// The border choices units share, as window styles: 0 none, 1 sunken, 2 raised, 3 shallow,
// 4 double, 5 single line, 6 a frame the label paints itself (no window border).
#pragma once

#include <windows.h>

namespace velmora {

struct BorderStyles {
  DWORD style;
  DWORD extendedStyle;
};

BorderStyles borderStyles(int border);

}  // namespace velmora
