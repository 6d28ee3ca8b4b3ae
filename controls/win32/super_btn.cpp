// The super button: an owner-drawn push button with a flat look that lights up under the mouse,
// six colours, pictures for the normal, hover and disabled states, sounds, a tooltip and an
// optional check-box mode. Its click raises its clicked event, and focus the focus events.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <array>
#include <optional>
#include <vector>

#include "controls/picture_service.h"
#include "controls/win32/colours.h"
#include "controls/win32/common_controls.h"
#include "controls/win32/font.h"
#include "controls/win32/picture_bitmap.h"
#include "controls/win32/sound_player.h"
#include "controls/win32/standard_units.h"
#include "controls/win32/unit_window.h"
#include "forms/event_numbers.h"
#include "runtime/win32/wide_text.h"

namespace velmora::controls {
namespace {

constexpr int kStandardStyle = 1;
constexpr int kRoundedStyle = 2;
constexpr int kMargin = 3;
constexpr int kHoverLightening = 32;
constexpr UINT kSoundFlags = SND_ASYNC | SND_NODEFAULT | SND_NOWAIT;
// The program's own click sound, a WAVE resource.
constexpr char kBuiltInSound[] = "VELMORA_CLICK";

// The rows of a monochrome mask of the picture, 1 for each pixel of the transparent colour (the
// default marker: the colour of the top-left pixel); those pixels are blackened in the picture.
std::vector<uint8_t> takeTransparentPixels(Picture& picture, int32_t transparentColour) {
  constexpr uint32_t kColourBits = 0xFFFFFF;
  const auto colour = static_cast<COLORREF>(transparentColour);
  const uint32_t transparent =
      isDefaultColour(transparentColour)
          ? picture.pixels[0] & kColourBits
          : uint32_t{GetRValue(colour)} << 16 | GetGValue(colour) << 8 | GetBValue(colour);
  const size_t stride = (picture.width + 15) / 16 * 2;  // mask rows are whole 16-bit words
  std::vector<uint8_t> mask(stride * picture.height, 0);
  for (uint32_t y = 0; y < picture.height; ++y) {
    for (uint32_t x = 0; x < picture.width; ++x) {
      uint32_t& pixel = picture.pixels[size_t{y} * picture.width + x];
      if ((pixel & kColourBits) != transparent) continue;
      mask[y * stride + x / 8] |= 0x80 >> (x % 8);
      pixel = 0;
    }
  }
  return mask;
}

// A picture with its transparent pixels blackened, and the mask that marks them.
class PictureSlot {
 public:
  ~PictureSlot() { release(); }
  bool empty() const { return bitmap_ == nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  HBITMAP bitmap() const { return bitmap_; }

  // The slot holds the new picture only: an empty one, or one that can't be decoded or masked,
  // leaves it empty. The mask is made from the decoded pixels' colours: a copy to monochrome
  // through the window system would compare the whole 32-bit pixel, alpha included, and match
  // nothing.
  void load(std::span<const uint8_t> bytes, int32_t transparentColour) {
    release();
    std::optional<Picture> picture = decodePicture(bytes);
    if (!picture) return;
    const int width = static_cast<int>(picture->width);
    const int height = static_cast<int>(picture->height);
    const std::vector<uint8_t> maskBits = takeTransparentPixels(*picture, transparentColour);
    bitmap_ = bitmapFromPicture(*picture);
    mask_ = CreateBitmap(width, height, 1, 1, maskBits.data());
    if (bitmap_ == nullptr || mask_ == nullptr) {
      release();
      return;
    }
    width_ = width;
    height_ = height;
  }

  // Draws the picture through its mask at (x, y) of a DC whose background colour is white.
  void drawMasked(HDC dc, int x, int y) const {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, mask_);
    SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, width_, height_, memory, 0, 0, SRCAND);
    SelectObject(memory, bitmap_);
    BitBlt(dc, x, y, width_, height_, memory, 0, 0, SRCPAINT);
    SelectObject(memory, old);
    DeleteDC(memory);
  }

  // Draws the picture on white, grayed.
  void drawGrayed(HDC dc, int x, int y) const {
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP composed = CreateCompatibleBitmap(dc, width_, height_);
    HGDIOBJ old = SelectObject(memory, composed);
    RECT all{0, 0, width_, height_};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkColor(memory, RGB(255, 255, 255));
    drawMasked(memory, 0, 0);
    SelectObject(memory, old);
    DeleteDC(memory);
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(composed), 0, x, y, width_, height_,
               DST_BITMAP | DSS_DISABLED);
    DeleteObject(composed);
  }

