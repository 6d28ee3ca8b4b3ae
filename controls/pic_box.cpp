// The picture box: a background colour and a picture in one of four display modes.
#include "controls/borders.h"
#include "controls/colours.h"
#include "controls/picture_bitmap.h"
#include "controls/standard_units.h"
#include "controls/unit_window.h"

namespace velmora {
namespace {

// Mode 0 natural size at the top-left, 1 stretched, 2 centred and scaled down to fit, 3
// stretched (an animation shows its first frame).
PictureMode pictureModeOf(int displayMode) {
  switch (displayMode) {
    case 0:
      return PictureMode::naturalTopLeft;
    case 2:
      return PictureMode::centredFit;
    default:
      return PictureMode::stretched;
  }
}

struct PicBoxUnit : UnitOf<PicBoxProperties> {
  PictureBitmap picture;
  SolidBrush background;

  void normalise() {
    properties.border = clampChoice(properties.border, 5);
    properties.displayMode = clampChoice(properties.displayMode, 3);
  }

  bool open(const CreateRequest& request) {
    const BorderStyles border = borderStyles(properties.border);
    if (!createOwnClassWindow(this, L"_QV_PicBox", request, border.style, border.extendedStyle))
      return false;
    picture.load(properties.picture);
    return true;
  }

  bool applyChange(int index) {
    if (index == 8) return false;  // a window style
    if (index == 10) picture.load(properties.picture);
    InvalidateRect(window, nullptr, TRUE);
    return true;
  }

  void paint(HDC dc) {
    RECT area;
    GetClientRect(window, &area);
    FillRect(dc, &area, background.set(backgroundColour(properties.backgroundColour)));
    picture.draw(dc, area, pictureModeOf(properties.displayMode));
  }

  bool handle(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    return handlePaintMessages(*this, message, wParam, result);
  }
};

}  // namespace

void* picBoxInterface(int32_t number) {
  return UnitTypeFunctions<PicBoxUnit>::functionNumbered(number);
}

}  // namespace velmora
