#include "service/numbers/provider_poller.h"

namespace velmora::service {

ProviderPoller::ProviderPoller(NumberDesk& desk, Provider& provider,
                               std::chrono::milliseconds interval)
    : desk_(desk), provider_(provider), interval_(interval), thread_([this] { run(); }) {}

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
      pollProvider(desk_, provider_, [this] { return stopping(); });
    } catch (const DatabaseError&) {
      // The store failed this round; the next one finds everything where it was.
    }
    std::unique_lock lock(mutex_);
    if (wake_.wait_until(lock, nextRound, [this] { return stop_; })) return;
  }
}

void pollProvider(NumberDesk& desk, Provider& provider, const std::function<bool()>& stopping) {
  ProviderRound round;
  {
    const std::unique_lock turn = desk.takeTurn();
    round = desk.providerRound();
  }
  for (const Lease& lease : round.awaitingSms) {
    if (stopping()) return;
    const StatusAnswer answer = provider.status(lease.activation);
    const std::unique_lock turn = desk.takeTurn();
    desk.takeStatus(lease, answer);
  }
  for (const ProviderTask& task : round.tasks) {
    if (stopping()) return;
    const ProviderWord answer =
        provider.setStatus(task.activation, static_cast<ActivationStep>(task.step));
    const std::unique_lock turn = desk.takeTurn();
    desk.takeTaskAnswer(task, answer);
  }
}

}  // namespace velmora::service
