#include "service/head_deadlines.h"

#include <sys/socket.h>

#include <algorithm>

namespace velmora::service {

HeadDeadlines::HeadDeadlines(Clock::duration bound)
    : bound_(bound), watcher_([this] { watch(); }) {}

HeadDeadlines::~HeadDeadlines() {
  {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  stopping_.notify_one();
  watcher_.join();
}

void HeadDeadlines::opened(int socket) {
  const std::lock_guard lock(mutex_);
  deadlines_[socket] = Clock::now() + bound_;
}

void HeadDeadlines::settled(int socket) {
  const std::lock_guard lock(mutex_);
  deadlines_.erase(socket);
}

void HeadDeadlines::watch() {
  std::unique_lock lock(mutex_);
  while (!stopped_) {
    const Clock::time_point now = Clock::now();
    // Every deadline is set a bound after its connection opened, so one set while the watcher
    // waits falls after the end of its wait.
    Clock::time_point next = now + bound_;
    for (auto connection = deadlines_.begin(); connection != deadlines_.end();) {
      if (connection->second <= now) {
        // The library reads the end of the stream and closes the connection itself; it closes
        // the socket only after settled(), which waits for this lock.
        shutdown(connection->first, SHUT_RDWR);
        connection = deadlines_.erase(connection);
      } else {
        next = std::min(next, connection->second);
        ++connection;
      }
    }
    stopping_.wait_until(lock, next, [this] { return stopped_; });
  }
}

}  // namespace velmora::service
