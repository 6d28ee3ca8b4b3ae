// The picture box: a background colour and a picture in one of four display modes. In the playing
// mode an animated picture plays, each frame for as long as the picture says, over and over.
#include "controls/win32/borders.h"
#include "controls/win32/colours.h"
#include "controls/win32/picture_animation.h"
#include "controls/win32/standard_units.h"
#include "controls/win32/unit_window.h"

namespace velmora::controls {
namespace {

enum DisplayMode : int {
  kNaturalSizeMode = 0,  // natural size at the top-left
  kStretchedMode = 1,
  kCentredFitMode = 2,  // centred, and scaled down to fit
  kPlayingMode = 3,     // stretched, and an animated picture plays
};
constexpr UINT_PTR kFrameTimer = 1;

PictureMode pictureModeOf(int displayMode) {
  switch (displayMode) {
    case kNaturalSizeMode:
      return PictureMode::kNaturalTopLeft;
    case kCentredFitMode:
      return PictureMode::kCentredFit;
    default:
      return PictureMode::kStretched;
  }
}

struct PicBoxUnit : UnitOf<forms::PicBoxProperties> {
  PictureAnimation picture;
  SolidBrush background;

  void normalise() {
    properties.border = clampChoice(properties.border, kSingleLineBorder);
    properties.displayMode = clampChoice(properties.displayMode, kPlayingMode);
  }

  bool open(const CreateRequest& request) {
    const BorderStyles border = borderStyles(properties.border);
    if (!createOwnClassWindow(this, L"_QV_PicBox", request, border.style, border.extendedStyle))
      return false;
    loadPicture();
    return true;
  }

  // Only the playing mode keeps every frame; the others show the first.
  void loadPicture() {
    picture.load(properties.picture, properties.displayMode == kPlayingMode);
    KillTimer(window, kFrameTimer);
    if (picture.animated()) SetTimer(window, kFrameTimer, picture.milliseconds(), nullptr);
  }

  void nextFrame() {
    picture.advance();
    SetTimer(window, kFrameTimer, picture.milliseconds(), nullptr);
    InvalidateRect(window, nullptr, FALSE);
  }

  bool applyChange(Property property) {
    if (property == Property::kBorder) return false;  // a window style
    if (property == Property::kPicture || property == Property::kDisplayMode) loadPicture();
    InvalidateRect(window, nullptr, TRUE);
    return true;
  }

  void compose(HDC dc, const RECT& area) {
    FillRect(dc, &area, background.set(backgroundColour(properties.backgroundColour)));
    picture.draw(dc, area, pictureModeOf(properties.displayMode));
  }

  // Composed in memory and copied once, so that a playing animation does not flicker.
  void paint(HDC dc) {
    RECT area;
    GetClientRect(window, &area);
    if (area.right <= 0 || area.bottom <= 0) return;
    HBITMAP canvas = CreateCompatibleBitmap(dc, area.right, area.bottom);
    if (canvas == nullptr) {
      compose(dc, area);
      return;
    }
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, canvas);
    compose(memory, area);
    BitBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(canvas);
    DeleteDC(memory);
  }

  bool handle(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (handlePaintMessages(*this, message, wParam, result)) return true;
    switch (message) {
      case WM_TIMER:
        if (wParam != kFrameTimer) return false;
        nextFrame();
        return true;
      case WM_DESTROY:
        KillTimer(window, kFrameTimer);
        return false;
      default:
        return false;
    }
  }
};

}  // namespace

void* picBoxInterface(int32_t number) {
  return UnitTypeFunctions<PicBoxUnit>::functionNumbered(number);
}

}  // namespace velmora::controls
