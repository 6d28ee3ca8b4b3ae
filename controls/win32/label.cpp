// The label: owner-painted text with a border or gradient frame, effects, and a background of a
// colour, a picture or a gradient.
#include "controls/win32/borders.h"
#include "controls/win32/colours.h"
#include "controls/win32/font.h"
#include "controls/win32/gradients.h"
#include "controls/win32/picture_bitmap.h"
#include "controls/win32/standard_units.h"
#include "controls/win32/text_layout.h"
#include "controls/win32/unit_window.h"
#include "runtime/win32/wide_text.h"

namespace velmora::controls {
namespace {

constexpr int kTransparentBackground = 4;
constexpr int kThinnestFrame = 5;

// The colours of a gradient that are set (not the default marker).
std::vector<COLORREF> setColours(std::initializer_list<int32_t> values) {
  std::vector<COLORREF> colours;
  for (int32_t value : values) {
    if (!isDefaultColour(value)) colours.push_back(static_cast<COLORREF>(value & 0xFFFFFF));
  }
  return colours;
}

struct LabelUnit : UnitOf<forms::LabelProperties> {
  UnitFont font;
  PictureBitmap picture;
  SolidBrush background;

  void normalise() {
    auto& p = properties;
    p.effect = clampChoice(p.effect, 4);
    p.border = clampChoice(p.border, kPaintedFrame);
    p.frameWidth = std::max(p.frameWidth, kThinnestFrame);
    p.pictureMode = clampChoice(p.pictureMode, 2);
    p.gradientMode = clampChoice(p.gradientMode, 8);
    p.horizontalAlignment = clampChoice(p.horizontalAlignment, 2);
    p.wordWrap = p.wordWrap != 0;
    p.verticalAlignment = clampChoice(p.verticalAlignment, 2);
  }

  bool open(const CreateRequest& request) {
    const BorderStyles border = borderStyles(properties.border);
    DWORD extended = border.extendedStyle;
    if (properties.effect == kTransparentBackground) extended |= WS_EX_TRANSPARENT;
    // The window text mirrors the caption, for whatever reads window texts (accessibility tools).
    if (!createOwnClassWindow(this, L"_QV_Label", request, border.style, extended,
                              runtime::wideFromGbk(properties.caption).c_str()))
      return false;
    font.set(properties.font);
    picture.load(properties.backgroundPicture);
    return true;
  }

  bool applyChange(Property property) {
    using enum forms::LabelProperty;
    if (property == kEffect || property == kBorder) return false;  // window styles
    if (property == kCaption)
      SetWindowTextW(window, runtime::wideFromGbk(properties.caption).c_str());
    if (property == kFont) font.set(properties.font);
    if (property == kBackgroundPicture) picture.load(properties.backgroundPicture);
    InvalidateRect(window, nullptr, TRUE);
    return true;
  }

  void paint(HDC dc) {
    RECT clip;
    if (GetClipBox(dc, &clip) == NULLREGION) return;
    const auto& p = properties;
    RECT area;
    GetClientRect(window, &area);
    if (p.border == kPaintedFrame && p.frameWidth > 0) {
      auto colours = setColours({p.frameColour1, p.frameColour2, p.frameColour3});
      if (colours.size() >= 2) {
        paintGradientFrame(dc, area, p.frameWidth, colours);
        InflateRect(&area, -p.frameWidth, -p.frameWidth);
      }
    }
    if (p.effect != kTransparentBackground)
      FillRect(dc, &area, background.set(backgroundColour(p.backgroundColour)));
    if (!picture.empty()) {
      picture.draw(
          dc, area,
          p.pictureMode == 1 ? PictureMode::kTiled : static_cast<PictureMode>(p.pictureMode));
    } else if (p.gradientMode != 0) {
      auto colours = setColours({p.gradientColour1, p.gradientColour2, p.gradientColour3});
      if (colours.size() >= 2) paintGradientBackground(dc, area, p.gradientMode, colours);
    }
    HGDIOBJ oldFont = SelectObject(dc, font.handle());
    const TextLayout layout{p.horizontalAlignment, p.wordWrap != 0, p.verticalAlignment};
    const int effect = p.effect == kTransparentBackground ? kNoEffect : p.effect;
    drawLaidOutText(dc, runtime::wideFromGbk(p.caption), area, layout,
                    resolveColour(p.textColour, COLOR_WINDOWTEXT), effect);
    SelectObject(dc, oldFont);
  }

  bool handle(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_GETFONT) {  // as standard controls answer it, for whatever reads fonts
      result = reinterpret_cast<LRESULT>(font.handle());
      return true;
    }
    return handlePaintMessages(*this, message, wParam, result);
  }
};

}  // namespace

void* labelInterface(int32_t number) {
  return UnitTypeFunctions<LabelUnit>::functionNumbered(number);
}

}  // namespace velmora::controls
