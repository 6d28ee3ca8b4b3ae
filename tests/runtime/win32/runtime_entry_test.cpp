// The entry slots with register conventions, the message loop and the GBK boundary, in-process.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "runtime/entry_stubs.h"
#include "runtime/win32/runtime.h"
#include "runtime/win32/wide_text.h"
#include "tests/support/gbk.h"

namespace velmora::runtime {

// The test program has no program data of its own.
const ProgramHeader programHeader = {};

namespace {

using testing::gbk;

struct SeenCall {
  int32_t argCount = -1;
  std::vector<ArgRecord> args;
  ResultRecord resultOnEntry{{1, 1}, 1};
};
SeenCall seen;

void recordingCommand(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  seen.argCount = argCount;
  seen.args.assign(args, args + argCount);
  seen.resultOnEntry = *result;
  result->value.setInt(argCount * 10);
  result->value.high = 0x1234;
  result->third = 0xABCD;
}

void silentCommand(ResultRecord*, int32_t, const ArgRecord*) {}

bool sameRecord(const ArgRecord& a, const ArgRecord& b) {
  return a.value.low == b.value.low && a.value.high == b.value.high && a.type == b.type;
}

TEST(CommandEntries, PassRecordsInOrderAndHandBackAllThreeResultWords) {
  for (EntryCode entry :
       {runtimeEntryTable.callCoreCommand, runtimeEntryTable.callLibraryCommand}) {
    seen = {};
    const ArgRecord args[] = {{{7, 0}, types::kInt}, {}, {{0, 0x40000000}, types::kDouble}};
    const ResultRecord result = callCommandEntry(entry, recordingCommand, 2, args);
    ASSERT_EQ(seen.argCount, 3);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(sameRecord(seen.args[i], args[i])) << i;
    EXPECT_EQ(seen.args[2].value.asDouble(), 2.0);
    EXPECT_EQ(seen.resultOnEntry.value.low, 0u);
    EXPECT_EQ(seen.resultOnEntry.value.high, 0u);
    EXPECT_EQ(seen.resultOnEntry.third, 0u);
    EXPECT_EQ(result.value.low, 30u);
    EXPECT_EQ(result.value.high, 0x1234u);
    EXPECT_EQ(result.third, 0xABCDu);
  }
}

TEST(CommandEntries, ACommandThatWritesNothingReturnsZeros) {
  const ArgRecord args[] = {{{1, 2}, types::kLong}};
  callCommandEntry(runtimeEntryTable.callCoreCommand, recordingCommand, 0, args);
  const ResultRecord result =
      callCommandEntry(runtimeEntryTable.callCoreCommand, silentCommand, 0, {});
  EXPECT_EQ(result.value.low, 0u);
  EXPECT_EQ(result.value.high, 0u);
  EXPECT_EQ(result.third, 0u);
}

TEST(WideText, ConvertsWithTheGbkCodePageWhateverTheSystemCodePage) {
  EXPECT_EQ(wideFromGbk(gbk(u8"错误: abc")), L"错误: abc");
  EXPECT_EQ(gbkFromWide(L"运行时出错!"), gbk(u8"运行时出错!"));
  EXPECT_EQ(wideFromGbk(""), L"");
  EXPECT_EQ(gbkFromWide(L""), "");
}

// A hidden window whose messages drive the loop under test.
class LoopWindow {
 public:
  LoopWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VelmoraLoopTest";
    RegisterClassW(&windowClass);
    handle = CreateWindowExW(0, L"VelmoraLoopTest", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  }
  ~LoopWindow() {
    if (IsWindow(handle)) DestroyWindow(handle);
  }

  static constexpr UINT kEndModal = WM_APP;
  static constexpr UINT kRunInnerModal = WM_APP + 1;
  static inline uint32_t modalIdAfterInner = 0;

