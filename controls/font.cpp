#include "controls/font.h"

#include <cstring>
#include <string_view>

#include "forms/format/property_kind.h"
#include "runtime/win32/wide_text.h"

namespace velmora {

bool logicalFontFromRecord(std::span<const uint8_t> record, LOGFONTW& out) {
  static_assert(sizeof(LOGFONTA) == kFontRecordSize);
  if (record.size() != kFontRecordSize) return false;
  LOGFONTA stored;
  std::memcpy(&stored, record.data(), sizeof stored);
  out = LOGFONTW{};
  out.lfHeight = stored.lfHeight;
  out.lfWidth = stored.lfWidth;
  out.lfEscapement = stored.lfEscapement;
  out.lfOrientation = stored.lfOrientation;
  out.lfWeight = stored.lfWeight;
  out.lfItalic = stored.lfItalic;
  out.lfUnderline = stored.lfUnderline;
  out.lfStrikeOut = stored.lfStrikeOut;
  out.lfCharSet = stored.lfCharSet;
  out.lfOutPrecision = stored.lfOutPrecision;
  out.lfClipPrecision = stored.lfClipPrecision;
  out.lfQuality = stored.lfQuality;
  out.lfPitchAndFamily = stored.lfPitchAndFamily;
  const std::string_view face(stored.lfFaceName, strnlen(stored.lfFaceName, LF_FACESIZE));
  const std::wstring wideFace = wideFromGbk(face);
  wideFace.copy(out.lfFaceName, LF_FACESIZE - 1);
  return true;
}

UnitFont::~UnitFont() {
  if (made_ != nullptr) DeleteObject(made_);
}

void UnitFont::set(std::span<const uint8_t> record, FontUse use) {
  if (made_ != nullptr) DeleteObject(made_);
  made_ = nullptr;
  LOGFONTW font;
  if (!logicalFontFromRecord(record, font)) return;
  if (use == FontUse::ownDrawing) {
    // A record without a face name is found by its character set alone: any character set
    // would pick the system's default face, which under a Western code page has no Chinese.
    if (font.lfFaceName[0] != 0) font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = 0;
    font.lfClipPrecision = 0;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = 0;
  }
  made_ = CreateFontIndirectW(&font);
}

HFONT UnitFont::handle() const {
  return made_ != nullptr ? made_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace velmora
