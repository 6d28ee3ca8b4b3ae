// Reading and writing unit properties through the registry, loaded and not, with the
// conversions the program relies on and the runtime errors that end it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "forms/format/property_indices.h"
#include "forms/format/unit_ids.h"
#include "forms/live/font_values.h"
#include "runtime/memory.h"
#include "runtime/value_blocks.h"
#include "tests/forms/live/test_forms.h"
#include "tests/support/gbk.h"
#include "tests/support/test_heap.h"

namespace velmora::forms {
namespace {

constexpr int32_t kWhole = -1;
using Common = CommonProperty;
using Label = LabelProperty;

constexpr int32_t part(FontElement element) {
  return static_cast<int32_t>(element);
}

class PropertyAccess : public ::testing::Test {
 protected:
  template <class Property>
  uint64_t read(uint32_t windowId, uint32_t unitId, Property property, int32_t part = kWhole) {
    return forms.registry().readProperty(windowId, unitId, propertyIndex(property), part);
  }
  template <class Property>
  void write(uint32_t windowId, uint32_t unitId, Property property, uint32_t value,
             int32_t part = kWhole) {
    forms.registry().writeProperty(windowId, unitId, propertyIndex(property), part, value, 0);
  }
  template <class Property>
  void writeText(uint32_t windowId, uint32_t unitId, Property property, const char* text,
                 int32_t part = kWhole) {
    write(windowId, unitId, property, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text)),
          part);
  }
  // A text the read entry returned, freed.
  std::string text(uint64_t value) {
    char* block = reinterpret_cast<char*>(static_cast<uintptr_t>(value));
    std::string result = block ? block : "";
    runtime::freeBlock(block);
    return result;
  }
  std::string raisedMessage(const std::function<void()>& access) {
    try {
      access();
    } catch (const testing::RaisedRuntimeError& error) {
      return error.report.message;
    }
    return "no runtime error";
  }

  testing::TestHeap heap;
  testing::TestForms forms;
};

TEST_F(PropertyAccess, AWindowNeverLoadedServesCommonPropertiesFromItsRecordOnly) {
  EXPECT_EQ(read(testing::kStoredWindow, testing::kStoredEditBox, Common::kWidth),
            static_cast<uint32_t>(testing::kStoredEditBoxWidth));
  EXPECT_EQ(read(testing::kStoredWindow, testing::kStoredEditBox, Common::kVisible), 1u);
  EXPECT_EQ(raisedMessage([&] {
              read(testing::kStoredWindow, testing::kStoredEditBox, EditBoxProperty::kContent);
            }),
            testing::gbk(u8"读取组件属性时发现指定窗口尚未载入"));
  EXPECT_EQ(raisedMessage([&] {
              writeText(testing::kStoredWindow, testing::kStoredEditBox, EditBoxProperty::kContent,
                        "x");
            }),
            testing::gbk(u8"修改组件属性时发现指定窗口尚未载入"));
  EXPECT_EQ(raisedMessage([&] { read(0x52000099, testing::kStoredEditBox, Common::kWidth); }),
            testing::gbk(u8"未载入欲访问窗口组件所在的窗口"));
}

TEST_F(PropertyAccess, PositionsAndSizesAreClampedWhenStored) {
  write(testing::kStoredWindow, testing::kStoredEditBox, Common::kWidth, static_cast<uint32_t>(-5));
  EXPECT_EQ(read(testing::kStoredWindow, testing::kStoredEditBox, Common::kWidth), 0u);
  write(testing::kStoredWindow, testing::kStoredEditBox, Common::kLeft, 40000);
  EXPECT_EQ(read(testing::kStoredWindow, testing::kStoredEditBox, Common::kLeft), 32627u);
  write(testing::kStoredWindow, testing::kStoredEditBox, Common::kTop,
        static_cast<uint32_t>(-40000));
  EXPECT_EQ(
      static_cast<int32_t>(read(testing::kStoredWindow, testing::kStoredEditBox, Common::kTop)),
      -32627);
  write(testing::kStoredWindow, testing::kStoredEditBox, Common::kHeight, 40000);
  EXPECT_EQ(read(testing::kStoredWindow, testing::kStoredEditBox, Common::kHeight), 32627u);
}

TEST_F(PropertyAccess, ALongerTagResizesTheRecordAndLeavesTheOtherUnitsIntact) {
  writeText(testing::kMainWindow, testing::kUpperLabel, Common::kTag,
            "a much longer tag than before");
  EXPECT_EQ(text(read(testing::kMainWindow, testing::kUpperLabel, Common::kTag)),
            "a much longer tag than before");
  EXPECT_EQ(text(read(testing::kMainWindow, testing::kLowerLabel, Common::kTag)), "tag");
  EXPECT_EQ(read(testing::kMainWindow, testing::kLowerLabel, Common::kLeft), 20u);
  write(testing::kMainWindow, testing::kUpperLabel, Common::kTag, 0);
  EXPECT_EQ(read(testing::kMainWindow, testing::kUpperLabel, Common::kTag), 0u);  // the empty text
  ASSERT_TRUE(forms.registry().loadStartWindow(testing::kMainWindow));
  EXPECT_EQ(GetDlgCtrlID(forms.unitHandle(testing::kMainWindow, testing::kUpperLabel)), 120);
}

