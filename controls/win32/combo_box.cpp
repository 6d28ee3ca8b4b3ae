// The combo box: a standard combo box with stored items, item data and current item. A choice
// from the list raises the item-chosen event once the list has closed; editing the text raises
// the text-edited event.
#include <algorithm>

#include "controls/win32/colours.h"
#include "controls/win32/font.h"
#include "controls/win32/standard_units.h"
#include "controls/win32/unit_window.h"
#include "forms/event_numbers.h"
#include "runtime/win32/wide_text.h"

namespace velmora::controls {
namespace {

constexpr UINT kItemChosenMessage = 0xA711;
constexpr int kLowestDropHeight = 160;
constexpr int kDropDownList = 2;

DWORD kindStyle(int kind) {
  return kind == 0 ? CBS_SIMPLE : kind == 1 ? CBS_DROPDOWN : CBS_DROPDOWNLIST;
}

std::wstring itemText(HWND window, int index) {
  const LRESULT length = SendMessageW(window, CB_GETLBTEXTLEN, index, 0);
  if (length <= 0) return {};
  std::wstring text(length + 1, L'\0');
  const LRESULT copied =
      SendMessageW(window, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? copied : 0);
  return text;
}

// Item data is stored as one little-endian word per item, in item order.
uint32_t storedItemData(const forms::Bytes& data, size_t index) {
  return index * 4 + 4 <= data.size() ? forms::loadWord(&data[index * 4]) : 0;
}

struct ComboBoxUnit : UnitOf<forms::ComboBoxProperties> {
  UnitFont font;
  SolidBrush background;
  int dropHeight = 0;  // of the open box, field and list together

  bool hasEditPart() const { return properties.kind != kDropDownList; }

  void normalise() {
    properties.kind = clampChoice(properties.kind, 2);
    properties.maxLength = std::max(properties.maxLength, 0);
    properties.sorted = properties.sorted != 0;
  }

  bool open(const CreateRequest& request) {
    CreateRequest sized = request;
    if (properties.kind != 0) sized.height = std::max(sized.height, kLowestDropHeight);
    DWORD style = WS_VSCROLL | CBS_AUTOHSCROLL | CBS_NOINTEGRALHEIGHT | kindStyle(properties.kind);
    if (properties.sorted) style |= CBS_SORT;
    if (!createStandardControl(this, L"COMBOBOX", sized, style, 0)) return false;
    dropHeight = sized.height;
    applyFont();
    SendMessageW(window, CB_LIMITTEXT, properties.maxLength, 0);
    fillItems();
    if (hasEditPart()) applyText();
    return true;
  }

  void applyFont() {
    font.set(properties.font);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle()), TRUE);
    const LRESULT standard = SendMessageW(window, CB_GETITEMHEIGHT, 0, 0);
    if (standard > 0 && properties.extraItemHeight != 0) {
      SendMessageW(window, CB_SETITEMHEIGHT, 0,
                   std::max<LRESULT>(1, standard + properties.extraItemHeight));
    }
    fitDroppedList();
  }

