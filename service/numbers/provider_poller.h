// The one thread that asks a provider for the SMS of the numbers waiting for one, and tells it
// what the service still has to (cancels refused so far, completions not yet taken). A client's
// poll reads the store only: it never costs a provider request.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "service/number_desk.h"
#include "service/numbers/provider.h"

namespace velmora::service {

// One round: the status of every number waiting for its SMS, then every task, the store's state
// read first. Ends early when `stopping` says so, between two requests. Only one process of those
// that share a store polls: the others' rounds do nothing while it lives.
void pollProvider(NumberDesk& desk, Provider& provider, const std::function<bool()>& stopping);

class ProviderPoller {
 public:
  // Asks every `interval`, from the start of one round to the start of the next; the provider's
  // own rate bound spaces the requests of a round. Starts at once.
  // `store` is the poller's own connection.
  ProviderPoller(Database& store, NumberOffice& office, Provider& provider,
                 std::chrono::milliseconds interval);
  // Stops after the request in progress.
  ~ProviderPoller();
  ProviderPoller(const ProviderPoller&) = delete;
  ProviderPoller& operator=(const ProviderPoller&) = delete;

 private:
  void run();
  bool stopping();

  Database& store_;
  NumberOffice& office_;
  Provider& provider_;
  std::chrono::milliseconds interval_;
  std::mutex mutex_;  // guards stop_
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace velmora::service
