// The unit type descriptors and property descriptors that libraries publish, as the runtime
// reads them: their layouts, and the descriptors of the eleven unit types of this program.
#pragma once

#include <cstdint>
#include <vector>

#include "forms/format/property_kind.h"

namespace velmora::forms {

// interface(n) gives the address of the type's function number n, or null.
using UnitTypeInterface = void* (*)(int32_t number);

struct PropertyDescriptor {
  const char* name{};  // names are not kept in this program
  const char* englishName{};
  const char* description{};
  uint16_t valueType{};  // a PropertyKind
  uint16_t state{};
  const void* reserved{};
};

struct UnitTypeDescriptor {
  const char* name{};  // GBK
  const char* englishName{};
  const void* reserved2{};
  uint32_t reserved3{};
  const void* reserved4{};
  uint32_t state{};
  uint32_t reserved6{};
  uint32_t reserved7{};
  const void* eventDescriptions{};  // left out
  uint32_t propertyCount{};         // the eight common ones included
  const PropertyDescriptor* properties{};
  UnitTypeInterface interfaceFunction{};  // "interface" is a macro of the window system's headers
  uint32_t reserved12{};
  const void* reserved13{};
};

#if defined(__i386__)
static_assert(sizeof(PropertyDescriptor) == 20);
static_assert(sizeof(UnitTypeDescriptor) == 14 * 4);
#endif

// Type state bits.
inline constexpr uint32_t kTypeRaisesEvents = 1u << 2;       // events of its units are served
inline constexpr uint32_t kTypeNeverRecreated = 1u << 4;     // a property change keeps the unit
inline constexpr uint32_t kTypeMovesChildren = 1u << 7;      // a new unit takes over the children
inline constexpr uint32_t kTypePageContainer = 1u << 8;      // children divided into pages
inline constexpr uint32_t kTypeStartsHidden = 1u << 15;      // created hidden whatever its flags
inline constexpr uint32_t kTypeStopsOnWindowEnd = 1u << 19;  // told to stop when its window goes
inline constexpr uint32_t kTypeNotifiesParent = 1u << 20;    // parent told of a new unit

// The descriptor of one of the eleven unit types, with the given interface function; a zero
// descriptor (an unused slot) for any other code. Its property descriptors live as long as the
// program.
UnitTypeDescriptor unitTypeDescriptor(uint32_t typeCode, UnitTypeInterface interfaceFunction);

// The value kinds of the common properties 0 to 7.
inline constexpr PropertyKind kCommonPropertyKinds[8] = {
    PropertyKind::kInteger, PropertyKind::kInteger, PropertyKind::kInteger, PropertyKind::kInteger,
    PropertyKind::kText,    PropertyKind::kLogical, PropertyKind::kLogical, PropertyKind::kPointer,
};

}  // namespace velmora::forms
