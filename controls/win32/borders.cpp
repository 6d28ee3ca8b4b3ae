#include "controls/win32/borders.h"

namespace velmora::controls {

BorderStyles borderStyles(int border) {
  switch (border) {
    case kSunkenBorder:
      return {0, WS_EX_CLIENTEDGE};
    case kRaisedBorder:
      return {0, WS_EX_DLGMODALFRAME};
    case kShallowBorder:
      return {0, WS_EX_STATICEDGE};
    case kDoubleBorder:
      return {0, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME};
    case kSingleLineBorder:
      return {WS_BORDER, 0};
    default:
      return {0, 0};
  }
}

}  // namespace velmora::controls
