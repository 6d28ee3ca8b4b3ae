#include "controls/win32/gradients.h"

#include <algorithm>
#include <cmath>

namespace velmora::controls {
namespace {

int mix(int from, int to, double fraction) {
  return static_cast<int>(std::lround(from + (to - from) * fraction));
}

void fillColour(HDC dc, const RECT& rect, COLORREF colour) {
  const COLORREF old = SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

}  // namespace

COLORREF colourAlong(const std::vector<COLORREF>& colours, double fraction) {
  if (colours.size() == 1) return colours.front();
  const double position = std::clamp(fraction, 0.0, 1.0) * (colours.size() - 1);
  const size_t first = std::min(static_cast<size_t>(position), colours.size() - 2);
  const double within = position - first;
  const COLORREF a = colours[first];
  const COLORREF b = colours[first + 1];
  return RGB(mix(GetRValue(a), GetRValue(b), within), mix(GetGValue(a), GetGValue(b), within),
             mix(GetBValue(a), GetBValue(b), within));
}

void paintGradientFrame(HDC dc, const RECT& area, int width, const std::vector<COLORREF>& colours) {
  RECT ring = area;
  for (int step = 0; step < width; ++step) {
    const COLORREF colour = colourAlong(colours, width > 1 ? double(step) / (width - 1) : 0.0);
    const RECT edges[] = {{ring.left, ring.top, ring.right, ring.top + 1},
                          {ring.left, ring.bottom - 1, ring.right, ring.bottom},
                          {ring.left, ring.top, ring.left + 1, ring.bottom},
                          {ring.right - 1, ring.top, ring.right, ring.bottom}};
    for (const RECT& edge : edges) fillColour(dc, edge, colour);
    InflateRect(&ring, -1, -1);
  }
}

void paintGradientBackground(HDC dc, const RECT& area, int style,
                             const std::vector<COLORREF>& colours) {
  const bool vertical = style % 2 == 0;
  const bool backAgain = (style - 1) % 4 >= 2;
  const bool reversed = style >= 5;
  const int length = vertical ? area.bottom - area.top : area.right - area.left;
  for (int i = 0; i < length; ++i) {
    double fraction = length > 1 ? double(i) / (length - 1) : 0.0;
    if (backAgain) fraction = 1.0 - std::abs(2.0 * fraction - 1.0);
    if (reversed) fraction = 1.0 - fraction;
    const RECT line = vertical ? RECT{area.left, area.top + i, area.right, area.top + i + 1}
                               : RECT{area.left + i, area.top, area.left + i + 1, area.bottom};
    fillColour(dc, line, colourAlong(colours, fraction));
  }
}

}  // namespace velmora::controls
