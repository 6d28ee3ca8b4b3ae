// What the super button tests share: a flat button in colours of its own, and the mouse moved
// onto it or away.
#pragma once

#include <windows.h>

#include <cstring>

#include "forms/format/property_blocks.h"
#include "tests/controls/win32/input.h"
#include "tests/controls/win32/unit_host.h"

namespace velmora::testing {

inline constexpr COLORREF kNormalBackground = RGB(20, 40, 220);
inline constexpr COLORREF kHoverBackground = RGB(30, 200, 60);
inline constexpr RECT kButton{20, 20, 140, 50};

// A flat button captioned "OK", white on blue, green under the mouse.
inline forms::SuperBtnProperties flatButton() {
  forms::SuperBtnProperties button;
  button.caption = "OK";
  button.useSystemColours = 0;
  button.textColour = button.hoverTextColour = button.focusTextColour = RGB(255, 255, 255);
  button.backgroundColour = button.focusBackgroundColour = kNormalBackground;
  button.hoverBackgroundColour = kHoverBackground;
  return button;
}

// A bold font record of the given pixel height: large captions have stroke cores that the
// smoothing of text leaves alone.
inline forms::Bytes boldFont(int height) {
  LOGFONTA font{};
  font.lfHeight = -height;
  font.lfWeight = FW_BOLD;
  forms::Bytes record(sizeof font);
  std::memcpy(record.data(), &font, sizeof font);
  return record;
}

inline POINT screenPoint(HWND window, POINT client) {
  ClientToScreen(window, &client);
  return client;
}

// Moves the mouse off the button and waits for the leave notification, which comes from a
// timer under Wine.
inline void moveAway(HWND host) {
  moveMouseTo(screenPoint(host, {400, 300}));
  for (int i = 0; i < 10; ++i) pumpMessages();
}

}  // namespace velmora::testing
