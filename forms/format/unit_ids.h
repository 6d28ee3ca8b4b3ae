// Window and unit ids and unit type codes of the program data.
#pragma once

#include <cstdint>

namespace velmora::forms {

// An id is well formed when its number (low 24 bits) and its kind (bits 24-27) are not zero;
// an id that is not well formed names nothing.
constexpr bool isWellFormedId(uint32_t id) {
  return (id & 0x00FFFFFF) != 0 && (id & 0x0F000000) != 0;
}

constexpr bool isMenuItemId(uint32_t id) {
  return (id & 0x0F000000) == 0x06000000 && (id & 0xF0000000) == 0x20000000;
}

// A unit type code is (library number << 16) | (type slot index + 1).
constexpr uint32_t unitTypeCode(uint32_t library, uint32_t slot) {
  return library << 16 | (slot + 1);
}

inline constexpr uint32_t kWindowType = 0x00010001;
inline constexpr uint32_t kMenuItemType = 0x00010003;
inline constexpr uint32_t kEditBoxType = 0x00010005;
inline constexpr uint32_t kPicBoxType = 0x00010006;
inline constexpr uint32_t kShapeBoxType = 0x00010007;
inline constexpr uint32_t kGroupBoxType = 0x00010009;
inline constexpr uint32_t kLabelType = 0x0001000A;
inline constexpr uint32_t kCheckBoxType = 0x0001000C;
inline constexpr uint32_t kComboBoxType = 0x0001000E;
inline constexpr uint32_t kTransLabelType = 0x00040005;
inline constexpr uint32_t kSuperBtnType = 0x00050001;
inline constexpr uint32_t kCartoonBoxType = 0x00050008;

}  // namespace velmora::forms
