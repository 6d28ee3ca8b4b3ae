#include "tools/program_data/gbk_conversion.h"

#include <iconv.h>

namespace velmora::tools {
namespace {

std::optional<std::string> convert(const char* to, const char* from, std::string_view text) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* next = out.data();
  size_t outLeft = out.size();
  size_t result = iconv(converter, &in, &inLeft, &next, &outLeft);
  iconv_close(converter);
  if (result == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::optional<std::string> utf8ToGbk(std::string_view utf8) {
  return convert("GBK", "UTF-8", utf8);
}

std::optional<std::string> gbkToUtf8(std::string_view gbk) {
  return convert("UTF-8", "GBK", gbk);
}

}  // namespace velmora::tools
