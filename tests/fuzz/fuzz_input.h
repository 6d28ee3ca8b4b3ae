// Inputs of the program data fuzzer: the first byte chooses the reader, the rest is its bytes.
#pragma once

#include <cstdint>

#include "forms/format/unit_ids.h"

namespace velmora::fuzzing {

// Reader 0 is the window data stream; reader i (1 to 11) the property block of type i - 1.
inline constexpr uint8_t kWindowDataReader = 0;
inline constexpr uint32_t kBlockTypes[] = {
    forms::kWindowType,     forms::kLabelType,    forms::kEditBoxType,   forms::kPicBoxType,
    forms::kShapeBoxType,   forms::kGroupBoxType, forms::kCheckBoxType,  forms::kComboBoxType,
    forms::kTransLabelType, forms::kSuperBtnType, forms::kCartoonBoxType};
inline constexpr uint8_t kReaderCount = 1 + sizeof kBlockTypes / sizeof kBlockTypes[0];

}  // namespace velmora::fuzzing
