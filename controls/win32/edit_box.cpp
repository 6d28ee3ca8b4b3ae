// The edit box: a standard edit control with colours, a minimum height, vertical centring of a
// single-line box, input modes and an optional up-down adjuster.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "controls/edit_input.h"
#include "controls/win32/borders.h"
#include "controls/win32/colours.h"
#include "controls/win32/common_controls.h"
#include "controls/win32/font.h"
#include "controls/win32/standard_units.h"
#include "controls/win32/unit_window.h"
#include "forms/event_numbers.h"
#include "runtime/win32/wide_text.h"

namespace velmora::controls {
namespace {

constexpr int kAutomaticAdjustment = 1;

int textHeight(HWND window, HFONT font, const wchar_t* text) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size.cy;
}

std::wstring windowText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

struct EditBoxUnit : UnitOf<forms::EditBoxProperties> {
  UnitFont font;
  SolidBrush background;
  HWND adjuster = nullptr;
  int bandHeight = 0;  // the text band of a single-line box

  bool singleLine() const { return properties.multiLine == 0; }

  void normalise() {
    auto& p = properties;
    p.border = clampChoice(p.border, kSingleLineBorder);
    p.hideSelection = p.hideSelection != 0;
    p.maxLength = std::max(p.maxLength, 0);
    p.multiLine = p.multiLine != 0;
    p.scrollBars = clampChoice(p.scrollBars, 3);
    p.alignment = clampChoice(p.alignment, 2);
    p.inputMode = clampChoice(p.inputMode, kDoubleInput);
    p.letterCase = clampChoice(p.letterCase, 2);
  }

  DWORD editStyle() const {
    const auto& p = properties;
    DWORD style = ES_AUTOHSCROLL;
    if (p.multiLine) {
      style = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
      if (p.scrollBars & 1) style |= ES_AUTOHSCROLL | WS_HSCROLL;
      if (p.scrollBars & 2) style |= WS_VSCROLL;
    }
    if (!p.hideSelection) style |= ES_NOHIDESEL;
    if (p.alignment == 1) style |= ES_CENTER;
    if (p.alignment == 2) style |= ES_RIGHT;
    if (p.inputMode == kReadOnlyInput) style |= ES_READONLY;
    if (p.inputMode == kPasswordInput) style |= ES_PASSWORD;
    if (p.letterCase == 1) style |= ES_LOWERCASE;
    if (p.letterCase == 2) style |= ES_UPPERCASE;
    return style;
  }

  bool open(const CreateRequest& request) {
    const BorderStyles border = borderStyles(properties.border);
    const std::wstring content = runtime::wideFromGbk(properties.content);
    if (!createStandardControl(this, L"EDIT", request, editStyle() | border.style,
                               border.extendedStyle, content.c_str())) {
      return false;
    }
    font.set(properties.font);
    applyFont();
    SendMessageW(window, EM_LIMITTEXT, properties.maxLength, 0);
    applyPasswordCharacter();
    applySelection();
    if (properties.adjuster != 0 && singleLine()) openAdjuster(request);
    return true;
  }

