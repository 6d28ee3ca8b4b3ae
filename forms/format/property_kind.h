// Value kinds of unit properties: the value type codes of the property descriptors.
#pragma once

#include <cstdint>

namespace velmora {

enum class PropertyKind : uint16_t {
  integer = 1000,
  number = 1002,  // double
  logical = 1003,
  dateTime = 1004,
  text = 1005,
  choice = 1006,
  picture = 1009,
  icon = 1010,
  pointer = 1011,
  sound = 1012,
  font = 1013,
  colour = 1014,
  colourOrTransparent = 1015,
  fileName = 1016,
  backgroundColour = 1017,
  bindingSource = 1018,
  bindingField = 1020,
  byteData = 1023,
};

// The colour value that stands for the system colour of its role.
inline constexpr int32_t kDefaultColour = static_cast<int32_t>(0xFF000000);

// A stored font is a 60-byte LOGFONTA record; no bytes mean the default GUI font.
inline constexpr uint32_t kFontRecordSize = 60;

const char* propertyKindName(PropertyKind kind);

}  // namespace velmora
