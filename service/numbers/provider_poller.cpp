#include "service/numbers/provider_poller.h"

namespace velmora::service {

ProviderPoller::ProviderPoller(Database& store, NumberOffice& office, Provider& provider,
                               std::chrono::milliseconds interval)
    : store_(store), office_(office), provider_(provider), interval_(interval), thread_([this] {
        run();
      }) {}

ProviderPoller::~ProviderPoller() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

bool ProviderPoller::stopping() {
  std::lock_guard lock(mutex_);
  return stop_;
}

void ProviderPoller::run() {
  for (;;) {
    const auto nextRound = std::chrono::steady_clock::now() + interval_;
    try {
      store_.recover();
      NumberDesk desk(store_, office_);
      pollProvider(desk, provider_, [this] { return stopping(); });
    } catch (const DatabaseError&) {
      // The store failed this round; the next one finds everything where it was.
    }
    std::unique_lock lock(mutex_);
    if (wake_.wait_until(lock, nextRound, [this] { return stop_; })) return;
  }
}

void pollProvider(NumberDesk& desk, Provider& provider, const std::function<bool()>& stopping) {
  if (!desk.database().leadsProviderPolling()) return;
  const ProviderRound round = desk.providerRound();
  for (const Lease& lease : round.awaitingSms) {
    if (stopping()) return;
    desk.takeStatus(lease, provider.status(lease.activation));
  }
  for (const ProviderTask& task : round.tasks) {
    if (stopping()) return;
    desk.takeTaskAnswer(
        task, provider.setStatus(task.activation, static_cast<ActivationStep>(task.step)));
  }
}

}  // namespace velmora::service
