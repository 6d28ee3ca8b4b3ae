// Colour values of unit properties: 0x00BBGGRR, or the default marker for the system colour of
// the property's role. A solid brush that follows a colour.
#pragma once

#include <windows.h>

#include <cstdint>

namespace velmora::controls {

bool isDefaultColour(int32_t value);
// The colour to draw with: the system colour `role` (a COLOR_ index) for the default marker.
COLORREF resolveColour(int32_t value, int role);
// A background colour: the default marker is the button face.
COLORREF backgroundColour(int32_t value);

// Each channel moved by the same step, `offset` or less, so that none leaves 0..255 and the hue
// keeps its balance; an offset outside -255..255 leaves the colour as it is.
COLORREF lightenColour(COLORREF colour, int offset);

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

// The answer to a control-colour message from a unit's standard control: the text colour (the
// default marker: window text) and the background set on the device context, and the brush of
// the background, kept in `brush`.
LRESULT controlColours(HDC dc, int32_t textColour, int32_t background, SolidBrush& brush);

}  // namespace velmora::controls
