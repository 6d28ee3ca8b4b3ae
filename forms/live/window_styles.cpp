#include "forms/live/window_styles.h"

namespace velmora::forms {
namespace {

using namespace window_style;

enum Border {
  kNoBorder = 0,
  kSizable,
  kFixed,
  kToolSizable,
  kToolFixed,
  kSunkenSizable,
  kSunkenFixed
};
enum Position { kNormal = 0, kCentred, kStartMinimized, kStartMaximized };

void addFrame(const WindowProperties& properties, WindowPlacement& placement) {
  if (properties.border == kNoBorder) return;
  if (!properties.caption.empty() || properties.controlButton == 1) {
    placement.style |= kCaption;
    if (properties.controlButton == 1) placement.style |= kSystemMenu;
  }
  placement.style |= kDialogFrame;
  switch (properties.border) {
    case kSizable:
      placement.style |= kThickFrame;
      break;
    case kToolSizable:
      placement.extendedStyle |= kToolWindow;
      placement.style |= kThickFrame;
      break;
    case kToolFixed:
      placement.extendedStyle |= kToolWindow;
      break;
    case kSunkenSizable:
      placement.extendedStyle |= kClientEdge;
      placement.style |= kThickFrame;
      break;
    case kSunkenFixed:
      placement.extendedStyle |= kClientEdge;
      break;
    default:
      break;
  }
}

}  // namespace

WindowPlacement windowPlacement(const WindowProperties& properties,
                                const WindowCreation& creation) {
  WindowPlacement placement;
  placement.style = creation.callerStyle | kClipChildren;
  placement.left = creation.left;
  placement.top = creation.top;
  addFrame(properties, placement);
  if (properties.maximizeButton == 1) placement.style |= kMaximizeBox;
  if (properties.minimizeButton == 1) placement.style |= kMinimizeBox;
  switch (properties.position) {
    case kCentred:
      placement.left = (creation.screenWidth - creation.width) / 2;
      placement.top = (creation.screenHeight - creation.height) / 2;
      break;
    case kStartMinimized:
      placement.style |= kMinimized;
      break;
    case kStartMaximized:
      if (placement.style & kThickFrame) placement.style |= kMaximized;
      break;
    default:
      break;
  }
  if (creation.hasParent) placement.style = (placement.style & ~(kPopup | kChild)) | kPopup;
  placement.ownedByHiddenOwner = !creation.hasParent && creation.hiddenOwnerExists &&
                                 (creation.loadingModally || properties.showInTaskBar == 0);
  // The task bar gives an owned window no button unless it asks for one: a modal window that
  // shows in the task bar keeps its button while the hidden owner owns it.
  if (placement.ownedByHiddenOwner && properties.showInTaskBar != 0)
    placement.extendedStyle |= kAppWindow;
  return placement;
}

}  // namespace velmora::forms
