// Ends the connections whose request head is not in within a bound of their start. The HTTP
// library bounds only the silence between a client's bytes, so without this a client that sends
// a byte now and then keeps its connection for as long as it likes.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace velmora::service {

class HeadDeadlines {
 public:
  using Clock = std::chrono::steady_clock;

  // Starts the thread that ends the connections late with their head.
  explicit HeadDeadlines(Clock::duration bound);
  // Stops it; the connections it watched are left as they are.
  ~HeadDeadlines();
  HeadDeadlines(const HeadDeadlines&) = delete;
  HeadDeadlines& operator=(const HeadDeadlines&) = delete;

  // The connection on `socket` has opened: its head is due within the bound from now.
  void opened(int socket);
  // Its head is in, or it is closing: it is no longer watched. Once this returns, the socket is
  // never touched again, so its owner may close it.
  void settled(int socket);

 private:
  void watch();

  const Clock::duration bound_;
  std::mutex mutex_;
  std::condition_variable stopping_;
  bool stopped_ = false;
  std::unordered_map<int, Clock::time_point> deadlines_;  // by socket
  std::thread watcher_;
};

}  // namespace velmora::service
