#include "service/request_log.h"

#include <algorithm>
#include <stdexcept>

#include "app/protocol/vocabulary.h"
#include "service/query.h"

namespace velmora::service {

namespace {

// Whether the name of a query parameter reads as "password" or "oldpassword" to the endpoints,
// which decode names: "pass%77ord" does. ("+" never decodes to a letter, so both query encodings
// agree.)
bool namesPassword(std::string_view encodedName) {
  const Query name = decodeQuery(encodedName);
  return name.contains(protocol::parameter::kPassword) ||
         name.contains(protocol::parameter::kCurrentPassword);
}

// A byte a terminal or a reader of the log would take for anything but itself: controls (escape
// sequences, carriage returns that forge lines) and every byte outside ASCII, which 8-bit
// terminals read as controls too.
bool isPrintable(unsigned char byte) {
  return byte >= 0x20 && byte < 0x7F;
}

// The line as written: unprintable bytes as %XX, cut after kMaxLoggedLineBytes bytes with "...".
std::string printableLine(std::string_view line) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string printable;
  for (const char character : line) {
    const auto byte = static_cast<unsigned char>(character);
    const size_t width = isPrintable(byte) ? 1 : 3;
    if (printable.size() + width > kMaxLoggedLineBytes) return printable + "...";
    if (width == 1) {
      printable += character;
    } else {
      printable += {'%', kHexDigits[byte >> 4], kHexDigits[byte & 0xF]};
    }
  }
  return printable;
}

}  // namespace

std::string withoutPasswords(std::string_view target) {
  static constexpr std::string_view kHidden = "***";
  std::string logged(target);
  const size_t queryStart = logged.find('?');
  if (queryStart == std::string::npos) return logged;
  for (size_t at = queryStart + 1; at < logged.size();) {
    size_t end = std::min(logged.find('&', at), logged.size());
    const size_t equals = std::min(logged.find('=', at), end);
    if (equals < end && namesPassword(std::string_view(logged).substr(at, equals - at))) {
      logged.replace(equals + 1, end - equals - 1, kHidden);
      end = equals + 1 + kHidden.size();
    }
    at = end + 1;
  }
  return logged;
}

RequestLog::RequestLog(const std::string& path)
    : file_(path.empty() ? stderr : std::fopen(path.c_str(), "a")) {
  if (file_ == nullptr) throw std::runtime_error("cannot open the log " + path);
}

RequestLog::~RequestLog() {
  if (file_ != stderr) std::fclose(file_);
}

void RequestLog::write(std::string_view line) {
  const std::string written = printableLine(line);
  std::lock_guard lock(mutex_);
  std::fwrite(written.data(), 1, written.size(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

}  // namespace velmora::service
