// Tests write the runtime's GBK texts as UTF-8 literals and convert them here.
#pragma once

#include <string>
#include <string_view>

namespace velmora::testing {

std::string gbk(std::u8string_view utf8);

}  // namespace velmora::testing
