// Gradient fills of the label: a frame whose colour runs from its outer to its inner edge, and
// a background whose colour runs across the label.
#pragma once

#include <windows.h>

#include <vector>

namespace velmora::controls {

// The colour at `fraction` (0 to 1) along colours spaced evenly; at least one colour.
COLORREF colourAlong(const std::vector<COLORREF>& colours, double fraction);

void paintGradientFrame(HDC dc, const RECT& area, int width, const std::vector<COLORREF>& colours);

// Style 1 runs left to right, 2 top to bottom, 3 and 4 the same and back again, 5 to 8 as 1 to 4
// from the other side.
void paintGradientBackground(HDC dc, const RECT& area, int style,
                             const std::vector<COLORREF>& colours);

}  // namespace velmora::controls
