// The group box: a standard group box frame that contains other units and passes their
// notifications back to them.
#include "controls/win32/colours.h"
#include "controls/win32/font.h"
#include "controls/win32/standard_units.h"
#include "controls/win32/unit_window.h"
#include "runtime/win32/wide_text.h"

namespace velmora::controls {
namespace {

DWORD captionAlignmentStyle(int alignment) {
  return alignment == 1 ? BS_CENTER : alignment == 2 ? BS_RIGHT : BS_LEFT;
}

struct GroupBoxUnit : UnitOf<forms::GroupBoxProperties> {
  UnitFont font;
  SolidBrush background;

  void normalise() { properties.captionAlignment = clampChoice(properties.captionAlignment, 2); }

  bool open(const CreateRequest& request) {
    const DWORD style =
        BS_GROUPBOX | WS_CLIPCHILDREN | captionAlignmentStyle(properties.captionAlignment);
    if (!createStandardControl(this, L"BUTTON", request, style, WS_EX_CONTROLPARENT,
                               runtime::wideFromGbk(properties.caption).c_str())) {
      return false;
    }
    font.set(properties.font);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle()), TRUE);
    return true;
  }

  bool applyChange(Property property) {
    switch (property) {
      using enum forms::GroupBoxProperty;
      case kCaption:
        SetWindowTextW(window, runtime::wideFromGbk(properties.caption).c_str());
        return true;
      case kCaptionAlignment:
        return false;  // a window style
      case kFont:
        font.set(properties.font);
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle()), TRUE);
        return true;
      default:
        InvalidateRect(window, nullptr, TRUE);
        return true;
    }
  }

  bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (forms::reflectToUnit(window, message, wParam, lParam, result)) return true;
    if (message == forms::kReflectedMessageOffset + WM_CTLCOLORSTATIC ||
        message == forms::kReflectedMessageOffset + WM_CTLCOLORBTN) {
      result = controlColours(reinterpret_cast<HDC>(wParam), properties.textColour,
                              properties.backgroundColour, background);
      return true;
    }
    if (message == WM_ERASEBKGND) {
      RECT client;
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client,
               background.set(backgroundColour(properties.backgroundColour)));
      result = 1;
      return true;
    }
    return message >= forms::kReflectedMessageOffset &&
           message < forms::kReflectedMessageOffset + WM_USER;
  }
};

}  // namespace

void* groupBoxInterface(int32_t number) {
  return UnitTypeFunctions<GroupBoxUnit>::functionNumbered(number);
}

}  // namespace velmora::controls
