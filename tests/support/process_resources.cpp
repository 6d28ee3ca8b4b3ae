#include "tests/support/process_resources.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <vector>

namespace velmora::testing {
namespace {

void addHeapInUse(HANDLE heap, ProcessResources& resources) {
  if (!HeapLock(heap)) return;
  PROCESS_HEAP_ENTRY entry{};
  while (HeapWalk(heap, &entry)) {
    if (!(entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)) continue;
    resources.heapBytes += entry.cbData;
    resources.heapBlocks += 1;
  }
  HeapUnlock(heap);
}

BOOL CALLBACK countChild(HWND, LPARAM count) {
  *reinterpret_cast<size_t*>(count) += 1;
  return TRUE;
}

BOOL CALLBACK countWindowAndChildren(HWND window, LPARAM count) {
  *reinterpret_cast<size_t*>(count) += 1;
  EnumChildWindows(window, countChild, count);
  return TRUE;
}

}  // namespace

ProcessResources processResources() {
  ProcessResources resources;
  // Room for a few heaps made between the two calls.
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  const DWORD heapCount = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
  heaps.resize(std::min<size_t>(heapCount, heaps.size()));
  for (HANDLE heap : heaps) addHeapInUse(heap, resources);

  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
    resources.workingSet = memory.WorkingSetSize;

  EnumThreadWindows(GetCurrentThreadId(), countWindowAndChildren,
                    reinterpret_cast<LPARAM>(&resources.windows));
  resources.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  resources.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  return resources;
}

}  // namespace velmora::testing
