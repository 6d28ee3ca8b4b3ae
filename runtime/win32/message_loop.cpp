// The message loop: dispatch, idle processing, idle callbacks and the nested modal loop.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "runtime/win32/runtime.h"

namespace velmora::runtime {
namespace {

std::vector<IdleCallbackRecord> idleCallbacks;

// The idle period that the current run of empty-queue passes belongs to.
struct IdlePeriod {
  DWORD startTick = 0;
  bool fresh = false;  // the windows have not been asked yet in this period
};

// The listed entry of a window; the list holds one entry a window.
std::vector<IdleCallbackRecord>::iterator listedEntry(HWND window) {
  return std::find_if(idleCallbacks.begin(), idleCallbacks.end(),
                      [&](const auto& entry) { return entry.window == window; });
}

// Runs the callbacks from the last to the first. A callback may add or remove entries, any
// number of them: the walk follows the windows listed when it began and skips an entry that is
// gone by its turn.
void runIdleCallbacks() {
  std::vector<HWND> windows;
  windows.reserve(idleCallbacks.size());
  for (const IdleCallbackRecord& entry : idleCallbacks) windows.push_back(entry.window);
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    const auto entry = listedEntry(*window);
    if (entry == idleCallbacks.end()) continue;
    if (!IsWindow(*window)) {
      idleCallbacks.erase(entry);
      continue;
    }
    const IdleCallbackRecord record = *entry;
    record.callback(record.argument);
  }
}

// One pass of idle work; true while there is more to do. The first two passes of a period only
// report more work, so that the windows' idle events start once the queue has stayed empty.
bool idleProcessing(LONG count, IdlePeriod& period) {
  if (count == 0) {
    period.startTick = GetTickCount();
    period.fresh = true;
  }
  if (count < 2) return true;
  const bool fresh = period.fresh;
  period.fresh = false;
  return windowRegistry().raiseIdleEvents(GetTickCount() - period.startTick, fresh);
}

// Whether a message starts a new idle period: everything but painting and a mouse move that
// did not move the mouse.
bool isIdleTrigger(const MSG& message) {
  static POINT lastMousePoint{-1, -1};
  static UINT lastMouseMessage = 0;
  if (message.message == WM_PAINT) return false;
  if (message.message == WM_MOUSEMOVE || message.message == WM_NCMOUSEMOVE) {
    const bool moved = message.message != lastMouseMessage || message.pt.x != lastMousePoint.x ||
                       message.pt.y != lastMousePoint.y;
    lastMousePoint = message.pt;
    lastMouseMessage = message.message;
    return moved;
  }
  return true;
}

bool modalStateEnded(uint32_t windowId) {
  return runtimeState().modalWindowId != windowId;
}

bool quitIsNext() {
  MSG message;
  return PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message == WM_QUIT;
}

// Pumps messages until a quit message arrives or, for a modal loop, the modal state ends.
void pumpMessages(bool modal, uint32_t modalWindowId) {
  IdlePeriod period;
  bool idle = true;
  LONG idleCount = 0;
  for (;;) {
    MSG message;
    while (idle && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      runIdleCallbacks();
      if (!idleProcessing(idleCount++, period)) idle = false;
    }
    do {
      if (modal && (modalStateEnded(modalWindowId) || quitIsNext())) return;
      if (!GetMessageW(&message, nullptr, 0, 0)) return;
      if (!windowRegistry().preTranslateMessage(&message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      if (isIdleTrigger(message)) {
        idle = true;
        idleCount = 0;
      }
    } while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
  }
}

}  // namespace

void addIdleCallback(const IdleCallbackRecord& record) {
  if (IsWindow(record.window) && listedEntry(record.window) == idleCallbacks.end())
    idleCallbacks.push_back(record);
}

void removeIdleCallback(HWND window) {
  std::erase_if(idleCallbacks, [&](const auto& entry) { return entry.window == window; });
}

void dropIdleCallbacks() {
  idleCallbacks.clear();
}

void processPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    // The quit message stays for the loop that ends on it.
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (!windowRegistry().preTranslateMessage(&message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void runMessageLoop() {
  runtimeState().messageLoopStarted = true;
  if (!windowRegistry().anyWindowLive()) return;
  pumpMessages(false, 0);
}

void runModalMessageLoop(uint32_t windowId) {
  RuntimeState& state = runtimeState();
  const uint32_t outerModalWindowId = state.modalWindowId;
  state.modalWindowId = windowId;
  pumpMessages(true, windowId);
  // A window shown again while its modal loop runs nests a loop for itself: once the window is
  // gone, the outer loop must see it gone too, not get the dead window's id back.
  const bool outerIsThisWindow = outerModalWindowId == windowId;
  if ((state.modalWindowId == windowId || state.modalWindowId == 0) && !outerIsThisWindow) {
    state.modalWindowId = outerModalWindowId;
  }
}

}  // namespace velmora::runtime
