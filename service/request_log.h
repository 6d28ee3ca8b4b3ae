// The request log: one line per request as it arrived, handed over before the request is answered
// and written by the log's own thread, so that no request ever waits for whoever reads the log (a
// pipe nobody reads, a paused terminal, a slow disk). Only printable ASCII reaches it: every other
// byte is written as %XX, so nothing in a request can forge a line or drive a terminal; a longer
// line than kMaxLoggedLineBytes is cut, ending in "...".
//
// Each line is written whole or not at all. The lines that are not (the log fell behind by more
// than kMaxWaitingLogLines, a write failed, as on a full disk) are counted: the first failed write
// is said on standard error, and at the stop how many lines were lost.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace velmora::service {

inline constexpr size_t kMaxLoggedLineBytes = 2048;
// Lines handed over and not yet written; further ones are dropped until the log catches up.
inline constexpr size_t kMaxWaitingLogLines = 1024;

struct LogLines;  // what the log's callers and its thread share

// The request target with the value of every password parameter written as "***", so that the
// log never holds a password.
std::string withoutPasswords(std::string_view target);

class RequestLog {
 public:
  // Appends to the file at `path`, or writes to standard error when `path` is empty. Throws
  // std::runtime_error when the file cannot be opened. Its thread keeps the signals the calling
  // thread blocks blocked.
  explicit RequestLog(const std::string& path);
  // Waits for the lines handed over to be written, a second at most: a log that takes longer is
  // left to its thread, which ends with the process.
  ~RequestLog();
  RequestLog(const RequestLog&) = delete;
  RequestLog& operator=(const RequestLog&) = delete;

  // Hands `line` over to be written; never waits for the writing.
  void write(std::string_view line);

 private:
  std::shared_ptr<LogLines> lines_;
};

}  // namespace velmora::service
