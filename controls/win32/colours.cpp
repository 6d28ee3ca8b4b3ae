#include "controls/win32/colours.h"

#include <algorithm>

#include "forms/format/property_kind.h"

namespace velmora::controls {

bool isDefaultColour(int32_t value) {
  return value == forms::kDefaultColour;
}

COLORREF resolveColour(int32_t value, int role) {
  return isDefaultColour(value) ? GetSysColor(role) : static_cast<COLORREF>(value & 0x00FFFFFF);
}

COLORREF backgroundColour(int32_t value) {
  return resolveColour(value, COLOR_BTNFACE);
}

COLORREF lightenColour(COLORREF colour, int offset) {
  if (offset < -255 || offset > 255) return colour;
  const int channels[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
  int step = offset;
  for (int channel : channels) {
    if (offset > 0) step = std::min(step, 255 - channel);
    if (offset < 0) step = std::max(step, -channel);
  }
  return RGB(channels[0] + step, channels[1] + step, channels[2] + step);
}

SolidBrush::~SolidBrush() {
  if (brush_ != nullptr) DeleteObject(brush_);
}

HBRUSH SolidBrush::set(COLORREF colour) {
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_ = CreateSolidBrush(colour);
  return brush_;
}

LRESULT controlColours(HDC dc, int32_t textColour, int32_t background, SolidBrush& brush) {
  const COLORREF back = backgroundColour(background);
  SetTextColor(dc, resolveColour(textColour, COLOR_WINDOWTEXT));
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(brush.set(back));
}

}  // namespace velmora::controls
