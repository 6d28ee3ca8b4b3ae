// The check box: a standard automatic check box whose click raises its clicked event.
#include "controls/win32/colours.h"
#include "controls/win32/font.h"
#include "controls/win32/picture_bitmap.h"
#include "controls/win32/standard_units.h"
#include "controls/win32/unit_window.h"
#include "forms/event_numbers.h"
#include "runtime/win32/wide_text.h"

namespace velmora::controls {
namespace {

struct CheckBoxUnit : UnitOf<forms::CheckBoxProperties> {
  UnitFont font;
  SolidBrush background;
  PictureBitmap picture;

  void normalise() {
    auto& p = properties;
    p.pushLike = p.pushLike != 0;
    p.flat = p.flat != 0;
    p.textOnLeft = p.textOnLeft != 0;
    p.horizontalAlignment = clampChoice(p.horizontalAlignment, 2);
    p.verticalAlignment = clampChoice(p.verticalAlignment, 2);
    p.checked = p.checked != 0;
  }

  DWORD buttonStyle() const {
    const auto& p = properties;
    DWORD style = BS_AUTOCHECKBOX | BS_MULTILINE;
    if (p.pushLike) style |= BS_PUSHLIKE;
    if (p.flat) style |= BS_FLAT;
    if (p.textOnLeft) style |= BS_LEFTTEXT;
    constexpr DWORD kHorizontal[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
    constexpr DWORD kVertical[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
    style |= kHorizontal[p.horizontalAlignment] | kVertical[p.verticalAlignment];
    if (!p.picture.empty()) style |= BS_BITMAP;
    return style;
  }

  bool open(const CreateRequest& request) {
    if (!createStandardControl(this, L"BUTTON", request, buttonStyle(), 0,
                               runtime::wideFromGbk(properties.caption).c_str())) {
      return false;
    }
    font.set(properties.font);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle()), TRUE);
    picture.load(properties.picture);
    if (!picture.empty())
      SendMessageW(window, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.handle()));
    SendMessageW(window, BM_SETCHECK, properties.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    return true;
  }

  void takeLiveValues() {
    properties.checked = SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }

  bool applyChange(Property property) {
    switch (property) {
      using enum forms::CheckBoxProperty;
      case kCaption:
        SetWindowTextW(window, runtime::wideFromGbk(properties.caption).c_str());
        return true;
      case kTextColour:
      case kBackgroundColour:
        InvalidateRect(window, nullptr, TRUE);
        return true;
      case kFont:
        font.set(properties.font);
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle()), TRUE);
        return true;
      case kChecked:
        SendMessageW(window, BM_SETCHECK, properties.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        return true;
      case kBindingSource:
      case kBindingField:
        return true;
      default:
        return false;  // the picture and the style bits
    }
  }

  bool handle(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
      case forms::kReflectedMessageOffset + WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) raiseEvent(*this, forms::check_box_event::kClicked);
        return true;
      case forms::kReflectedMessageOffset + WM_CTLCOLORSTATIC:
      case forms::kReflectedMessageOffset + WM_CTLCOLORBTN: {
        result = controlColours(reinterpret_cast<HDC>(wParam), properties.textColour,
                                properties.backgroundColour, background);
        return true;
      }
      default:
        return message >= forms::kReflectedMessageOffset &&
               message < forms::kReflectedMessageOffset + WM_USER;
    }
  }
};

}  // namespace

void* checkBoxInterface(int32_t number) {
  return UnitTypeFunctions<CheckBoxUnit>::functionNumbered(number);
}

}  // namespace velmora::controls
