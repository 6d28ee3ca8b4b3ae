// A unit's property, found by its place in the unit's properties (PropertyRef), read into and
// written from the value pair of the unit type functions.
#pragma once

#include <variant>

#include "forms/format/unit_properties.h"
#include "forms/unit_type_interface.h"

namespace velmora::forms {

// The property's value into `out`; false for a kind the pair does not carry (or no property).
// Texts and bytes are handed out in place: they stay the unit's.
inline bool readPropertyRef(const PropertyRef& ref, PropertyValue& out) {
  if (auto number = std::get_if<int32_t*>(&ref)) {
    out.first = static_cast<uint32_t>(**number);
  } else if (auto text = std::get_if<std::string*>(&ref)) {
    out.first = reinterpret_cast<uintptr_t>((*text)->c_str());
  } else if (auto bytes = std::get_if<Bytes*>(&ref)) {
    out.first = reinterpret_cast<uintptr_t>((*bytes)->data());
    out.second = static_cast<uint32_t>((*bytes)->size());
  } else {
    return false;
  }
  return true;
}

// Stores `value` in the property; a null text or byte pointer stores an empty one.
inline void writePropertyRef(const PropertyRef& ref, const PropertyValue& value) {
  if (auto number = std::get_if<int32_t*>(&ref)) {
    **number = static_cast<int32_t>(value.first);
  } else if (auto text = std::get_if<std::string*>(&ref)) {
    const char* characters = reinterpret_cast<const char*>(value.first);
    **text = characters ? characters : "";
  } else if (auto bytes = std::get_if<Bytes*>(&ref)) {
    const auto* data = reinterpret_cast<const uint8_t*>(value.first);
    (*bytes)->assign(data, data + (data ? value.second : 0));
  }
}

}  // namespace velmora::forms