 private:
  void release() {
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (mask_ != nullptr) DeleteObject(mask_);
    bitmap_ = mask_ = nullptr;
    width_ = height_ = 0;
  }

  HBITMAP bitmap_ = nullptr;
  HBITMAP mask_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// The slots: 0 hover and pressed, 1 normal, 2 disabled.
enum Slot { kHoverSlot = 0, kNormalSlot = 1, kDisabledSlot = 2 };

// Where the picture lies: beside the caption on its left, above it or on its right, or at the
// item's top-left corner with the caption left where it is.
enum PicturePosition { kPictureLeft, kPictureAbove, kPictureRight, kPictureAtTopLeft };

// What one paint of the button shows.
struct PaintState {
  bool pressed;
  bool focused;
  bool disabled;
  bool hovered;
};

void fillWith(HDC dc, const RECT& area, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// One-pixel lines along the top and left in one colour, the bottom and right in another.
void drawEdge3d(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  fillWith(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  fillWith(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  fillWith(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  fillWith(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

void drawClassicRaisedEdge(HDC dc, const RECT& r) {
  drawEdge3d(dc, r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
  const RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  drawEdge3d(dc, inner, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

struct SuperBtnUnit : UnitOf<forms::SuperBtnProperties> {
  UnitFont font;
  std::array<PictureSlot, 3> slots;
  HWND toolTip = nullptr;
  bool hovered = false;
  bool checkBoxMode = false;
  forms::Bytes playing;  // the sound playing from memory
  // Disabling a focused window takes its focus before the window hears it is disabled.
  bool focusTakenByDisabling = false;

  void normalise() {
    auto& p = properties;
    p.style = clampChoice(p.style, 2);
    p.picturePosition = clampChoice(p.picturePosition, kPictureAtTopLeft);
    p.pressedOffset = clampChoice(p.pressedOffset, 1);
    p.defaultButton = clampChoice(p.defaultButton, 1);
    p.checkBoxMode = p.checkBoxMode != 0;
    p.checked = p.checked != 0;
  }

  bool flat() const { return properties.style != kStandardStyle; }
  bool rounded() const { return properties.style == kRoundedStyle; }
  bool isDefault() const { return !checkBoxMode && properties.defaultButton == 1; }
  POINT pressedOffset() const { return properties.pressedOffset == 0 ? POINT{1, 1} : POINT{0, 2}; }

  static bool isColour(Property property) {
    return property >= Property::kTextColour && property <= Property::kFocusBackgroundColour;
  }

  // The colour in effect for one of the six colour properties.
  COLORREF colour(Property property) const {
    using enum forms::SuperBtnProperty;
    const auto& p = properties;
    const bool text =
        property == kTextColour || property == kHoverTextColour || property == kFocusTextColour;
    if (p.useSystemColours) {
      if (text) return GetSysColor(COLOR_BTNTEXT);
      const COLORREF face = GetSysColor(COLOR_BTNFACE);
      return property == kHoverBackgroundColour ? lightenColour(face, kHoverLightening) : face;
    }
    int32_t value = p.backgroundColour;
    if (property == kTextColour) value = p.textColour;
    if (property == kHoverTextColour) value = p.hoverTextColour;
    if (property == kHoverBackgroundColour) value = p.hoverBackgroundColour;
    if (property == kFocusTextColour) value = p.focusTextColour;
    if (property == kFocusBackgroundColour) value = p.focusBackgroundColour;
    return text ? resolveColour(value, COLOR_BTNTEXT) : backgroundColour(value);
  }

  void loadPicture(Slot slot) {
    const auto& p = properties;
    if (slot == kHoverSlot) slots[slot].load(p.hoverPicture, p.hoverTransparentColour);
    if (slot == kNormalSlot) slots[slot].load(p.normalPicture, p.normalTransparentColour);
    if (slot == kDisabledSlot) slots[slot].load(p.disabledPicture, p.disabledTransparentColour);
  }

  void applyFont() {
    font.set(properties.font, FontUse::kOwnDrawing);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle()), TRUE);
  }

  bool open(const CreateRequest& request) {
    checkBoxMode = properties.checkBoxMode != 0;
    if (!createStandardControl(this, L"BUTTON", request, BS_OWNERDRAW, 0,
                               runtime::wideFromGbk(properties.caption).c_str())) {
      return false;
    }
    for (Slot slot : {kHoverSlot, kNormalSlot, kDisabledSlot}) loadPicture(slot);
    applyFont();
    if (!properties.toolTip.empty()) setToolTip();
    return true;
  }

  // Shows a written property; false when the unit must be created anew.
  bool applyChange(Property property) {
    const auto& p = properties;
    bool recreate = false;
    switch (property) {
      using enum forms::SuperBtnProperty;
      case kCheckBoxMode:
        recreate = checkBoxMode != (p.checkBoxMode != 0);
        checkBoxMode = p.checkBoxMode != 0;
        return !recreate;
      case kNormalPicture:
      case kNormalTransparentColour:
        loadPicture(kNormalSlot);
        break;
      case kHoverPicture:
      case kHoverTransparentColour:
        loadPicture(kHoverSlot);
        break;
      case kDisabledPicture:
      case kDisabledTransparentColour:
        loadPicture(kDisabledSlot);
        break;
      case kFont:
        applyFont();
        break;
      case kCaption:
        SetWindowTextW(window, runtime::wideFromGbk(p.caption).c_str());
        break;
      case kBuiltInSound:
      case kHoverSound:
      case kClickSound:
        return true;
      case kToolTip:
        setToolTip();
        return true;
      case kDefaultButton:
        recreate = true;
        break;
      default:
        // A colour changes nothing on screen while the system colours are in use.
        if (isColour(property) && p.useSystemColours) return true;
    }
    InvalidateRect(window, nullptr, FALSE);
    return !recreate;
  }

  // A sound from memory plays on after the call: it plays from the unit's own copy, which a new
  // property value can't free under it, and stops before the copy goes.
  void playSound(bool click) {
    const auto& p = properties;
    if (p.builtInSound) {
      playSoundFunction(kBuiltInSound, GetModuleHandleW(nullptr), SND_RESOURCE | kSoundFlags);
      return;
    }
    const forms::Bytes& sound = click ? p.clickSound : p.hoverSound;
    if (sound.empty()) return;
    stopSound();
    playing = sound;
    playSoundFunction(reinterpret_cast<LPCSTR>(playing.data()), nullptr, SND_MEMORY | kSoundFlags);
  }

  void stopSound() {
    if (playing.empty()) return;
    playSoundFunction(nullptr, nullptr, 0);
    playing.clear();
  }

  void setToolTip() {
    if (toolTip == nullptr) {
      if (properties.toolTip.empty()) return;
      registerCommonControls(ICC_WIN95_CLASSES);
      toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
      if (toolTip == nullptr) return;
      SendMessageW(toolTip, TTM_ACTIVATE, FALSE, 0);
      SendMessageW(toolTip, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    std::wstring text = runtime::wideFromGbk(properties.toolTip);
    TOOLINFOW tool{};
    // The structure's newer size is refused by the common controls of version 5, which a
    // program without a manifest asking for version 6 gets; every version takes this one.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;  // the tooltip sees the button's mouse messages itself
    tool.hwnd = window;
    tool.uId = 1;
    GetClientRect(window, &tool.rect);
    tool.lpszText = text.data();
    const bool hasTool = SendMessageW(toolTip, TTM_GETTOOLCOUNT, 0, 0) > 0;
    if (text.empty()) {
      if (hasTool) SendMessageW(toolTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
      return;
    }
    if (!hasTool) SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(toolTip, TTM_ACTIVATE, TRUE, 0);
  }

  void cancelHover() {
    if (!flat() || !hovered) return;
    hovered = false;
    InvalidateRect(window, nullptr, TRUE);
  }

  void trackHover(WPARAM keys) {
    if (((keys & MK_LBUTTON) && !hovered) || !flat()) return;
    POINT cursor;
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) != window) {
      cancelHover();
      return;
    }
    if (hovered) return;
    hovered = true;
    InvalidateRect(window, nullptr, TRUE);
    playSound(false);
    TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, window, 0};
    TrackMouseEvent(&leave);
  }

  void click() {
    playSound(true);
    if (checkBoxMode) {
      properties.checked = !properties.checked;
      InvalidateRect(window, nullptr, FALSE);
    }
    raiseEvent(*this, forms::super_btn_event::kClicked);
  }

  // A disabled button hands its focus on to the next tab item, or to its parent.
  void disabled() {
    if (GetFocus() == window || (focusTakenByDisabling && GetFocus() == nullptr)) {
      HWND parent = GetParent(window);
      HWND next = GetNextDlgTabItem(parent, window, FALSE);
      SetFocus(next != nullptr && next != window ? next : parent);
    }
    focusTakenByDisabling = false;
    cancelHover();
  }

  // The slot to draw from, or -1 when neither picture 15 nor 17 is set.
  int chosenSlot(const PaintState& state) const {
    if (slots[kHoverSlot].empty() && slots[kNormalSlot].empty()) return -1;
    int slot;
    if (state.disabled && !slots[kDisabledSlot].empty()) return kDisabledSlot;
    if (state.disabled) {
      slot = kHoverSlot;
    } else if (checkBoxMode) {
      slot = state.pressed ? kHoverSlot : kNormalSlot;
    } else {
      slot = state.pressed || state.hovered ? kHoverSlot : kNormalSlot;
    }
    return slots[slot].empty() ? 1 - slot : slot;
  }

  // Where the picture goes in the item; the caption's rectangle makes room for it.
  POINT placePicture(const RECT& item, bool hasCaption, int w, int h, bool pressed,
                     RECT& caption) const {
    const int width = item.right - item.left;
    const int height = item.bottom - item.top;
    const int centreX = (width - w) / 2;
    const int centreY = (height - h) / 2;
    POINT at{item.left, item.top};
    switch (properties.picturePosition) {
      case kPictureLeft:
        at = {hasCaption ? kMargin : centreX, centreY};
        if (hasCaption) caption.left += w + kMargin;
        break;
      case kPictureAbove:
        at = {centreX, hasCaption ? kMargin : centreY};
        if (hasCaption) caption.top += h;
        break;
      case kPictureRight:
        if (!hasCaption) {
          at = {centreX, item.top};
          break;
        }
        caption.right -= caption.left + kMargin + w;
        caption.left = kMargin;
        at = {item.right - kMargin - w, centreY};
        break;
      default:
        break;
    }
    if (pressed && !checkBoxMode) {
      at.x += pressedOffset().x;
      at.y += pressedOffset().y;
    }
    return at;
  }

  void paintBackground(HDC dc, const RECT& item, const PaintState& state) const {
    if (state.hovered || state.pressed) {
      if (rounded()) {
        SetDCBrushColor(dc, colour(Property::kHoverBackgroundColour));
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        RoundRect(dc, item.left, item.top, item.right, item.bottom, 8, 8);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        return;
      }
      fillWith(dc, item, colour(Property::kHoverBackgroundColour));
      return;
    }
    fillWith(
        dc, item,
        colour(state.focused ? Property::kFocusBackgroundColour : Property::kBackgroundColour));
  }

  void paintEdge(HDC dc, const RECT& item, const PaintState& state) const {
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const bool flatBorder = properties.drawBorder && !rounded();
    if (state.pressed) {
      if (!flat())
        FrameRect(dc, &item, GetSysColorBrush(COLOR_BTNSHADOW));
      else if (flatBorder)
        drawEdge3d(dc, item, shadow, highlight);
      return;
    }
    if (!flat())
      drawClassicRaisedEdge(dc, item);
    else if (flatBorder && state.hovered)
      drawEdge3d(dc, item, highlight, shadow);
  }

  void paintPicture(HDC dc, const RECT& item, bool hasCaption, const PaintState& state,
                    RECT& caption) const {
    const int slot = chosenSlot(state);
    if (slot < 0) return;
    SetBkColor(dc, RGB(255, 255, 255));
    const PictureSlot& picture = slots[slot];
    const POINT at =
        placePicture(item, hasCaption, picture.width(), picture.height(), state.pressed, caption);
    if (state.disabled && slot != kDisabledSlot)
      picture.drawGrayed(dc, at.x, at.y);
    else
      picture.drawMasked(dc, at.x, at.y);
  }

  void paintCaption(HDC dc, const std::wstring& text, RECT caption, const PaintState& state) const {
    if (state.pressed && !checkBoxMode) OffsetRect(&caption, pressedOffset().x, pressedOffset().y);
    RECT measured = caption;
    DrawTextW(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    OffsetRect(&measured,
               caption.left +
                   (caption.right - caption.left - (measured.right - measured.left)) / 2 -
                   measured.left,
               caption.top + (caption.bottom - caption.top - (measured.bottom - measured.top)) / 2 -
                   measured.top);
    constexpr UINT kFormat = DT_WORDBREAK | DT_CENTER;
    if (state.disabled) {
      RECT raised = measured;
      OffsetRect(&raised, 1, 1);
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      DrawTextW(dc, text.c_str(), -1, &raised, kFormat);
      SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
      DrawTextW(dc, text.c_str(), -1, &measured, kFormat);
      return;
    }
    using enum forms::SuperBtnProperty;
    const Property textColour = state.hovered || state.pressed ? kHoverTextColour
                                : state.focused                ? kFocusTextColour
                                                               : kTextColour;
    SetTextColor(dc, colour(textColour));
    DrawTextW(dc, text.c_str(), -1, &measured, kFormat);
  }

  void paint(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    const bool selected = item.itemState & ODS_SELECTED;
    const PaintState state{checkBoxMode ? selected || properties.checked : selected,
                           (item.itemState & ODS_FOCUS) != 0, (item.itemState & ODS_DISABLED) != 0,
                           hovered};
    SetBkMode(dc, TRANSPARENT);
    RECT area = item.rcItem;
    if (!flat() && (state.focused || isDefault())) {
      FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      InflateRect(&area, -1, -1);
    }
    paintBackground(dc, area, state);
    paintEdge(dc, area, state);
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    RECT caption = area;
    paintPicture(dc, area, !text.empty(), state, caption);
    HGDIOBJ oldFont = SelectObject(dc, font.handle());
    if (!text.empty()) paintCaption(dc, text, caption, state);
    SelectObject(dc, oldFont);
    if (state.focused && (!flat() || properties.drawFocusWhenFlat)) {
      RECT focus = item.rcItem;
      InflateRect(&focus, -3, -3);
      DrawFocusRect(dc, &focus);
    }
  }

  bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
      case forms::kReflectedMessageOffset + WM_DRAWITEM:
        paint(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
      case forms::kReflectedMessageOffset + WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) click();
        return true;
      case forms::kReflectedMessageOffset + WM_CTLCOLORBTN:
        result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return true;
      case WM_LBUTTONDBLCLK:
        // The button class takes double clicks, and an owner-drawn button would turn the second
        // click of one into a double-click notice and raise no click; to a person a quick second
        // click is one more click.
        result = defaultProcessing(*this, WM_LBUTTONDOWN, wParam, lParam);
        return true;
      case WM_MOUSEMOVE:
        result = defaultProcessing(*this, message, wParam, lParam);
        trackHover(wParam);
        return true;
      case WM_MOUSELEAVE:
      case WM_CANCELMODE:
        cancelHover();
        return false;
      case WM_ACTIVATE:
        // A child window never becomes inactive itself: its window passes its deactivation on.
        if (LOWORD(wParam) == WA_INACTIVE) cancelHover();
        return false;
      case WM_ENABLE:
        if (!wParam) disabled();
        return false;
      case WM_SETFOCUS:
        result = defaultProcessing(*this, message, wParam, lParam);
        raiseEvent(*this, forms::unit_event::kGotFocus);
        return true;
      case WM_KILLFOCUS:
        result = defaultProcessing(*this, message, wParam, lParam);
        focusTakenByDisabling = wParam == 0 && !IsWindowEnabled(window);
        cancelHover();
        raiseEvent(*this, forms::unit_event::kLostFocus);
        return true;
      case WM_GETDLGCODE:
        result = defaultProcessing(*this, message, wParam, lParam);
        result &= ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
        result |= isDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
        return true;
      case BM_SETSTYLE: {
        const DWORD type = wParam & BS_TYPEMASK;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
          properties.defaultButton = type == BS_DEFPUSHBUTTON;
        result = defaultProcessing(*this, message, (wParam & ~BS_TYPEMASK) | BS_OWNERDRAW, lParam);
        return true;
      }
      case BM_SETCHECK:
        if (checkBoxMode) {
          properties.checked = wParam == BST_CHECKED || wParam == BST_INDETERMINATE;
          InvalidateRect(window, nullptr, FALSE);
        }
        return true;
      case BM_GETCHECK:
        result = properties.checked;
        return true;
      case WM_DESTROY:
        stopSound();
        if (toolTip != nullptr) DestroyWindow(toolTip);
        toolTip = nullptr;
        return false;
      default:
        return message >= forms::kReflectedMessageOffset &&
               message < forms::kReflectedMessageOffset + WM_USER;
    }
  }
};

}  // namespace

void* superButtonInterface(int32_t number) {
  return UnitTypeFunctions<SuperBtnUnit>::functionNumbered(number);
}

}  // namespace velmora::controls
