#include "service/query.h"

#include <iconv.h>

#include <algorithm>

namespace velmora::service {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "%XX" becomes the byte XX, "+" a space when `plusIsSpace`; any other byte, even one the
// client should have escaped, stands for itself.
std::optional<std::string> percentDecode(std::string_view encoded, bool plusIsSpace) {
  std::string bytes;
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '%') {
      bytes += plusIsSpace && encoded[i] == '+' ? ' ' : encoded[i];
      continue;
    }
    if (encoded.size() - i < 3) return std::nullopt;
    const int high = hexDigit(encoded[i + 1]);
    const int low = hexDigit(encoded[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return bytes;
}

bool hasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
}

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t handle() const { return handle_; }

 private:
  iconv_t handle_;
};

// The bytes in the encoding `from` in the encoding `to`; nothing when they are not in `from`,
// have no form in `to` or hold control characters.
std::optional<std::string> convertedText(std::string_view bytes, const char* to, const char* from) {
  if (hasControlCharacter(bytes)) return std::nullopt;
  Converter converter(to, from);
  if (!converter.valid()) return std::nullopt;
  std::string in(bytes);
  std::string out(in.size() * 3 + 4, '\0');  // ample: no GBK or UTF-8 byte grows beyond three
  char* inPointer = in.data();
  char* outPointer = out.data();
  size_t inLeft = in.size();
  size_t outLeft = out.size();
  if (iconv(converter.handle(), &inPointer, &inLeft, &outPointer, &outLeft) ==
      static_cast<size_t>(-1)) {
    return std::nullopt;
  }
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::optional<std::string> textFromGbk(std::string_view bytes) {
  return convertedText(bytes, "UTF-8", "GBK");
}

std::optional<std::string> textFromUtf8(std::string_view bytes) {
  return convertedText(bytes, "UTF-8", "UTF-8");
}

bool writableInGbk(std::string_view text) {
  return convertedText(text, "GBK", "UTF-8").has_value();
}

Query decodeQuery(std::string_view query, QueryEncoding encoding) {
  const bool form = encoding == QueryEncoding::kFormUtf8;
  const auto text = form ? textFromUtf8 : textFromGbk;
  Query values;
  while (!query.empty()) {
    const size_t end = std::min(query.find('&'), query.size());
    const std::string_view pair = query.substr(0, end);
    query.remove_prefix(std::min(end + 1, query.size()));
    const size_t equals = std::min(pair.find('='), pair.size());
    const std::optional<std::string> name = percentDecode(pair.substr(0, equals), form);
    if (!name || name->empty() || values.contains(*name)) continue;
    const std::string_view value = pair.substr(std::min(equals + 1, pair.size()));
    const std::optional<std::string> bytes = percentDecode(value, form);
    values.emplace(*name, bytes ? text(*bytes) : std::nullopt);
  }
  return values;
}

std::optional<std::string> queryValue(const Query& query, std::string_view name) {
  const auto found = query.find(name);
  return found == query.end() ? std::nullopt : found->second;
}

}  // namespace velmora::service
