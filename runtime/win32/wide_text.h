// GBK texts at the window system's boundary: the runtime holds GBK, the window system takes
// UTF-16. Code page 936 is named explicitly, so the result does not depend on the system's ANSI
// code page.
#pragma once

#include <string>
#include <string_view>

namespace velmora::runtime {

inline constexpr unsigned kGbkCodePage = 936;

std::wstring wideFromGbk(std::string_view text);
std::string gbkFromWide(std::wstring_view text);
// The text in the system's ANSI code page, as programs that read narrow text expect it; a
// character that code page lacks becomes its default character.
std::string ansiFromWide(std::wstring_view text);

}  // namespace velmora::runtime
