#include "controls/win32/text_layout.h"

namespace velmora::controls {
namespace {

void drawAt(HDC dc, const std::wstring& text, RECT area, int dx, int dy, UINT format,
            COLORREF colour) {
  OffsetRect(&area, dx, dy);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

}  // namespace

UINT textFormat(const TextLayout& layout) {
  UINT format = DT_NOPREFIX;
  if (layout.horizontalAlignment == 1) format |= DT_CENTER;
  if (layout.horizontalAlignment == 2) format |= DT_RIGHT;
  if (layout.wordWrap) return format | DT_WORDBREAK | DT_VCENTER;
  format |= DT_SINGLELINE;
  if (layout.verticalAlignment == 1) format |= DT_VCENTER;
  if (layout.verticalAlignment == 2) format |= DT_BOTTOM;
  return format;
}

void drawLaidOutText(HDC dc, const std::wstring& text, const RECT& area, const TextLayout& layout,
                     COLORREF colour, int effect) {
  const UINT format = textFormat(layout);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  switch (effect) {
    case kRaised:
      drawAt(dc, text, area, 1, 1, format, kWhite);
      drawAt(dc, text, area, 0, 0, format, colour);
      break;
    case kSunken:
      drawAt(dc, text, area, 0, 0, format, kWhite);
      drawAt(dc, text, area, 1, 1, format, colour);
      break;
    case kShadow:
      drawAt(dc, text, area, 2, 2, format, kBlack);
      drawAt(dc, text, area, 0, 0, format, colour);
      break;
    default:
      drawAt(dc, text, area, 0, 0, format, colour);
  }
  SetBkMode(dc, oldMode);
}

}  // namespace velmora::controls
