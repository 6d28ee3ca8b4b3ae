// The edit box's numeric input modes: which typed characters they take, and the clamping of the
// value to the mode's range when the box loses the focus. Platform-neutral.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::controls {

enum EditInputMode {
  kNormalInput = 0,
  kReadOnlyInput = 1,
  kPasswordInput = 2,
  kIntegerTextInput = 3,
  kDecimalTextInput = 4,
  kByteInput = 5,
  kShortInput = 6,
  kIntegerInput = 7,
  kLongIntegerInput = 8,
  kFloatInput = 9,
  kDoubleInput = 10,
};

// Whether a typed character (the space and above; control characters always pass) is taken.
bool acceptsTypedCharacter(int mode, unsigned character);

// The text rewritten to the value clamped into the mode's range; nothing when the mode has no
// range or the text stays as it is.
std::optional<std::string> clampedNumericText(int mode, std::string_view text);

}  // namespace velmora::controls
