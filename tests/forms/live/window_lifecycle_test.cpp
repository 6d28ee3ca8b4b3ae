// Loading, showing, stacking, modal loops and destroying of windows, as a program sees them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "forms/format/property_indices.h"
#include "forms/format/window_data.h"
#include "forms/live/win32/form_commands.h"
#include "forms/live/win32/live_window.h"
#include "runtime/win32/runtime.h"
#include "tests/forms/live/command_arguments.h"
#include "tests/forms/live/test_forms.h"
#include "tests/support/gbk.h"
#include "tests/support/test_heap.h"

namespace velmora::forms {
namespace {

std::wstring textOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

bool loadWindow(uint32_t windowId, bool modal = false) {
  const runtime::ArgRecord args[] = {
      testing::windowReference(windowId), {}, testing::logicalRecord(modal)};
  runtime::ResultRecord result;
  loadWindowCommand(&result, 3, args);
  return result.value.asLogical();
}

void closeWindow(uint32_t windowId, uint32_t unitId = 0, bool immediately = false) {
  const runtime::ArgRecord args[] = {testing::windowReference(windowId, unitId),
                                     testing::logicalRecord(immediately)};
  runtime::ResultRecord result;
  closeWindowCommand(&result, immediately ? 2 : 1, args);
}

int calls(testing::Handler handler) {
  return testing::handlerCalls().count[static_cast<int>(handler)];
}

void onHandler(testing::Handler handler, std::function<void()> action) {
  testing::handlerCalls().action[static_cast<int>(handler)] = std::move(action);
}

// Whether `upper` lies above `lower` among their siblings.
bool liesAbove(HWND upper, HWND lower) {
  for (HWND at = GetWindow(GetParent(upper), GW_CHILD); at; at = GetWindow(at, GW_HWNDNEXT)) {
    if (at == upper) return true;
    if (at == lower) return false;
  }
  return false;
}

class WindowLifecycle : public ::testing::Test {
 protected:
  testing::TestForms forms;
};

TEST_F(WindowLifecycle, LoadBuildsTheUnitsInOrderWithoutEventsAndStacksEarlierUnitsOnTop) {
  ASSERT_TRUE(forms.registry().loadStartWindow(testing::kMainWindow));
  HWND window = forms.windowHandle(testing::kMainWindow);
  ASSERT_NE(window, nullptr);
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  EXPECT_STREQ(className, L"NVWindow");
  EXPECT_EQ(textOf(window), L"Main");
  EXPECT_TRUE(IsWindowVisible(window));
  // Each label reported an event while it was built; only the window's event 0 reached a
  // handler, after the units existed.
  EXPECT_EQ(calls(testing::Handler::labelEvent), 0);
  EXPECT_EQ(calls(testing::Handler::mainCreated), 1);
  EXPECT_EQ(runtime::runtimeState().loadingDepth, 0);
  // Control ids count from the last record to the first.
  EXPECT_EQ(GetDlgCtrlID(forms.unitHandle(testing::kMainWindow, testing::kComboBox)), 100);
  EXPECT_EQ(GetDlgCtrlID(forms.unitHandle(testing::kMainWindow, testing::kLowerLabel)), 110);
  EXPECT_EQ(GetDlgCtrlID(forms.unitHandle(testing::kMainWindow, testing::kUpperLabel)), 120);
  EXPECT_TRUE(liesAbove(forms.unitHandle(testing::kMainWindow, testing::kUpperLabel),
                        forms.unitHandle(testing::kMainWindow, testing::kLowerLabel)));
  // Once loaded, the units' events reach their handlers.
  SendMessageW(forms.unitHandle(testing::kMainWindow, testing::kLowerLabel),
               testing::kRaiseLabelEvent, 0, 0);
  EXPECT_EQ(calls(testing::Handler::labelEvent), 1);
}

TEST_F(WindowLifecycle, LoadingALiveWindowOnlyRestoresIt) {
  ASSERT_TRUE(loadWindow(testing::kMainWindow));
  HWND window = forms.windowHandle(testing::kMainWindow);
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(window));
  EXPECT_TRUE(loadWindow(testing::kMainWindow));
  EXPECT_EQ(forms.windowHandle(testing::kMainWindow), window);
  EXPECT_FALSE(IsIconic(window));
  EXPECT_EQ(calls(testing::Handler::mainCreated), 1);
}

TEST_F(WindowLifecycle, TheUnitThatHoldsTheFocusAtTheEndOfALoadGetsTheFocusEvent) {
  onHandler(testing::Handler::focusWindowCreated, [&] {
    SetFocus(forms.unitHandle(testing::kFocusWindow, testing::kContainedComboBox));
  });
  ASSERT_TRUE(loadWindow(testing::kFocusWindow));
  ASSERT_EQ(GetFocus(), forms.unitHandle(testing::kFocusWindow, testing::kContainedComboBox));
  EXPECT_EQ(calls(testing::Handler::gotFocus), 1);
  EXPECT_EQ(testing::handlerCalls().source,
            (std::vector<uint32_t>{testing::kFocusWindow, testing::kContainedComboBox}))
      << "not its container, stored after it";
}

TEST_F(WindowLifecycle, AWindowThatIsNoLongerActiveTellsItsUnits) {
  ASSERT_TRUE(loadWindow(testing::kMainWindow));
  ASSERT_EQ(GetActiveWindow(), forms.windowHandle(testing::kMainWindow));
  EXPECT_TRUE(testing::handlerCalls().deactivatedUnits.empty());
  ASSERT_TRUE(loadWindow(testing::kSecondWindow));
  ASSERT_EQ(GetActiveWindow(), forms.windowHandle(testing::kSecondWindow));
  EXPECT_EQ(
      testing::handlerCalls().deactivatedUnits,
      (std::vector<uint32_t>{testing::kUpperLabel, testing::kLowerLabel, testing::kComboBox}));
}

struct ModalObservation {
  bool mainEnabled = true;
  bool secondLive = false;
};
ModalObservation observed;

void CALLBACK observeAndCloseSecond(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const WindowObject* main = formRegistry().find(testing::kMainWindow);
  observed.mainEnabled = IsWindowEnabled(formRegistry().liveWindow(*main)->window);
  observed.secondLive = formRegistry().findLive(testing::kSecondWindow, 0, false) != nullptr;
  closeWindow(testing::kSecondWindow);
}

TEST_F(WindowLifecycle, AModalLoadDisablesTheOtherWindowsUntilTheModalWindowIsClosed) {
  ASSERT_TRUE(loadWindow(testing::kMainWindow));
  HWND main = forms.windowHandle(testing::kMainWindow);
  for (const bool enabledBefore : {true, false}) {
    EnableWindow(main, enabledBefore);
    observed = {};
    SetTimer(nullptr, 0, 50, observeAndCloseSecond);
    EXPECT_TRUE(loadWindow(testing::kSecondWindow, true));
    // The load returned only after the timer saw the modal window and closed it.
    EXPECT_TRUE(observed.secondLive);
    EXPECT_FALSE(observed.mainEnabled);
    EXPECT_EQ(forms.windowHandle(testing::kSecondWindow), nullptr);
    EXPECT_EQ(IsWindowEnabled(main) != FALSE, enabledBefore);
    EXPECT_EQ(runtime::runtimeState().modalWindowId, 0u);
  }
}

TEST_F(WindowLifecycle, AWindowClosedFromItsOwnHandlerGoesWhenThePostedRequestArrives) {
  bool liveAfterClose = false;
  onHandler(testing::Handler::secondCreated, [&] {
    closeWindow(testing::kSecondWindow);
    liveAfterClose = IsWindow(forms.windowHandle(testing::kSecondWindow));
  });
  ASSERT_TRUE(loadWindow(testing::kSecondWindow));
  EXPECT_TRUE(liveAfterClose);
  EXPECT_NE(forms.windowHandle(testing::kSecondWindow), nullptr);
  testing::pumpPending();
  EXPECT_EQ(forms.windowHandle(testing::kSecondWindow), nullptr);
}

TEST_F(WindowLifecycle, PropertyChangesAreDroppedWhenTheWindowGoes) {
  ASSERT_TRUE(loadWindow(testing::kMainWindow));
  forms.registry().writeProperty(testing::kMainWindow, 0, propertyIndex(WindowProperty::kCaption),
                                 -1, static_cast<uint32_t>(reinterpret_cast<uintptr_t>("Changed")),
                                 0);
  constexpr int32_t kLeft = propertyIndex(CommonProperty::kLeft);
  forms.registry().writeProperty(testing::kMainWindow, testing::kLowerLabel, kLeft, -1, 150, 0);
  EXPECT_EQ(textOf(forms.windowHandle(testing::kMainWindow)), L"Changed");
  closeWindow(testing::kMainWindow, 0, true);
  EXPECT_EQ(forms.windowHandle(testing::kMainWindow), nullptr);
  ASSERT_TRUE(loadWindow(testing::kMainWindow));
  EXPECT_EQ(textOf(forms.windowHandle(testing::kMainWindow)), L"Main");
  EXPECT_EQ(forms.registry().readProperty(testing::kMainWindow, testing::kLowerLabel, kLeft, -1),
            20u);
}

TEST_F(WindowLifecycle, AHandlerAnsweringFalseToTheCloseQueryKeepsTheWindow) {
  ASSERT_TRUE(loadWindow(testing::kMainWindow));
  HWND window = forms.windowHandle(testing::kMainWindow);
  testing::handlerCalls().closeQueryAnswer = 0;
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window));
  testing::handlerCalls().closeQueryAnswer = 0x8000000000000000ull;  // no answer: the close goes on
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(calls(testing::Handler::mainCloseQuery), 2);
}

