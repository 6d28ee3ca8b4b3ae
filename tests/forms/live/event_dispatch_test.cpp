// Events from units to handlers through the runtime notify entry, and the other notify codes
// that concern windows and units.
#include <gtest/gtest.h>

#include "forms/event_numbers.h"
#include "forms/format/unit_ids.h"
#include "forms/format/unit_type_descriptors.h"
#include "forms/live/win32/event_dispatch.h"
#include "runtime/tagged_value.h"
#include "runtime/win32/runtime.h"
#include "tests/forms/live/test_forms.h"
#include "tests/support/gbk.h"
#include "tests/support/test_heap.h"

namespace velmora::forms {
namespace {

intptr_t notify(int32_t code, uintptr_t first = 0, uintptr_t second = 0) {
  return runtime::runtimeNotify(code, first, second);
}

template <class Record>
intptr_t raise(int32_t code, Record& record) {
  return notify(code, reinterpret_cast<uintptr_t>(&record));
}

class EventDispatch : public ::testing::Test {
 protected:
  std::string raisedMessage(EventRecord record) {
    try {
      raise(2008, record);
    } catch (const testing::RaisedRuntimeError& error) {
      return error.report.message;
    }
    return "no runtime error";
  }

  testing::TestHeap heap;
  testing::TestForms forms;
};

TEST_F(EventDispatch, AHandlerGetsTheArgumentsAndTheEventSourceAndItsAnswerIsKept) {
  EventRecord record{.windowId = testing::kMainWindow,
                     .unitId = testing::kLowerLabel,
                     .event = testing::kLabelEventWithArguments,
                     .argCount = 2};
  record.args[0] = 3;
  record.args[1] = 4;
  EXPECT_EQ(raise(2008, record), 1);
  EXPECT_EQ(record.resultFlag, 1u);
  EXPECT_EQ(record.result, 7u);
  EXPECT_EQ(testing::handlerCalls().arguments, (std::vector<uint32_t>{3, 4}));
  EXPECT_EQ(testing::handlerCalls().source,
            (std::vector<uint32_t>{testing::kMainWindow, testing::kLowerLabel}));
  uint32_t source[2] = {};
  EXPECT_EQ(notify(2017, reinterpret_cast<uintptr_t>(source)), 0);  // no handler runs now
}

TEST_F(EventDispatch, TypedArgumentsPassOneOrTwoWordsByTheirType) {
  TypedEventRecord record{.windowId = testing::kMainWindow,
                          .unitId = testing::kUpperLabel,
                          .event = testing::kLabelEventWithArguments,
                          .argCount = 2};
  record.args[0] = {.low = 0x1FF, .type = runtime::types::kByte};
  record.args[1] = {.low = 0xFFFF, .type = runtime::types::kShort};
  EXPECT_EQ(raise(2031, record), 1);
  EXPECT_EQ(testing::handlerCalls().arguments, (std::vector<uint32_t>{0xFF, 0xFFFFFFFF}));
  EXPECT_EQ(record.resultFlag, 1u);
  EXPECT_EQ(record.resultLow, 0xFEu);
  EXPECT_EQ(record.resultHigh, 1u);

  record = TypedEventRecord{.windowId = testing::kMainWindow,
                            .unitId = testing::kUpperLabel,
                            .event = testing::kLabelEventWithArguments,
                            .argCount = 1};
  record.args[0] = {.low = 11, .high = 22, .type = runtime::types::kDouble};
  raise(2031, record);
  EXPECT_EQ(testing::handlerCalls().arguments, (std::vector<uint32_t>{11, 22}));
  record.args[0].flags = 1;  // the low word only, whatever the type
  raise(2031, record);
  EXPECT_EQ(testing::handlerCalls().arguments[0], 11u);
}

TEST_F(EventDispatch, NothingIsCalledWithoutAHandlerOrWhileWindowsAreBuilt) {
  EventRecord unbound{.windowId = testing::kMainWindow,
                      .unitId = testing::kComboBox,
                      .event = combo_box_event::kItemChosen};
  EXPECT_EQ(raise(2008, unbound), 0);
  EXPECT_EQ(unbound.resultFlag, 0u);
  EventRecord bound{.windowId = testing::kMainWindow, .unitId = 0, .event = window_event::kCreated};
  notify(2009);
  EXPECT_EQ(runtime::runtimeState().loadingDepth, 1);
  EXPECT_EQ(raise(2008, bound), 0);
  notify(2010);
  notify(2010);  // never below zero
  EXPECT_EQ(runtime::runtimeState().loadingDepth, 0);
  EXPECT_EQ(raise(2008, bound), 1);
  EXPECT_EQ(bound.resultFlag, 0u);  // the handler gave no answer
  EXPECT_EQ(testing::handlerCalls().count[static_cast<int>(testing::Handler::mainCreated)], 1);
}

TEST_F(EventDispatch, EventsOfUnknownWindowsOrUnitsEndTheProgram) {
  EXPECT_EQ(raisedMessage({.windowId = 0x52000099}), testing::gbk(u8"未找到引发事件的窗口"));
  EXPECT_EQ(raisedMessage({.windowId = testing::kMainWindow, .unitId = 0x16000099}),
            testing::gbk(u8"未找到引发事件的窗口组件"));
}

TEST_F(EventDispatch, ALinkedUnitIsServedByTheHandlersOfTheUnitItNames) {
  EventRecord record{.windowId = testing::kStoredWindow,
                     .unitId = testing::kLinkedLabel,
                     .event = testing::kLabelEventWithArguments,
                     .argCount = 2};
  EXPECT_EQ(raise(2008, record), 1);
  EXPECT_EQ(testing::handlerCalls().source,
            (std::vector<uint32_t>{testing::kStoredWindow, testing::kLinkedLabel}));
  EXPECT_EQ(raisedMessage({.windowId = testing::kStoredWindow, .unitId = testing::kUntypedUnit}),
            testing::gbk(u8"引发事件的窗口组件无效"));
}

TEST_F(EventDispatch, NotifyCodesFindWindowsUnitsAndTypes) {
  EXPECT_EQ(notify(1001), reinterpret_cast<intptr_t>(&forms.registry()));
  const auto* label = reinterpret_cast<const UnitTypeDescriptor*>(notify(1002, kLabelType));
  ASSERT_NE(label, nullptr);
  EXPECT_STREQ(label->englishName, "Label");
  EXPECT_EQ(notify(1002, 0x00010002), 0);  // an empty slot
  EXPECT_EQ(notify(1002, 0x00020001), 0);  // no such library
  EXPECT_EQ(notify(2022, testing::kMainWindow, testing::kUpperLabel),
            static_cast<intptr_t>(kLabelType));
  EXPECT_EQ(notify(2022, testing::kMainWindow, 0), static_cast<intptr_t>(kWindowType));
  EXPECT_EQ(notify(2006, testing::kMainWindow, 0), 0);
  EXPECT_EQ(notify(2033, testing::kMainWindow), 0);
  ASSERT_TRUE(forms.registry().loadStartWindow(testing::kMainWindow));
  EXPECT_EQ(reinterpret_cast<HWND>(notify(2033, testing::kMainWindow)),
            forms.windowHandle(testing::kMainWindow));
  const auto* unit =
      reinterpret_cast<const LiveUnit*>(notify(2007, testing::kMainWindow, testing::kUpperLabel));
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->window, forms.unitHandle(testing::kMainWindow, testing::kUpperLabel));
  EXPECT_EQ(notify(2006, testing::kMainWindow, testing::kMainWindowUnit),
            notify(2006, testing::kMainWindow, 0));
}

}  // namespace
}  // namespace velmora::forms
