#include "forms/live/font_values.h"

#include <cstdlib>
#include <cstring>

namespace velmora::forms {
namespace {

constexpr char kDefaultFace[] = "\xcb\xce\xcc\xe5";  // 宋体
constexpr size_t kLongestFace = 31;
constexpr int32_t kFullTurn = 3600;

int32_t normalisedAngle(int32_t angle) {
  angle %= kFullTurn;
  return angle < 0 ? angle + kFullTurn : angle;
}

}  // namespace

int32_t multiplyDivide(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t product = int64_t{a} * b;
  const int64_t half = std::llabs(c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

int32_t fontPoints(int32_t height, int32_t dotsPerInch) {
  return multiplyDivide(std::abs(height), 72, dotsPerInch);
}

int32_t fontHeight(int32_t points, int32_t dotsPerInch) {
  return -multiplyDivide(std::abs(points), dotsPerInch, 72);
}

std::string fontFaceOrDefault(std::string_view face) {
  face = face.substr(0, face.find('\0'));
  if (face.empty() || face.size() > kLongestFace) return kDefaultFace;
  return std::string(face);
}

std::string_view englishFontFamily(std::string_view face) {
  struct Family {
    std::string_view chinese;
    std::string_view english;
  };
  static constexpr Family kFamilies[] = {
      {kDefaultFace, "SimSun"},
      {"\xba\xda\xcc\xe5", "SimHei"},                           // 黑体
      {"\xce\xa2\xc8\xed\xd1\xc5\xba\xda", "Microsoft YaHei"},  // 微软雅黑
  };
  for (const Family& family : kFamilies) {
    if (family.chinese == face) return family.english;
  }
  return {};
}

void setFontFace(LogicalFont& font, std::string_view face) {
  const std::string chosen = fontFaceOrDefault(face);
  std::memset(font.faceName, 0, sizeof font.faceName);
  std::memcpy(font.faceName, chosen.data(), chosen.size());
}

int32_t fontElement(const LogicalFont& font, FontElement element, int32_t dotsPerInch) {
  switch (element) {
    case FontElement::kAngle:
      return font.orientation;
    case FontElement::kBold:
      return font.weight >= kBoldWeight ? 1 : 0;
    case FontElement::kItalic:
      return font.italic ? 1 : 0;
    case FontElement::kStrikeOut:
      return font.strikeOut ? 1 : 0;
    case FontElement::kUnderline:
      return font.underline ? 1 : 0;
    case FontElement::kSize:
      return fontPoints(font.height, dotsPerInch);
    default:
      return 0;
  }
}

LogicalFont withFontElement(LogicalFont font, FontElement element, int32_t value,
                            std::string_view text, int32_t dotsPerInch) {
  switch (element) {
    case FontElement::kAngle:
      font.escapement = font.orientation = normalisedAngle(value);
      break;
    case FontElement::kBold:
      font.weight = value ? kBoldWeight : 0;
      break;
    case FontElement::kItalic:
      font.italic = value ? 1 : 0;
      break;
    case FontElement::kStrikeOut:
      font.strikeOut = value ? 1 : 0;
      break;
    case FontElement::kUnderline:
      font.underline = value ? 1 : 0;
      break;
    case FontElement::kSize:
      font.height = fontHeight(value, dotsPerInch);
      break;
    case FontElement::kFaceName:
      setFontFace(font, text);
      break;
  }
  return font;
}

LogicalFont fontFromRecord(const FontRecord& record, int32_t dotsPerInch) {
  LogicalFont font;
  font.escapement = font.orientation = record.angle;
  font.weight = record.bold ? kBoldWeight : 0;
  font.italic = record.italic ? 1 : 0;
  font.underline = record.underline ? 1 : 0;
  font.strikeOut = record.strikeOut ? 1 : 0;
  font.height = fontHeight(record.size, dotsPerInch);
  setFontFace(font, record.faceName ? record.faceName : "");
  return font;
}

}  // namespace velmora::forms
