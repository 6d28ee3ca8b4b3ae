// The text layout the label and the transparent label share: alignment, word wrap and the
// raised, sunken and shadow effects.
#pragma once

#include <windows.h>

#include <string>

namespace velmora::controls {

struct TextLayout {
  int horizontalAlignment = 0;  // 0 left, 1 centre, 2 right
  bool wordWrap = false;
  int verticalAlignment = 1;  // single line: 0 top, 1 centre, 2 bottom
};

enum TextEffect { kNoEffect = 0, kRaised = 1, kSunken = 2, kShadow = 3 };

UINT textFormat(const TextLayout& layout);

// Draws the text in `area` with the DC's selected font, transparently.
void drawLaidOutText(HDC dc, const std::wstring& text, const RECT& area, const TextLayout& layout,
                     COLORREF colour, int effect);

}  // namespace velmora::controls
