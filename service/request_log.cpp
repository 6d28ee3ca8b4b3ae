#include "service/request_log.h"

#include <stdexcept>

namespace velmora::service {

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
