#include "controls/edit_input.h"

#include <gtest/gtest.h>

namespace velmora::controls {
namespace {

std::string typed(int mode, std::string_view keys) {
  std::string kept;
  for (char key : keys) {
    if (acceptsTypedCharacter(mode, static_cast<unsigned char>(key))) kept += key;
  }
  return kept;
}

TEST(EditInput, NumericModesTakeOnlyTheirCharacters) {
  EXPECT_EQ(typed(kNormalInput, "a1-.x"), "a1-.x");
  EXPECT_EQ(typed(kIntegerTextInput, "a1-.x2"), "1-2");
  EXPECT_EQ(typed(kIntegerInput, "12ab-3"), "12-3");
  EXPECT_EQ(typed(kDecimalTextInput, "1.5e-3"), "1.5-3");
  EXPECT_EQ(typed(kDoubleInput, "x-0.25"), "-0.25");
  EXPECT_EQ(typed(kByteInput, "-3.0a9"), "309");
  EXPECT_TRUE(acceptsTypedCharacter(kByteInput, '\b')) << "control characters always pass";
  EXPECT_TRUE(acceptsTypedCharacter(kIntegerInput, 0x16));
}

TEST(EditInput, LosingFocusClampsIntoTheModesRange) {
  struct Case {
    int mode;
    const char* text;
    std::optional<std::string> clamped;
  };
  const Case cases[] = {
      {kByteInput, "300", "255"},
      {kByteInput, "255", std::nullopt},
      {kByteInput, "-7", "0"},
      {kShortInput, "40000", "32767"},
      {kShortInput, "-40000", "-32768"},
      {kIntegerInput, "99999999999", "2147483647"},
      {kIntegerInput, "-2147483649", "-2147483648"},
      {kLongIntegerInput, "99999999999999999999999", "9223372036854775807"},
      {kLongIntegerInput, "-99999999999999999999999", "-9223372036854775808"},
      {kIntegerInput, "007", "7"},
      {kIntegerInput, "", std::nullopt},
      {kIntegerInput, "-", std::nullopt},
      {kFloatInput, "1e39", "3.4028234663852886e+38"},
      {kFloatInput, "2.5", std::nullopt},
      {kIntegerTextInput, "99999999999999", std::nullopt},
      {kNormalInput, "300", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(clampedNumericText(c.mode, c.text), c.clamped) << c.mode << " " << c.text;
  }
}

}  // namespace
}  // namespace velmora::controls