  // The open box, field and list together, is as high as the unit: the list box is given the
  // height below the field and keeps it (no integral height), and the combo box drops the list at
  // the size its list box was given. Left to itself, the combo box would take a border allowance
  // off and round the list down to whole items.
  void fitDroppedList() {
    if (properties.kind == 0) return;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(window, &info)) return;
    RECT field;
    GetWindowRect(window, &field);
    RECT list;
    GetWindowRect(info.hwndList, &list);
    SetWindowPos(info.hwndList, nullptr, 0, 0, list.right - list.left,
                 dropHeight - (field.bottom - field.top),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void fillItems() {
    OwnContentChange own(*this);
    SendMessageW(window, CB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < properties.items.size(); ++i) {
      const LRESULT at =
          SendMessageW(window, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(runtime::wideFromGbk(properties.items[i]).c_str()));
      if (at >= 0) SendMessageW(window, CB_SETITEMDATA, at, storedItemData(properties.itemData, i));
    }
    selectCurrentItem();
  }

  void selectCurrentItem() {
    OwnContentChange own(*this);
    const int count = static_cast<int>(SendMessageW(window, CB_GETCOUNT, 0, 0));
    properties.currentItem = std::clamp(properties.currentItem, -1, count - 1);
    SendMessageW(window, CB_SETCURSEL, properties.currentItem, 0);
  }

  void applyText() {
    OwnContentChange own(*this);
    SetWindowTextW(window, runtime::wideFromGbk(properties.text).c_str());
    const int start = properties.selectionStart;
    SendMessageW(window, CB_SETEDITSEL, 0, MAKELPARAM(start, start + properties.selectionLength));
  }

  // The items, their data and the current item as the live box holds them, so that what the
  // list commands did to it is kept.
  void takeLiveValues() {
    const int count = std::max(0, static_cast<int>(SendMessageW(window, CB_GETCOUNT, 0, 0)));
    properties.items.clear();
    forms::ArchiveWriter data;
    for (int i = 0; i < count; ++i) {
      properties.items.push_back(runtime::gbkFromWide(itemText(window, i)));
      data.writeWord(static_cast<uint32_t>(SendMessageW(window, CB_GETITEMDATA, i, 0)));
    }
    const bool anyData =
        std::any_of(data.bytes().begin(), data.bytes().end(), [](uint8_t b) { return b != 0; });
    properties.itemData = anyData ? data.take() : forms::Bytes{};
    properties.currentItem = static_cast<int32_t>(SendMessageW(window, CB_GETCURSEL, 0, 0));
    if (!hasEditPart()) return;
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    properties.text = runtime::gbkFromWide(text);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(window, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    properties.selectionStart = static_cast<int32_t>(start);
    properties.selectionLength = static_cast<int32_t>(end - start);
  }

  bool readLiveOnly(Property property, forms::PropertyValue& value) {
    if (property != Property::kSelectedText) return false;
    const std::wstring text = runtime::wideFromGbk(properties.text);
    const size_t start = std::min<size_t>(properties.selectionStart, text.size());
    scratch.text =
        runtime::gbkFromWide(std::wstring_view(text).substr(start, properties.selectionLength));
    value = {reinterpret_cast<uintptr_t>(scratch.text.c_str()), 0};
    return true;
  }

  bool applyChange(Property property) {
    switch (property) {
      using enum forms::ComboBoxProperty;
      case kText:
      case kSelectionStart:
      case kSelectionLength:
        if (hasEditPart()) applyText();
        return true;
      case kMaxLength:
        SendMessageW(window, CB_LIMITTEXT, properties.maxLength, 0);
        return true;
      case kExtraItemHeight:
      case kFont:
        applyFont();
        return true;
      case kTextColour:
      case kBackgroundColour:
        InvalidateRect(window, nullptr, TRUE);
        return true;
      case kCurrentItem:
        selectCurrentItem();
        return true;
      case kItems:
      case kItemData:
        fillItems();
        return true;
      case kBindingSource:
      case kBindingField:
      case kReservedFlag24:
        return true;
      default:
        return false;  // the kind and sorting are window styles
    }
  }

  bool handle(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
      case kItemChosenMessage:
        raiseEvent(*this, forms::combo_box_event::kItemChosen);
        return true;
      case forms::kReflectedMessageOffset + WM_COMMAND:
        if (changingOwnContent != 0) return true;
        if (HIWORD(wParam) == CBN_SELENDOK) PostMessageW(window, kItemChosenMessage, 0, 0);
        if (HIWORD(wParam) == CBN_EDITCHANGE)
          raiseEvent(*this, forms::combo_box_event::kTextEdited);
        return true;
      case forms::kReflectedMessageOffset + WM_CTLCOLOREDIT:
      case forms::kReflectedMessageOffset + WM_CTLCOLORLISTBOX:
      case forms::kReflectedMessageOffset + WM_CTLCOLORSTATIC: {
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

void* comboBoxInterface(int32_t number) {
  return UnitTypeFunctions<ComboBoxUnit>::functionNumbered(number);
}

}  // namespace velmora::controls
