// Value kinds of unit properties: the value type codes of the property descriptors.
#pragma once

#include <cstdint>

namespace velmora::forms {

enum class PropertyKind : uint16_t {
  kInteger = 1000,
  kNumber = 1002,  // double
  kLogical = 1003,
  kDateTime = 1004,
  kText = 1005,
  kChoice = 1006,
  kPicture = 1009,
  kIcon = 1010,
  kPointer = 1011,
  kSound = 1012,
  kFont = 1013,
  kColour = 1014,
  kColourOrTransparent = 1015,
  kFileName = 1016,
  kBackgroundColour = 1017,
  kBindingSource = 1018,
  kBindingField = 1020,
  kByteData = 1023,
};

// The colour value that stands for the system colour of its role.
inline constexpr int32_t kDefaultColour = static_cast<int32_t>(0xFF000000);

// A stored font is a 60-byte LOGFONTA record; no bytes mean the default GUI font.
inline constexpr uint32_t kFontRecordSize = 60;

const char* propertyKindName(PropertyKind kind);

}  // namespace velmora::forms