  HWND handle;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kEndModal) {
      runtimeState().modalWindowId = 0;
      return 0;
    }
    if (message == kRunInnerModal) {
      PostMessageW(window, kEndModal, 0, 0);
      runModalMessageLoop(static_cast<uint32_t>(wParam));
      modalIdAfterInner = runtimeState().modalWindowId;
      PostMessageW(window, kEndModal, 0, 0);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
};

constexpr uint32_t kOuterWindowId = 0x52000001;
constexpr uint32_t kInnerWindowId = 0x52000002;

TEST(MessageLoop, ModalLoopEndsWhenItsWindowIsNoLongerModal) {
  LoopWindow window;
  ASSERT_NE(window.handle, nullptr);
  PostMessageW(window.handle, LoopWindow::kEndModal, 0, 0);
  runModalMessageLoop(kOuterWindowId);
  EXPECT_EQ(runtimeState().modalWindowId, 0u);
}

TEST(MessageLoop, NestedModalLoopGivesBackTheOuterModalWindowUnlessItHasEnded) {
  struct Nesting {
    uint32_t innerWindowId;
    uint32_t modalIdAfterInner;
  };
  // A window shown again while modal nests a loop for itself; when that one ends, its window is
  // no longer modal for the outer loop either.
  for (const Nesting nesting :
       {Nesting{kInnerWindowId, kOuterWindowId}, Nesting{kOuterWindowId, 0}}) {
    LoopWindow window;
    ASSERT_NE(window.handle, nullptr);
    PostMessageW(window.handle, LoopWindow::kRunInnerModal, nesting.innerWindowId, 0);
    runModalMessageLoop(kOuterWindowId);
    EXPECT_EQ(LoopWindow::modalIdAfterInner, nesting.modalIdAfterInner) << nesting.innerWindowId;
    EXPECT_EQ(runtimeState().modalWindowId, 0u);
  }
}

TEST(MessageLoop, ModalLoopLeavesTheQuitMessageToTheOuterLoop) {
  PostQuitMessage(3);
  runModalMessageLoop(kOuterWindowId);
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
}

std::vector<uintptr_t> idleArguments;
void VELMORA_STDCALL idleCallback(uintptr_t argument) {
  idleArguments.push_back(argument);
  runtimeState().modalWindowId = 0;  // ends the loop under test
}

TEST(MessageLoop, IdleCallbacksRunFromLastToFirstForLiveWindowsOnly) {
  LoopWindow first;
  LoopWindow second;
  LoopWindow gone;
  ASSERT_NE(gone.handle, nullptr);
  idleArguments.clear();
  addIdleCallback({first.handle, idleCallback, 1});
  addIdleCallback({first.handle, idleCallback, 99});  // one entry per window
  addIdleCallback({second.handle, idleCallback, 2});
  addIdleCallback({gone.handle, idleCallback, 3});
  addIdleCallback({nullptr, idleCallback, 4});  // not a window: never added
  DestroyWindow(gone.handle);
  runModalMessageLoop(kOuterWindowId);
  // Three passes while the queue stays empty: two before the windows' idle events are raised,
  // then the one that raises them (no window wants more).
  EXPECT_EQ(idleArguments, (std::vector<uintptr_t>{2, 1, 2, 1, 2, 1}));

  removeIdleCallback(second.handle);
  idleArguments.clear();
  runModalMessageLoop(kOuterWindowId);
  EXPECT_EQ(idleArguments, (std::vector<uintptr_t>{1, 1, 1}));
  dropIdleCallbacks();
}

std::vector<HWND> windowsToRemove;
void VELMORA_STDCALL removingIdleCallback(uintptr_t argument) {
  idleCallback(argument);
  for (HWND window : windowsToRemove) removeIdleCallback(window);
}

TEST(MessageLoop, AnIdleCallbackMayRemoveOtherEntries) {
  LoopWindow first;
  LoopWindow second;
  LoopWindow last;
  idleArguments.clear();
  addIdleCallback({first.handle, idleCallback, 1});
  addIdleCallback({second.handle, idleCallback, 2});
  addIdleCallback({last.handle, removingIdleCallback, 3});
  windowsToRemove = {first.handle, second.handle};
  runModalMessageLoop(kOuterWindowId);
  // The entries removed in the first pass never run, in that pass or later.
  EXPECT_EQ(idleArguments, (std::vector<uintptr_t>{3, 3, 3}));
  dropIdleCallbacks();
}

TEST(MessageLoop, MainLoopReturnsAtOnceWithoutLiveWindows) {
  runMessageLoop();
  EXPECT_TRUE(runtimeState().messageLoopStarted);
}

}  // namespace
}  // namespace velmora::runtime
