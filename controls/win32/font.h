// A unit's font, made from its stored 60-byte LOGFONTA record with the GBK face name converted
// for the wide font functions, and a Chinese face asked for by its English family name where the
// system knows it by that name only. No record, or one of another size, gives the default GUI
// font.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velmora::controls {

// The owner-drawn units (super button, transparent label) make their font at proof quality with
// the default precisions and pitch, and for any character set when the record names a face,
// whatever the record says of those fields.
enum class FontUse { kAsStored, kOwnDrawing };

// Units with the same logical font share one font object, as a window of standard controls
// does: every font object costs the window system its own realisation when it is first drawn.
class UnitFont {
 public:
  UnitFont() = default;
  ~UnitFont();
  UnitFont(const UnitFont&) = delete;
  UnitFont& operator=(const UnitFont&) = delete;

  void set(std::span<const uint8_t> record, FontUse use = FontUse::kAsStored);
  HFONT handle() const;

 private:
  HFONT shared_ = nullptr;
};

// The wide form of a stored record; false when the record is not one.
bool logicalFontFromRecord(std::span<const uint8_t> record, LOGFONTW& out);

// The face to ask the font mapper for: the face when a font family of that name is installed,
// else the alternative name when one of that name is, else the face (the mapper then picks a
// face of the font's character set). A Windows knows a Chinese font by its Chinese name only
// when Chinese is its language; any Windows knows it by its English name.
std::wstring installedFace(std::wstring_view face, std::wstring_view alternative);

}  // namespace velmora::controls
