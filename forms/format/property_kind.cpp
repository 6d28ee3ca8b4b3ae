#include "forms/format/property_kind.h"

namespace velmora::forms {

const char* propertyKindName(PropertyKind kind) {
  switch (kind) {
    case PropertyKind::kInteger:
      return "int";
    case PropertyKind::kNumber:
      return "double";
    case PropertyKind::kLogical:
      return "logical";
    case PropertyKind::kDateTime:
      return "date-time";
    case PropertyKind::kText:
      return "text";
    case PropertyKind::kChoice:
      return "choice";
    case PropertyKind::kPicture:
      return "picture";
    case PropertyKind::kIcon:
      return "icon";
    case PropertyKind::kPointer:
      return "pointer";
    case PropertyKind::kSound:
      return "sound";
    case PropertyKind::kFont:
      return "font";
    case PropertyKind::kColour:
      return "colour";
    case PropertyKind::kColourOrTransparent:
      return "colour-or-transparent";
    case PropertyKind::kFileName:
      return "file name";
    case PropertyKind::kBackgroundColour:
      return "background colour";
    case PropertyKind::kBindingSource:
      return "binding source";
    case PropertyKind::kBindingField:
      return "binding field";
    case PropertyKind::kByteData:
      return "byte data";
  }
  return "?";
}

}  // namespace velmora::forms
