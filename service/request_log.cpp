#include "service/request_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <tuple>
#include <utility>

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

// How long a stop waits for the lines handed over to be written.
constexpr std::chrono::seconds kDrainTime{1};

int openLog(const std::string& path) {
  const int descriptor =
      open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
  if (descriptor < 0) throw std::runtime_error("cannot open the log " + path);
  return descriptor;
}

// Writes `line` in one write, or more when the descriptor takes it in parts (a terminal). A line
// that went out in part and cannot be finished is cut off again when `cutsBack` (a regular file,
// appended to), so that the file holds whole lines only. 0, or the error of the failed write.
int writeWhole(int descriptor, std::string_view line, bool cutsBack) {
  size_t written = 0;
  while (written < line.size()) {
    const ssize_t taken = ::write(descriptor, line.data() + written, line.size() - written);
    if (taken > 0) {
      written += static_cast<size_t>(taken);
      continue;
    }
    if (taken < 0 && errno == EINTR) continue;
    const int error = taken < 0 ? errno : EIO;
    const off_t end = cutsBack && written > 0 ? lseek(descriptor, 0, SEEK_CUR) : -1;
    // When even the cut fails the part stays: nothing more can be done, and the failure is said.
    if (end >= 0) std::ignore = ftruncate(descriptor, end - static_cast<off_t>(written));
    return error;
  }
  return 0;
}

void sayOnStandardError(const std::string& text) {
  writeWhole(STDERR_FILENO, "velmora-service: " + text + "\n", false);
}

}  // namespace

struct LogLines {
  explicit LogLines(int descriptor) : descriptor(descriptor) {}
  ~LogLines() {
    if (descriptor != STDERR_FILENO) close(descriptor);
  }

  // The log's thread: writes the lines in the order they were handed over, until the stop.
  void writeUntilTheStop();

  const int descriptor;
  bool cutsBack = false;  // a regular file
  std::mutex mutex;
  std::condition_variable arrived;   // a line, or the stop
  std::condition_variable finished;  // the writer is done
  std::deque<std::string> waiting;
  size_t lost = 0;  // dropped, or not written
  bool closing = false;
  bool writerDone = false;
};

void LogLines::writeUntilTheStop() {
  bool failedBefore = false;
  std::unique_lock lock(mutex);
  for (;;) {
    arrived.wait(lock, [this] { return !waiting.empty() || closing; });
    if (waiting.empty()) break;
    std::deque<std::string> batch;
    batch.swap(waiting);
    lock.unlock();
    size_t failed = 0;
    for (const std::string& line : batch) {
      const int error = writeWhole(descriptor, line, cutsBack);
      if (error == 0) continue;
      ++failed;
      if (!std::exchange(failedBefore, true)) {
        sayOnStandardError("cannot write the log (" + std::string(std::strerror(error)) +
                           "); the lines not written are counted");
      }
    }
    lock.lock();
    lost += failed;
  }
  const size_t lostInAll = lost;
  lock.unlock();  // standard error may be slow too
  if (lostInAll > 0) {
    sayOnStandardError("log lines lost (not written or dropped): " + std::to_string(lostInAll));
  }
  lock.lock();
  writerDone = true;
  finished.notify_all();
}

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
    : lines_(std::make_shared<LogLines>(path.empty() ? STDERR_FILENO : openLog(path))) {
  struct stat status {};
  lines_->cutsBack = fstat(lines_->descriptor, &status) == 0 && S_ISREG(status.st_mode);
  std::thread([lines = lines_] { lines->writeUntilTheStop(); }).detach();
}

RequestLog::~RequestLog() {
  std::unique_lock lock(lines_->mutex);
  lines_->closing = true;
  lines_->arrived.notify_one();
  lines_->finished.wait_for(lock, kDrainTime, [this] { return lines_->writerDone; });
}

void RequestLog::write(std::string_view line) {
  std::string written = printableLine(line) + '\n';
  std::lock_guard lock(lines_->mutex);
  if (lines_->waiting.size() >= kMaxWaitingLogLines) {
    ++lines_->lost;
    return;
  }
  lines_->waiting.push_back(std::move(written));
  lines_->arrived.notify_one();
}

}  // namespace velmora::service
