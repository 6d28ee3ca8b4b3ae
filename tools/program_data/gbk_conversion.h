// Conversion between the UTF-8 of sources and terminals and the GBK of the program's texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::tools {

// Nothing when the text is not valid in the source encoding or has no form in the other one.
std::optional<std::string> utf8ToGbk(std::string_view utf8);
std::optional<std::string> gbkToUtf8(std::string_view gbk);

}  // namespace velmora::tools
