#include "tests/support/gbk.h"

#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace velmora::testing {

#ifdef _WIN32
std::string gbk(std::u8string_view utf8) {
  if (utf8.empty()) return {};
  const auto* bytes = reinterpret_cast<const char*>(utf8.data());
  const int length = static_cast<int>(utf8.size());
  std::wstring wide(static_cast<size_t>(length), L'\0');
  wide.resize(static_cast<size_t>(
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, length, wide.data(), length)));
  std::string out(wide.size() * 2, '\0');
  out.resize(static_cast<size_t>(
      WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                          static_cast<int>(out.size()), nullptr, nullptr)));
  return out;
}
#else
std::string gbk(std::u8string_view utf8) {
  iconv_t converter = iconv_open("GBK", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no GBK converter");
  std::string in(reinterpret_cast<const char*>(utf8.data()), utf8.size());
  std::string out(in.size() * 2 + 1, '\0');
  char* inPointer = in.data();
  char* outPointer = out.data();
  size_t inLeft = in.size();
  size_t outLeft = out.size();
  const size_t converted = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
  iconv_close(converter);
  if (converted == static_cast<size_t>(-1)) throw std::runtime_error("text not in GBK");
  out.resize(out.size() - outLeft);
  return out;
}
#endif

}  // namespace velmora::testing
