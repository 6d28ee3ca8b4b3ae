#include "service/request_log.h"

#include <algorithm>
#include <stdexcept>

namespace velmora::service {

std::string withoutPasswords(std::string_view target) {
  static constexpr std::string_view kPassword = "password=";
  static constexpr std::string_view kHidden = "***";
  std::string logged(target);
  const size_t queryStart = logged.find('?');
  if (queryStart == std::string::npos) return logged;
  for (size_t at = queryStart + 1; at < logged.size();) {
    size_t end = std::min(logged.find('&', at), logged.size());
    if (std::string_view(logged).substr(at, end - at).starts_with(kPassword)) {
      const size_t value = at + kPassword.size();
      logged.replace(value, end - value, kHidden);
      end = value + kHidden.size();
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
  std::lock_guard lock(mutex_);
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

}  // namespace velmora::service