  // Sets the font. A single-line box lower than its text needs is made that high, and its text
  // band is sized and centred anew for the font, whether or not the box changed size.
  void applyFont() {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle()), TRUE);
    bandHeight = textHeight(window, font.handle(), L"W");
    if (!singleLine()) return;
    const int needed =
        textHeight(window, font.handle(), L"\u5434") + 2 * GetSystemMetrics(SM_CYEDGE);
    RECT rect;
    GetWindowRect(window, &rect);
    SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left,
                 std::max(rect.bottom - rect.top, static_cast<LONG>(needed)),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }

  void applyPasswordCharacter() {
    if (properties.inputMode != kPasswordInput) return;
    const std::wstring mask = runtime::wideFromGbk(textFromCharacter(properties.passwordCharacter));
    SendMessageW(window, EM_SETPASSWORDCHAR, mask.empty() ? L'*' : mask[0], 0);
  }

  // Wine's multi-line edit control loses a heap block for every wrapped line it still holds when
  // it is destroyed; emptied first, it holds none.
  void forgetContent() {
    OwnContentChange own(*this);
    SetWindowTextW(window, L"");
  }

  void clampNumericText() {
    if (auto clamped =
            clampedNumericText(properties.inputMode, runtime::gbkFromWide(windowText(window)))) {
      OwnContentChange own(*this);
      SetWindowTextW(window, runtime::wideFromGbk(*clamped).c_str());
    }
  }

  void applySelection() {
    const int start = properties.selectionStart;
    SendMessageW(window, EM_SETSEL, start, start + properties.selectionLength);
  }

  void applyAdjusterRange() {
    SendMessageW(adjuster, UDM_SETRANGE32,
                 std::min(properties.adjusterLowest, properties.adjusterHighest),
                 std::max(properties.adjusterLowest, properties.adjusterHighest));
  }

  void openAdjuster(const CreateRequest& request) {
    registerCommonControls(ICC_UPDOWN_CLASS);
    adjuster = CreateWindowExW(0, UPDOWN_CLASSW, nullptr,
                               WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 0, 0,
                               request.parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (adjuster == nullptr) return;
    forms::markUnitWindow(adjuster, window);
    SendMessageW(adjuster, UDM_SETBUDDY, reinterpret_cast<WPARAM>(window), 0);
    applyAdjusterRange();
  }

  void adjust(int step) {
    if (properties.adjuster != kAutomaticAdjustment) {
      raiseEvent(*this, forms::edit_box_event::kAdjusterClicked, {step});
      return;
    }
    const int lowest = std::min(properties.adjusterLowest, properties.adjusterHighest);
    const int highest = std::max(properties.adjusterLowest, properties.adjusterHighest);
    const int value = _wtoi(windowText(window).c_str());
    SetWindowTextW(window, std::to_wstring(std::clamp(value + step, lowest, highest)).c_str());
    SendMessageW(window, EM_SETSEL, 0, -1);
    SetFocus(window);
  }

  void takeLiveValues() {
    properties.content = runtime::gbkFromWide(windowText(window));
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    properties.selectionStart = static_cast<int32_t>(start);
    properties.selectionLength = static_cast<int32_t>(end - start);
  }

  bool readLiveOnly(Property property, forms::PropertyValue& value) {
    if (property != Property::kSelectedText) return false;
    const std::wstring text = windowText(window);
    const size_t start = std::min<size_t>(properties.selectionStart, text.size());
    scratch.text =
        runtime::gbkFromWide(std::wstring_view(text).substr(start, properties.selectionLength));
    value = {reinterpret_cast<uintptr_t>(scratch.text.c_str()), 0};
    return true;
  }

  bool applyChange(Property property) {
    switch (property) {
      using enum forms::EditBoxProperty;
      case kContent: {
        OwnContentChange own(*this);
        SetWindowTextW(window, runtime::wideFromGbk(properties.content).c_str());
        return true;
      }
      case kTextColour:
      case kBackgroundColour:
        InvalidateRect(window, nullptr, TRUE);
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        return true;
      case kFont:
        font.set(properties.font);
        applyFont();
        return true;
      case kMaxLength:
        SendMessageW(window, EM_LIMITTEXT, properties.maxLength, 0);
        return true;
      case kPasswordCharacter:
        applyPasswordCharacter();
        return true;
      case kAdjusterLowest:
      case kAdjusterHighest:
        if (adjuster != nullptr) applyAdjusterRange();
        return true;
      case kSelectionStart:
      case kSelectionLength:
        applySelection();
        return true;
      case kBindingSource:
      case kBindingField:
        return true;
      default:
        return false;  // a window style
    }
  }

  // The client band of a single-line box: the height of "W", centred in the window.
  void centreClientBand(NCCALCSIZE_PARAMS& sizes, const RECT& windowRect) {
    RECT& client = sizes.rgrc[0];
    const int top = windowRect.top + (windowRect.bottom - windowRect.top - bandHeight) / 2;
    client.top = std::max(client.top, static_cast<LONG>(top));
    client.bottom =
        std::max(client.top, std::min(client.bottom, static_cast<LONG>(top + bandHeight)));
  }

  void paintAroundBand() {
    HDC dc = GetWindowDC(window);
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -windowRect.left, -windowRect.top);
    OffsetRect(&windowRect, -windowRect.left, -windowRect.top);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    FillRect(dc, &windowRect, background.set(backgroundColour(properties.backgroundColour)));
    ReleaseDC(window, dc);
  }

  bool outsideBand(LPARAM point) {
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    return !PtInRect(&client, at);
  }

  LRESULT colours(HDC dc) {
    return controlColours(dc, properties.textColour, properties.backgroundColour, background);
  }

  bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
      case WM_NCCALCSIZE: {
        if (!singleLine() || !wParam) return false;
        auto& sizes = *reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        const RECT windowRect = sizes.rgrc[0];
        result = defaultProcessing(*this, message, wParam, lParam);
        centreClientBand(sizes, windowRect);
        return true;
      }
      case WM_NCPAINT:
        if (singleLine()) paintAroundBand();
        return false;
      case WM_NCHITTEST:
        if (!singleLine()) return false;
        result = defaultProcessing(*this, message, wParam, lParam);
        if (result == HTCLIENT && outsideBand(lParam)) result = HTBORDER;
        return true;
      case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        colours(reinterpret_cast<HDC>(wParam));
        FillRect(reinterpret_cast<HDC>(wParam), &client, background.handle());
        result = 1;
        return true;
      }
      case WM_CHAR:
        return !acceptsTypedCharacter(properties.inputMode, static_cast<unsigned>(wParam));
      case WM_KILLFOCUS:
        // The lost-focus handler reads the value the box keeps: clamped into its mode's range.
        clampNumericText();
        result = defaultProcessing(*this, message, wParam, lParam);
        raiseEvent(*this, forms::unit_event::kLostFocus);
        return true;
      case WM_DESTROY:
        if (adjuster != nullptr) {
          forms::unmarkUnitWindow(adjuster);
          DestroyWindow(adjuster);
        }
        adjuster = nullptr;
        if (!singleLine()) forgetContent();
        return false;
      case forms::kReflectedMessageOffset + WM_CTLCOLOREDIT:
      case forms::kReflectedMessageOffset + WM_CTLCOLORSTATIC:
        result = colours(reinterpret_cast<HDC>(wParam));
        return true;
      case forms::kReflectedMessageOffset + WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE && changingOwnContent == 0)
          raiseEvent(*this, forms::edit_box_event::kContentChanged);
        return true;
      case forms::kReflectedMessageOffset + WM_NOTIFY: {
        const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
        if (change->hdr.code != UDN_DELTAPOS) return true;
        adjust(change->iDelta > 0 ? 1 : -1);
        result = 1;  // the adjuster keeps no position of its own
        return true;
      }
      default:
        return false;
    }
  }
};

}  // namespace

void* editBoxInterface(int32_t number) {
  return UnitTypeFunctions<EditBoxUnit>::functionNumbered(number);
}

}  // namespace velmora::controls