TEST_F(PropertyAccess, LiveUnitsAnswerFromTheirWindows) {
  ASSERT_TRUE(forms.registry().loadStartWindow(testing::kMainWindow));
  HWND lower = forms.unitHandle(testing::kMainWindow, testing::kLowerLabel);
  write(testing::kMainWindow, testing::kLowerLabel, Common::kLeft, 55);
  write(testing::kMainWindow, testing::kLowerLabel, Common::kHeight, 44);
  RECT rect;
  GetWindowRect(lower, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(lower), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 55);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.bottom - rect.top, 44);
  EXPECT_EQ(read(testing::kMainWindow, testing::kLowerLabel, Common::kLeft), 55u);
  write(testing::kMainWindow, testing::kLowerLabel, Common::kVisible, 0);
  EXPECT_FALSE(IsWindowVisible(lower));
  EXPECT_EQ(read(testing::kMainWindow, testing::kLowerLabel, Common::kVisible), 0u);
  write(testing::kMainWindow, testing::kLowerLabel, Common::kVisible, 1);
  EXPECT_TRUE(IsWindowVisible(lower));
  write(testing::kMainWindow, testing::kLowerLabel, Common::kDisabled, 1);
  EXPECT_FALSE(IsWindowEnabled(lower));
  EXPECT_EQ(read(testing::kMainWindow, testing::kLowerLabel, Common::kDisabled), 1u);
  writeText(testing::kMainWindow, testing::kLowerLabel, Label::kCaption, "new caption");
  EXPECT_EQ(text(read(testing::kMainWindow, testing::kLowerLabel, Label::kCaption)), "new caption");
}

TEST_F(PropertyAccess, FontsAreReadAndWrittenByElement) {
  ASSERT_TRUE(forms.registry().loadStartWindow(testing::kMainWindow));
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(dpi, 96);
  constexpr Label kFont = Label::kFont;
  constexpr int32_t kSize = part(FontElement::kSize);
  constexpr int32_t kBold = part(FontElement::kBold);
  constexpr int32_t kFace = part(FontElement::kFaceName);
  EXPECT_EQ(read(testing::kMainWindow, testing::kUpperLabel, kFont, kSize), 9u);
  EXPECT_EQ(read(testing::kMainWindow, testing::kUpperLabel, kFont, kBold), 1u);
  EXPECT_EQ(text(read(testing::kMainWindow, testing::kUpperLabel, kFont, kFace)), "Tahoma");
  const auto* record = reinterpret_cast<uint32_t*>(
      static_cast<uintptr_t>(read(testing::kMainWindow, testing::kUpperLabel, kFont)));
  EXPECT_EQ(record[1], 1u);
  EXPECT_EQ(record[5], 9u);
  EXPECT_EQ(text(record[6]), "Tahoma");
  runtime::freeBlock(const_cast<uint32_t*>(record));

  write(testing::kMainWindow, testing::kUpperLabel, kFont, 12, kSize);
  EXPECT_EQ(read(testing::kMainWindow, testing::kUpperLabel, kFont, kSize), 12u);
  EXPECT_EQ(read(testing::kMainWindow, testing::kUpperLabel, kFont, kBold),
            1u);  // the rest of the font stays
  const std::string longFace(32, 'F');
  writeText(testing::kMainWindow, testing::kUpperLabel, kFont, longFace.c_str(), kFace);
  EXPECT_EQ(text(read(testing::kMainWindow, testing::kUpperLabel, kFont, kFace)),
            testing::gbk(u8"宋体"));
  writeText(testing::kMainWindow, testing::kUpperLabel, kFont, "Arial", kFace);
  EXPECT_EQ(text(read(testing::kMainWindow, testing::kUpperLabel, kFont, kFace)), "Arial");
  writeText(testing::kMainWindow, testing::kUpperLabel, kFont, "", kFace);
  EXPECT_EQ(text(read(testing::kMainWindow, testing::kUpperLabel, kFont, kFace)),
            testing::gbk(u8"宋体"));
}

TEST_F(PropertyAccess, PointerDataHoldsTheSystemIdAndReadsAsTheCode) {
  const uint8_t hand[] = {14, 0, 0, 0};
  void* data = runtime::byteSetFromBytes(hand, 4);
  write(testing::kMainWindow, testing::kLowerLabel, Common::kPointer,
        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(data)));
  runtime::freeBlock(data);
  const WindowObject* window = forms.registry().find(testing::kMainWindow);
  const UnitRecord stored = window->live.unitAt(*window->live.indexOf(testing::kLowerLabel));
  EXPECT_EQ(loadWord(stored.pointerData.data()), 0x7F89u);
  void* read = reinterpret_cast<void*>(static_cast<uintptr_t>(
      this->read(testing::kMainWindow, testing::kLowerLabel, Common::kPointer)));
  ASSERT_EQ(runtime::byteSetLength(read), 4);
  EXPECT_EQ(loadWord(runtime::byteSetData(read)), 14u);
  runtime::freeBlock(read);
}

}  // namespace
}  // namespace velmora::forms
