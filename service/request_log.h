// The request log: one line per request as it arrived, written before the request is answered.
// Only printable ASCII reaches it: every other byte is written as %XX, so nothing in a request can
// forge a line or drive a terminal; a longer line than kMaxLoggedLineBytes is cut, ending in "...".
#pragma once

#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace velmora::service {

inline constexpr size_t kMaxLoggedLineBytes = 2048;

// The request target with the value of every password parameter written as "***", so that the
// log never holds a password.
std::string withoutPasswords(std::string_view target);

class RequestLog {
 public:
  // Appends to the file at `path`, or writes to standard error when `path` is empty. Throws
  // std::runtime_error when the file cannot be opened.
  explicit RequestLog(const std::string& path);
  ~RequestLog();
  RequestLog(const RequestLog&) = delete;
  RequestLog& operator=(const RequestLog&) = delete;

  void write(std::string_view line);

 private:
  std::FILE* file_;
  std::mutex mutex_;
};

}  // namespace velmora::service
