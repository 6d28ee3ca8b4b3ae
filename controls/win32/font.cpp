#include "controls/win32/font.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "forms/format/property_kind.h"
#include "forms/live/font_values.h"
#include "runtime/win32/wide_text.h"

namespace velmora::controls {

bool logicalFontFromRecord(std::span<const uint8_t> record, LOGFONTW& out) {
  static_assert(sizeof(LOGFONTA) == forms::kFontRecordSize);
  if (record.size() != forms::kFontRecordSize) return false;
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
  const std::wstring wideFace = runtime::wideFromGbk(face);
  wideFace.copy(out.lfFaceName, LF_FACESIZE - 1);
  return true;
}

namespace {

int CALLBACK noteFamilyFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

// Whether the system has a font family of this name, under any name it knows the family by.
bool fontFamilyInstalled(std::wstring_view family) {
  if (family.empty() || family.size() >= LF_FACESIZE) return false;
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  family.copy(wanted.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, noteFamilyFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// The font of a logical font, its face asked for by a name the system knows (see installedFace).
HFONT createFont(LOGFONTW font) {
  const std::wstring face(font.lfFaceName);
  const std::string_view english = forms::englishFontFamily(runtime::gbkFromWide(face));
  if (!english.empty()) {
    const std::wstring asked = installedFace(face, std::wstring(english.begin(), english.end()));
    std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), L'\0');
    asked.copy(font.lfFaceName, LF_FACESIZE - 1);
  }
  return CreateFontIndirectW(&font);
}

// One font object per distinct logical font, with the number of units that use it. Units live
// on the user-interface thread only, and a window has a few distinct fonts.
struct SharedFont {
  LOGFONTW font;
  HFONT handle;
  int users;
};

std::vector<SharedFont>& sharedFonts() {
  static std::vector<SharedFont> fonts;
  return fonts;
}

// The face is zero-filled after its name, so equal fonts have equal bytes.
bool sameFont(const LOGFONTW& a, const LOGFONTW& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

HFONT useFont(const LOGFONTW& font) {
  auto& fonts = sharedFonts();
  for (SharedFont& shared : fonts) {
    if (!sameFont(shared.font, font)) continue;
    ++shared.users;
    return shared.handle;
  }
  HFONT made = createFont(font);
  if (made != nullptr) fonts.push_back({font, made, 1});
  return made;
}

void stopUsingFont(HFONT handle) {
  auto& fonts = sharedFonts();
  const auto shared = std::find_if(fonts.begin(), fonts.end(),
                                   [&](const SharedFont& font) { return font.handle == handle; });
  if (shared == fonts.end() || --shared->users > 0) return;
  DeleteObject(shared->handle);
  fonts.erase(shared);
}

}  // namespace

std::wstring installedFace(std::wstring_view face, std::wstring_view alternative) {
  if (!fontFamilyInstalled(face) && fontFamilyInstalled(alternative))
    return std::wstring(alternative);
  return std::wstring(face);
}

UnitFont::~UnitFont() {
  if (shared_ != nullptr) stopUsingFont(shared_);
}

void UnitFont::set(std::span<const uint8_t> record, FontUse use) {
  if (shared_ != nullptr) stopUsingFont(shared_);
  shared_ = nullptr;
  LOGFONTW font;
  if (!logicalFontFromRecord(record, font)) return;
  if (use == FontUse::kOwnDrawing) {
    // A record without a face name is found by its character set alone: any character set
    // would pick the system's default face, which under a Western code page has no Chinese.
    if (font.lfFaceName[0] != 0) font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = 0;
    font.lfClipPrecision = 0;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = 0;
  }
  shared_ = useFont(font);
}

HFONT UnitFont::handle() const {
  return shared_ != nullptr ? shared_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace velmora::controls