void CALLBACK closeMain(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  closeWindow(testing::kMainWindow);
}

TEST_F(WindowLifecycle, ClosingTheLastWindowEndsTheMessageLoop) {
  ASSERT_TRUE(loadWindow(testing::kMainWindow));
  SetTimer(nullptr, 0, 50, closeMain);
  runtime::runMessageLoop();
  EXPECT_FALSE(forms.registry().anyWindowLive());
}

TEST_F(WindowLifecycle, AWindowWithAUnitOfATypeWithoutInterfaceFailsToLoadCleanly) {
  EXPECT_FALSE(forms.registry().loadStartWindow(testing::kBrokenWindow));
  EXPECT_FALSE(loadWindow(testing::kBrokenWindow));
  EXPECT_FALSE(forms.registry().anyWindowLive());
  EXPECT_EQ(runtime::runtimeState().loadingDepth, 0);
  const WindowObject* window = forms.registry().find(testing::kBrokenWindow);
  EXPECT_EQ(window->backup.count(), 0u);
  EXPECT_EQ(window->live.count(), 2u);
  EXPECT_FALSE(loadWindow(0x52000099));
}

// The test window data with the stored edit box named and its block of a version no reader
// knows.
Bytes dataWithAnUnreadableBlock() {
  std::vector<WindowRecord> windows = *readWindowData(testing::testWindowData());
  auto stored = std::find_if(windows.begin(), windows.end(), [](const WindowRecord& window) {
    return window.id == testing::kStoredWindow;
  });
  const uint32_t index = *stored->units.indexOf(testing::kStoredEditBox);
  UnitRecord edit = stored->units.unitAt(index);
  edit.name = "edit";
  edit.propertyBlock[0] = 99;
  stored->units.replaceRecord(index, writeUnitRecord(edit));
  return writeWindowData(windows);
}

