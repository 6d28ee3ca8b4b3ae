// Real mouse input for unit tests.
#pragma once

#include <windows.h>

#include "tests/controls/win32/unit_host.h"

namespace velmora::testing {

// Moves the mouse to a point on the screen and processes what follows.
inline void moveMouseTo(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &move, sizeof(INPUT));
  pumpMessages();
}

// Clicks the left button at a point on the screen and processes what follows.
inline void clickAt(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  INPUT clicks[2]{};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
  pumpMessages();
}

}  // namespace velmora::testing
