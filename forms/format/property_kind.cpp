#include "forms/format/property_kind.h"

namespace velmora {

const char* propertyKindName(PropertyKind kind) {
  switch (kind) {
    case PropertyKind::integer:
      return "int";
    case PropertyKind::number:
      return "double";
    case PropertyKind::logical:
      return "logical";
    case PropertyKind::dateTime:
      return "date-time";
    case PropertyKind::text:
      return "text";
    case PropertyKind::choice:
      return "choice";
    case PropertyKind::picture:
      return "picture";
    case PropertyKind::icon:
      return "icon";
    case PropertyKind::pointer:
      return "pointer";
    case PropertyKind::sound:
      return "sound";
    case PropertyKind::font:
      return "font";
    case PropertyKind::colour:
      return "colour";
    case PropertyKind::colourOrTransparent:
      return "colour-or-transparent";
    case PropertyKind::fileName:
      return "file name";
    case PropertyKind::backgroundColour:
      return "background colour";
    case PropertyKind::bindingSource:
      return "binding source";
    case PropertyKind::bindingField:
      return "binding field";
    case PropertyKind::byteData:
      return "byte data";
  }
  return "?";
}

}  // namespace velmora
