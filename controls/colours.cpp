#include "controls/colours.h"

#include "forms/format/property_kind.h"

namespace velmora {

bool isDefaultColour(int32_t value) {
  return value == kDefaultColour;
}

COLORREF resolveColour(int32_t value, int role) {
  return isDefaultColour(value) ? GetSysColor(role) : static_cast<COLORREF>(value & 0x00FFFFFF);
}

COLORREF backgroundColour(int32_t value) {
  return resolveColour(value, COLOR_BTNFACE);
}

SolidBrush::~SolidBrush() {
  if (brush_ != nullptr) DeleteObject(brush_);
}

HBRUSH SolidBrush::set(COLORREF colour) {
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_ = CreateSolidBrush(colour);
  return brush_;
}

}  // namespace velmora