TEST_F(WindowLifecycle, WindowDataThatDoesNotReadEndsTheProgramNamingWhereItIsBroken) {
  const Bytes& whole = testing::testWindowData();
  struct Case {
    Bytes data;
    const char8_t* message;
  };
  const Case cases[] = {
      {Bytes(whole.begin(), whole.begin() + 6), u8"窗口数据已损坏"},
      {Bytes(whole.begin(), whole.end() - 4), u8"窗口数据已损坏：窗口 0x52000005"},
      {dataWithAnUnreadableBlock(),
       u8"窗口数据已损坏：窗口 0x52000003，组件 0x16000031 \"edit\" 的属性无法读取"},
  };
  testing::TestHeap heap;  // runtime errors leave by an exception
  for (const Case& c : cases) {
    std::string raised = "no runtime error";
    try {
      runtime::windowRegistry().loadWindowData(c.data.data(), static_cast<uint32_t>(c.data.size()),
                                               testing::testCodeBase());
    } catch (const testing::RaisedRuntimeError& error) {
      raised = error.report.message;
    }
    EXPECT_EQ(raised, testing::gbk(c.message));
  }
}

TEST_F(WindowLifecycle, AUnitCreatedAnewKeepsItsPlaceAndProperties) {
  ASSERT_TRUE(loadWindow(testing::kMainWindow));
  HWND old = forms.unitHandle(testing::kMainWindow, testing::kUpperLabel);
  // Any label property but the caption needs a new unit.
  constexpr int32_t kEffect = propertyIndex(LabelProperty::kEffect);
  forms.registry().writeProperty(testing::kMainWindow, testing::kUpperLabel, kEffect, -1, 2, 0);
  HWND created = forms.unitHandle(testing::kMainWindow, testing::kUpperLabel);
  ASSERT_NE(created, nullptr);
  EXPECT_NE(created, old);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(textOf(created), L"upper");
  EXPECT_EQ(GetDlgCtrlID(created), 120);
  EXPECT_EQ(forms.registry().readProperty(testing::kMainWindow, testing::kUpperLabel, kEffect, -1),
            2u);
  EXPECT_TRUE(liesAbove(created, forms.unitHandle(testing::kMainWindow, testing::kLowerLabel)));
  EXPECT_EQ(runtime::runtimeState().loadingDepth, 0);
}

TEST_F(WindowLifecycle, AClosedUnitLeavesItsWindowUntilTheNextLoad) {
  ASSERT_TRUE(loadWindow(testing::kMainWindow));
  HWND lower = forms.unitHandle(testing::kMainWindow, testing::kLowerLabel);
  closeWindow(testing::kMainWindow, testing::kLowerLabel);
  EXPECT_FALSE(IsWindow(lower));
  EXPECT_FALSE(
      forms.registry().find(testing::kMainWindow)->live.indexOf(testing::kLowerLabel).has_value());
  EXPECT_NE(forms.unitHandle(testing::kMainWindow, testing::kUpperLabel), nullptr);
  closeWindow(testing::kMainWindow, 0, true);
  ASSERT_TRUE(loadWindow(testing::kMainWindow));
  EXPECT_NE(forms.unitHandle(testing::kMainWindow, testing::kLowerLabel), nullptr);
}

}  // namespace
}  // namespace velmora::forms
