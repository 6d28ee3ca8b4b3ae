#include "forms/live/font_values.h"

#include <gtest/gtest.h>

namespace velmora::forms {
namespace {

constexpr char kSimSun[] = "\xcb\xce\xcc\xe5";  // 宋体

TEST(FontValues, SizesConvertBetweenPixelsAndPointsRoundingLikeTheSystem) {
  EXPECT_EQ(fontPoints(-12, 96), 9);
  EXPECT_EQ(fontPoints(12, 96), 9);
  EXPECT_EQ(fontPoints(-13, 96), 10);  // 9.75 rounds up
  EXPECT_EQ(fontPoints(-15, 120), 9);
  EXPECT_EQ(fontHeight(9, 96), -12);
  EXPECT_EQ(fontHeight(-9, 96), -12);
  EXPECT_EQ(multiplyDivide(5, 1, 2), 3);
  EXPECT_EQ(multiplyDivide(-5, 1, 2), -3);
  EXPECT_EQ(multiplyDivide(1, 1, 0), -1);
}

TEST(FontValues, AFaceNameMustHoldOneTo31Bytes) {
  EXPECT_EQ(fontFaceOrDefault(""), kSimSun);
  EXPECT_EQ(fontFaceOrDefault(std::string(32, 'a')), kSimSun);
  EXPECT_EQ(fontFaceOrDefault(std::string(31, 'a')), std::string(31, 'a'));
  EXPECT_EQ(fontFaceOrDefault("Arial"), "Arial");
}

TEST(FontValues, TheDefaultFaceHasAnEnglishFamilyAndALatinFaceNone) {
  EXPECT_EQ(englishFontFamily(fontFaceOrDefault("")), "SimSun");
  EXPECT_EQ(englishFontFamily("Arial"), "");
  EXPECT_EQ(englishFontFamily(std::string(kSimSun) + "x"), "");
}

TEST(FontValues, OneElementChangesAndTheRestStays) {
  LogicalFont font = fontFromRecord(
      FontRecord{.angle = 450, .bold = 1, .italic = 1, .size = 9, .faceName = "Tahoma"}, 96);
  EXPECT_EQ(font.height, -12);
  EXPECT_EQ(font.weight, kBoldWeight);
  EXPECT_EQ(font.escapement, 450);
  EXPECT_STREQ(font.faceName, "Tahoma");
  font = withFontElement(font, FontElement::kAngle, -900, "", 96);
  EXPECT_EQ(font.orientation, 2700);
  EXPECT_EQ(font.escapement, 2700);
  font = withFontElement(font, FontElement::kAngle, 7300, "", 96);
  EXPECT_EQ(fontElement(font, FontElement::kAngle, 96), 100);
  font = withFontElement(font, FontElement::kUnderline, 5, "", 96);
  EXPECT_EQ(fontElement(font, FontElement::kUnderline, 96), 1);
  EXPECT_EQ(fontElement(font, FontElement::kBold, 96), 1);
  EXPECT_EQ(fontElement(font, FontElement::kItalic, 96), 1);
  EXPECT_EQ(fontElement(font, FontElement::kSize, 96), 9);
  font = withFontElement(font, FontElement::kFaceName, 0, std::string(40, 'x'), 96);
  EXPECT_STREQ(font.faceName, kSimSun);
  EXPECT_STREQ(fontFromRecord(FontRecord{}, 96).faceName, kSimSun);
}

}  // namespace
}  // namespace velmora::forms
