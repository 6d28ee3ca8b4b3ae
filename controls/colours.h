// Colour values of unit properties: 0x00BBGGRR, or the default marker for the system colour of
// the property's role. A solid brush that follows a colour.
#pragma once

#include <windows.h>

#include <cstdint>

namespace velmora {

bool isDefaultColour(int32_t value);
// The colour to draw with: the system colour `role` (a COLOR_ index) for the default marker.
COLORREF resolveColour(int32_t value, int role);
// A background colour: the default marker is the button face.
COLORREF backgroundColour(int32_t value);

class SolidBrush {
 public:
  SolidBrush() = default;
  ~SolidBrush();
  SolidBrush(const SolidBrush&) = delete;
  SolidBrush& operator=(const SolidBrush&) = delete;

  HBRUSH set(COLORREF colour);
  HBRUSH handle() const { return brush_; }

 private:
  HBRUSH brush_ = nullptr;
};

}  // namespace velmora
