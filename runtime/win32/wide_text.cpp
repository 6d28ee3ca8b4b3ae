#include "runtime/win32/wide_text.h"

#include <windows.h>

namespace velmora::runtime {

std::wstring wideFromGbk(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(kGbkCodePage, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  MultiByteToWideChar(kGbkCodePage, 0, text.data(), length, wide.data(), wideLength);
  return wide;
}

std::string gbkFromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int gbkLength =
      WideCharToMultiByte(kGbkCodePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string gbk(static_cast<size_t>(gbkLength), '\0');
  WideCharToMultiByte(kGbkCodePage, 0, text.data(), length, gbk.data(), gbkLength, nullptr,
                      nullptr);
  return gbk;
}

}  // namespace velmora::runtime
