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

namespace {

std::string narrowFromWide(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int narrowLength =
      WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(narrowLength), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), length, narrow.data(), narrowLength, nullptr,
                      nullptr);
  return narrow;
}

}  // namespace

std::string gbkFromWide(std::wstring_view text) {
  return narrowFromWide(text, kGbkCodePage);
}

std::string ansiFromWide(std::wstring_view text) {
  return narrowFromWide(text, CP_ACP);
}

}  // namespace velmora::runtime
