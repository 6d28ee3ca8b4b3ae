// The window system's style bits, position and owner of a window at its creation, from the
// window's properties. Platform-neutral: the style values are the window system's.
#pragma once

#include <cstdint>

#include "forms/format/property_blocks.h"

namespace velmora::forms {

namespace window_style {
inline constexpr uint32_t kPopup = 0x80000000;
inline constexpr uint32_t kChild = 0x40000000;
inline constexpr uint32_t kMinimized = 0x20000000;
inline constexpr uint32_t kDisabled = 0x08000000;
inline constexpr uint32_t kClipChildren = 0x02000000;
inline constexpr uint32_t kMaximized = 0x01000000;
inline constexpr uint32_t kCaption = 0x00C00000;
inline constexpr uint32_t kDialogFrame = 0x00400000;
inline constexpr uint32_t kSystemMenu = 0x00080000;
inline constexpr uint32_t kThickFrame = 0x00040000;
inline constexpr uint32_t kMinimizeBox = 0x00020000;
inline constexpr uint32_t kMaximizeBox = 0x00010000;
inline constexpr uint32_t kTabStop = 0x00010000;
inline constexpr uint32_t kToolWindow = 0x80;    // extended
inline constexpr uint32_t kClientEdge = 0x200;   // extended
inline constexpr uint32_t kAppWindow = 0x40000;  // extended
}  // namespace window_style

struct WindowPlacement {
  uint32_t style = 0;
  uint32_t extendedStyle = 0;
  int32_t left = 0;
  int32_t top = 0;
  bool ownedByHiddenOwner = false;
};

struct WindowCreation {
  uint32_t callerStyle = 0;  // disabled and tab stop bits from the unit record
  int32_t left = 0, top = 0, width = 0, height = 0;
  bool hasParent = false;
  bool loadingModally = false;
  bool hiddenOwnerExists = false;
  int32_t screenWidth = 0, screenHeight = 0;
};

WindowPlacement windowPlacement(const WindowProperties& properties, const WindowCreation& creation);

}  // namespace velmora::forms
