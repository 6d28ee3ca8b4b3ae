#include "controls/win32/borders.h"

namespace velmora {

BorderStyles borderStyles(int border) {
  switch (border) {
    case 1:
      return {0, WS_EX_CLIENTEDGE};
    case 2:
      return {0, WS_EX_DLGMODALFRAME};
    case 3:
      return {0, WS_EX_STATICEDGE};
    case 4:
      return {0, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME};
    case 5:
      return {WS_BORDER, 0};
    default:
      return {0, 0};
  }
}

}  // namespace velmora
