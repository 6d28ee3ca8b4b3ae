// Font properties as the program reads and writes them: a logical-font record of the window
// system, its size in points, and the seven elements (angle, bold, italic, strikeout, underline,
// size, face name). Platform-neutral.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::forms {

// The window system's 60-byte logical-font record (character texts in GBK).
struct LogicalFont {
  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 0;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  char faceName[32] = {};
};
static_assert(sizeof(LogicalFont) == 60);

enum class FontElement { kAngle = 0, kBold, kItalic, kStrikeOut, kUnderline, kSize, kFaceName };

inline constexpr int32_t kBoldWeight = 700;

// a * b / c rounded half away from zero, as the window system's multiply-divide does.
int32_t multiplyDivide(int32_t a, int32_t b, int32_t c);

int32_t fontPoints(int32_t height, int32_t dotsPerInch);
int32_t fontHeight(int32_t points, int32_t dotsPerInch);

// A face name of 1 to 31 bytes, or "宋体" in place of any other.
std::string fontFaceOrDefault(std::string_view face);

// The English family name of a Chinese face the program names ("宋体" is SimSun): a Windows in
// another language knows the font by that name alone. Empty for any other face.
std::string_view englishFontFamily(std::string_view face);
void setFontFace(LogicalFont& font, std::string_view face);

// Elements 0 to 5 of a font as numbers.
int32_t fontElement(const LogicalFont& font, FontElement element, int32_t dotsPerInch);
// The font with one element changed; text is the face name for element 6.
LogicalFont withFontElement(LogicalFont font, FontElement element, int32_t value,
                            std::string_view text, int32_t dotsPerInch);

// The seven-word font record the program passes and receives (the face name a text pointer).
struct FontRecord {
  int32_t angle = 0;
  int32_t bold = 0;
  int32_t italic = 0;
  int32_t strikeOut = 0;
  int32_t underline = 0;
  int32_t size = 0;
  const char* faceName = nullptr;
};

LogicalFont fontFromRecord(const FontRecord& record, int32_t dotsPerInch);

}  // namespace velmora::forms
