// The shape box: one of eight shapes drawn with a line relief, style, width and fill. It
// contains other units and passes their notifications back to them.
#include <algorithm>

#include "controls/win32/colours.h"
#include "controls/win32/standard_units.h"
#include "controls/win32/unit_window.h"

namespace velmora::controls {
namespace {

enum Shape {
  kRectangle,
  kSquare,
  kEllipse,
  kCircle,
  kRoundedRectangle,
  kRoundedSquare,
  kHorizontalLine,
  kVerticalLine
};
enum LineStyle { kNoLine, kSolidInsideFrame, kDashed, kDotted, kDashDot, kDashDotDot };

int penStyleOf(int lineStyle) {
  switch (lineStyle) {
    case kNoLine:
      return PS_NULL;
    case kSolidInsideFrame:
      return PS_INSIDEFRAME;
    case kDashed:
      return PS_DASH;
    case kDotted:
      return PS_DOT;
    case kDashDot:
      return PS_DASHDOT;
    default:
      return PS_DASHDOTDOT;
  }
}

RECT centredSquare(RECT area) {
  const int side = std::min(area.right - area.left, area.bottom - area.top);
  const int left = area.left + (area.right - area.left - side) / 2;
  const int top = area.top + (area.bottom - area.top - side) / 2;
  return RECT{left, top, left + side, top + side};
}

void drawShape(HDC dc, int shape, const RECT& r) {
  const int cornerWidth = (r.right - r.left) / 5;
  const int cornerHeight = (r.bottom - r.top) / 5;
  switch (shape) {
    case kEllipse:
    case kCircle:
      Ellipse(dc, r.left, r.top, r.right, r.bottom);
      return;
    case kRoundedRectangle:
    case kRoundedSquare:
      RoundRect(dc, r.left, r.top, r.right, r.bottom, cornerWidth, cornerHeight);
      return;
    case kHorizontalLine:
      MoveToEx(dc, r.left, r.top, nullptr);
      LineTo(dc, r.right, r.top);
      return;
    case kVerticalLine:
      MoveToEx(dc, r.left, r.top, nullptr);
      LineTo(dc, r.left, r.bottom);
      return;
    default:
      Rectangle(dc, r.left, r.top, r.right, r.bottom);
  }
}

struct ShapeBoxUnit : UnitOf<forms::ShapeBoxProperties> {
  SolidBrush background;
  SolidBrush fill;

  void normalise() {
    properties.shape = clampChoice(properties.shape, 7);
    properties.lineRelief = clampChoice(properties.lineRelief, 2);
    properties.lineWidth = std::max(properties.lineWidth, 0);
  }

  bool open(const CreateRequest& request) {
    return createOwnClassWindow(this, L"_QV_ShapeBox", request, WS_CLIPCHILDREN,
                                WS_EX_CONTROLPARENT);
  }

  bool applyChange(Property) {
    InvalidateRect(window, nullptr, TRUE);
    return true;
  }

  void paint(HDC dc) {
    const auto& p = properties;
    RECT area;
    GetClientRect(window, &area);
    FillRect(dc, &area, background.set(backgroundColour(p.backgroundColour)));
    const int style = penStyleOf(p.lineStyle);
    const int width = p.lineStyle == kSolidInsideFrame && p.lineWidth > 1 ? p.lineWidth : 0;
    struct PenChoice {
      COLORREF colour;
      int offset;
    };
    std::vector<PenChoice> pens;
    if (p.lineRelief == 0) pens = {{resolveColour(p.lineColour, COLOR_WINDOWTEXT), 0}};
    if (p.lineRelief == 1) pens = {{RGB(255, 255, 255), 0}, {RGB(0, 0, 0), 1}};
    if (p.lineRelief == 2) pens = {{RGB(0, 0, 0), 0}, {RGB(255, 255, 255), 1}};
    RECT shapeArea = area;
    if (p.shape == kSquare || p.shape == kCircle || p.shape == kRoundedSquare)
      shapeArea = centredSquare(area);
    for (size_t i = 0; i < pens.size(); ++i) {
      HPEN pen = CreatePen(style, width, pens[i].colour);
      const bool filled = i == 0 && !isDefaultColour(p.fillColour);
      HBRUSH brush = filled ? fill.set(static_cast<COLORREF>(p.fillColour & 0xFFFFFF))
                            : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
      HGDIOBJ oldPen = SelectObject(dc, pen);
      HGDIOBJ oldBrush = SelectObject(dc, brush);
      RECT shifted = shapeArea;
      OffsetRect(&shifted, pens[i].offset, pens[i].offset);
      drawShape(dc, p.shape, shifted);
      SelectObject(dc, oldBrush);
      SelectObject(dc, oldPen);
      DeleteObject(pen);
    }
  }

  bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (forms::reflectToUnit(window, message, wParam, lParam, result)) return true;
    return handlePaintMessages(*this, message, wParam, result);
  }
};

}  // namespace

void* shapeBoxInterface(int32_t number) {
  return UnitTypeFunctions<ShapeBoxUnit>::functionNumbered(number);
}

}  // namespace velmora::controls
