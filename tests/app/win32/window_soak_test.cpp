// Opening and closing each of the program's windows many times leaves nothing behind: not in the
// runtime's heap, the process's heaps or working set, nor among its windows; nor among its USER
// and GDI objects where the system counts them.
#include <gtest/gtest.h>

#include <string>

#include "forms/format/property_indices.h"
#include "forms/live/win32/form_registry.h"
#include "runtime/memory.h"
#include "tests/support/process_resources.h"
#include "tests/support/program_windows.h"
#include "tests/support/test_heap.h"

namespace velmora::testing {
namespace {

constexpr int kCycles = 30;
constexpr int32_t kTagProperty = forms::propertyIndex(forms::CommonProperty::kTag);
// Growth the process's heaps may show over all the cycles: less than one block, and less than 64
// bytes, a cycle. A leak of one block a cycle fails.
constexpr size_t kHeapBlockSlack = kCycles / 2;
constexpr size_t kHeapByteSlack = 64 * kCycles;
// The working set moves by a few pages as the system touches memory; a picture's bitmap left
// behind on each cycle (the smallest is 90 by 90 pixels, 32 KB) grows it by about 1 MB.
constexpr size_t kWorkingSetSlack = 512 * 1024;
// A close that takes this long waits for a window manager (see scripts/wine-env.sh).
constexpr ULONGLONG kSlowClose = 1000;

// What a window's handlers do while it is open: every unit's tag written and read back, and its
// place read.
void useUnits(uint32_t windowId) {
  forms::FormRegistry& registry = forms::formRegistry();
  const forms::WindowObject* window = registry.find(windowId);
  ASSERT_NE(window, nullptr);
  static const char kTag[] = "soak";
  for (uint32_t i = 1; i < window->live.count(); ++i) {
    if (window->live.unitAt(i).isMenuItem()) continue;
    const uint32_t unitId = window->live.idAt(i);
    registry.writeProperty(windowId, unitId, kTagProperty, 0, reinterpret_cast<uintptr_t>(kTag), 0);
    auto* tag = reinterpret_cast<char*>(
        static_cast<uintptr_t>(registry.readProperty(windowId, unitId, kTagProperty, 0)));
    ASSERT_NE(tag, nullptr);
    EXPECT_STREQ(tag, kTag);
    runtime::freeBlock(tag);
    for (forms::CommonProperty place :
         {forms::CommonProperty::kLeft, forms::CommonProperty::kTop, forms::CommonProperty::kWidth,
          forms::CommonProperty::kHeight})
      registry.readProperty(windowId, unitId, forms::propertyIndex(place), 0);
  }
}

void openUseAndClose(const ProgramWindow& window) {
  HWND handle = openProgramWindow(window.id);
  ASSERT_NE(handle, nullptr) << window.name << " did not load";
  EXPECT_TRUE(IsWindowVisible(handle));
  EXPECT_FALSE(GetUpdateRect(handle, nullptr, FALSE)) << window.name << " is not painted";
  useUnits(window.id);
  const ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(closeProgramWindow(window.id)) << window.name << " did not close";
  ASSERT_LT(GetTickCount64() - start, kSlowClose)
      << "closing waited for a window manager: under Wine, run this program after "
         "start_wine_display of scripts/wine-env.sh";
}

int64_t growth(size_t before, size_t after) {
  return static_cast<int64_t>(after) - static_cast<int64_t>(before);
}

class WindowSoak : public ::testing::TestWithParam<ProgramWindow> {
 protected:
  static void SetUpTestSuite() { startProgramRuntime(); }
};

TEST_P(WindowSoak, OpeningAndClosingLeavesNothingBehind) {
  const ProgramWindow& window = GetParam();
  TestHeap runtimeHeap;
  // The first cycle makes what stays for the process: window classes, fonts, caches.
  ASSERT_NO_FATAL_FAILURE(openUseAndClose(window));
  // The heap's record of requests keeps its room; each cycle asks the same.
  runtimeHeap.requestedSizes.clear();
  const size_t runtimeBlocks = runtimeHeap.liveBlocks();
  const ProcessResources before = processResources();
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    ASSERT_NO_FATAL_FAILURE(openUseAndClose(window));
    runtimeHeap.requestedSizes.clear();
  }
  const ProcessResources after = processResources();

  EXPECT_EQ(runtimeHeap.liveBlocks(), runtimeBlocks);
  EXPECT_LE(after.heapBlocks, before.heapBlocks + kHeapBlockSlack);
  EXPECT_LE(after.heapBytes, before.heapBytes + kHeapByteSlack);
  EXPECT_LE(after.workingSet, before.workingSet + kWorkingSetSlack);
  EXPECT_EQ(after.windows, before.windows);
  // Wine's GetGuiResources counts nothing; Windows counts both.
  if (before.userObjects != 0) {
    EXPECT_EQ(after.userObjects, before.userObjects);
  }
  if (before.gdiObjects != 0) {
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
  }
  RecordProperty("heap_bytes_growth", std::to_string(growth(before.heapBytes, after.heapBytes)));
  RecordProperty("working_set_growth", std::to_string(growth(before.workingSet, after.workingSet)));
}

INSTANTIATE_TEST_SUITE_P(ProgramWindows, WindowSoak, ::testing::ValuesIn(kProgramWindows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora::testing
