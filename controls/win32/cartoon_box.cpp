// The animation box: a canvas composed off-screen in a 32-bit bitmap on a 5 ms timer. Its
// background is a colour or a picture; the program puts no moving objects on it, so a frame is
// composed when the box is first painted or resized and the timer finds nothing to move.
#include "controls/win32/borders.h"
#include "controls/win32/colours.h"
#include "controls/win32/picture_bitmap.h"
#include "controls/win32/standard_units.h"
#include "controls/win32/unit_window.h"

namespace velmora::controls {
namespace {

constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameMilliseconds = 5;

PictureMode pictureModeOf(int mode) {
  return static_cast<PictureMode>(mode);  // 0 natural, 1 tiled, 2 centred to fit, 3 stretched
}

struct CartoonBoxUnit : UnitOf<forms::CartoonBoxProperties> {
  PictureBitmap picture;
  SolidBrush background;
  HDC frameDc = nullptr;
  HBITMAP frame = nullptr;
  HGDIOBJ previousBitmap = nullptr;
  SIZE frameSize{};

  void normalise() {
    auto& p = properties;
    p.border = clampChoice(p.border, kSingleLineBorder);
    p.pictureMode = clampChoice(p.pictureMode, 3);
    p.objectShape = clampChoice(p.objectShape, 6);
    p.objectMotion = clampChoice(p.objectMotion, 15);
    p.objectSpeed = std::clamp(p.objectSpeed, 0, 32767);
    p.objectStep = clampChoice(p.objectStep, 55);
  }

  bool open(const CreateRequest& request) {
    const BorderStyles border = borderStyles(properties.border);
    if (!createOwnClassWindow(this, L"_QV_CartoonBox", request, border.style,
                              border.extendedStyle)) {
      return false;
    }
    picture.load(properties.backgroundPicture);
    SetTimer(window, kFrameTimer, kFrameMilliseconds, nullptr);
    return true;
  }

  bool applyChange(Property property) {
    if (property == Property::kBorder) return false;  // a window style
    if (property == Property::kBackgroundPicture) picture.load(properties.backgroundPicture);
    releaseFrame();
    InvalidateRect(window, nullptr, FALSE);
    return true;
  }

  void releaseFrame() {
    if (frameDc == nullptr) return;
    SelectObject(frameDc, previousBitmap);
    DeleteObject(frame);
    DeleteDC(frameDc);
    frameDc = nullptr;
    frame = nullptr;
  }

  // Composes the background into a 32-bit off-screen frame of the client size.
  void composeFrame(HDC target, const RECT& client) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    frame = CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    frameDc = CreateCompatibleDC(target);
    previousBitmap = SelectObject(frameDc, frame);
    frameSize = {client.right, client.bottom};
    FillRect(frameDc, &client, background.set(backgroundColour(properties.backgroundColour)));
    picture.draw(frameDc, client, pictureModeOf(properties.pictureMode));
  }

  void paint(HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    if (frameDc != nullptr && (frameSize.cx != client.right || frameSize.cy != client.bottom))
      releaseFrame();
    if (frameDc == nullptr) composeFrame(dc, client);
    BitBlt(dc, 0, 0, client.right, client.bottom, frameDc, 0, 0, SRCCOPY);
  }

  bool handle(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (handlePaintMessages(*this, message, wParam, result)) return true;
    switch (message) {
      case WM_TIMER:
        return wParam == kFrameTimer;  // no moving objects: the frame stays as composed
      case WM_DESTROY:
        KillTimer(window, kFrameTimer);
        releaseFrame();
        return false;
      default:
        return false;
    }
  }
};

}  // namespace

void* cartoonBoxInterface(int32_t number) {
  return UnitTypeFunctions<CartoonBoxUnit>::functionNumbered(number);
}

}  // namespace velmora::controls
