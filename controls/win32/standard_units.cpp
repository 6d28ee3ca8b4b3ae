#include "controls/win32/standard_units.h"

#include <type_traits>

#include "forms/format/unit_ids.h"
#include "forms/format/unit_type_descriptors.h"

namespace velmora::controls {

static_assert(std::is_same_v<StandardUnitInterface, UnitTypeInterface>);

StandardUnitInterface standardUnitTypeInterface(uint32_t typeCode) {
  switch (typeCode) {
    case kLabelType:
      return labelInterface;
    case kEditBoxType:
      return editBoxInterface;
    case kPicBoxType:
      return picBoxInterface;
    case kGroupBoxType:
      return groupBoxInterface;
    case kComboBoxType:
      return comboBoxInterface;
    case kCheckBoxType:
      return checkBoxInterface;
    case kShapeBoxType:
      return shapeBoxInterface;
    case kCartoonBoxType:
      return cartoonBoxInterface;
    case kSuperBtnType:
      return superButtonInterface;
    case kTransLabelType:
      return transLabelInterface;
    default:
      return nullptr;
  }
}

}  // namespace velmora::controls
