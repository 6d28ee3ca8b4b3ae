#include "controls/win32/standard_units.h"

#include <type_traits>

#include "forms/format/unit_ids.h"
#include "forms/format/unit_type_descriptors.h"

namespace velmora::controls {

static_assert(std::is_same_v<StandardUnitInterface, forms::UnitTypeInterface>);

StandardUnitInterface standardUnitTypeInterface(uint32_t typeCode) {
  switch (typeCode) {
    case forms::kLabelType:
      return labelInterface;
    case forms::kEditBoxType:
      return editBoxInterface;
    case forms::kPicBoxType:
      return picBoxInterface;
    case forms::kGroupBoxType:
      return groupBoxInterface;
    case forms::kComboBoxType:
      return comboBoxInterface;
    case forms::kCheckBoxType:
      return checkBoxInterface;
    case forms::kShapeBoxType:
      return shapeBoxInterface;
    case forms::kCartoonBoxType:
      return cartoonBoxInterface;
    case forms::kSuperBtnType:
      return superButtonInterface;
    case forms::kTransLabelType:
      return transLabelInterface;
    default:
      return nullptr;
  }
}

}  // namespace velmora::controls
