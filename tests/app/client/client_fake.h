// The client's world in memory, for running its handlers without windows or a network: units are
// property maps and combo box lists, the service is a script of replies per endpoint, and what
// the user would see or the service would receive (messages, requests, pauses, windows opened,
// closed and flashed) goes into one log in order. Texts are kept as the runtime holds them, in GBK.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/window_units.h"
#include "runtime/entry_table.h"
#include "tests/support/test_heap.h"

namespace velmora::testing {

class ClientFake {
 public:
  ClientFake();
  ~ClientFake();
  ClientFake(const ClientFake&) = delete;
  ClientFake& operator=(const ClientFake&) = delete;

  // The one fake in use, which the commands and the service double answer from.
  static ClientFake& current();

  // The service's replies for an endpoint ("login.php"), as UTF-8 bodies, one per request; the
  // last one answers every further request. An endpoint without replies fails: an empty body.
  void reply(const std::string& endpoint, std::vector<std::u8string> bodies);
  std::string answer(const std::string& url);

  void setText(app::UnitRef unit, std::u8string_view text);
  void setComboBoxText(app::UnitRef comboBox, std::u8string_view text);
  void setTicked(app::UnitRef checkBox, bool ticked);
  void setItems(app::UnitRef comboBox, std::vector<std::u8string> items);
  // Texts as the runtime holds them (GBK).
  std::string text(app::UnitRef unit) const;
  std::string comboBoxText(app::UnitRef unit) const;
  bool visible(app::UnitRef unit) const;
  bool visibilitySet(app::UnitRef unit) const;
  std::vector<std::string> items(app::UnitRef comboBox) const;

  // Requests that do not hold up the window: each is answered from the script when it starts,
  // and its routine runs when the test ends it.
  int32_t startRequest(const std::string& url, void (*ended)());
  std::string takeReply(int32_t request);
  void cancelRequest(int32_t request);
  // Every request on its way ends now, in the order they started.
  void endRequests();
  size_t requestsOnTheirWay() const { return pending_.size(); }

  // The program's timers: every running timer's routine runs once.
  void tick();
  void startTimer(uint32_t window, int32_t milliseconds, void (*routine)());
  void stopTimer(uint32_t window, void (*routine)());
  bool timerRuns(uint32_t window) const;

  std::vector<std::string> log;
  std::string clipboard;
  bool clipboardTakesText = true;
  TestHeap heap;

  // Log entries, for expectations.
  static std::string request(const std::string& url);
  static std::string message(std::u8string_view text, std::u8string_view caption = u8"信息：");
  static std::string messageOf(const std::string& text, std::u8string_view caption);
  static std::string pause(int32_t milliseconds);
  static std::string opened(uint32_t window);
  static std::string closed(uint32_t window);
  static std::string timerStarted(uint32_t window, int32_t milliseconds);
  static std::string timerStopped(uint32_t window);
  static std::string cancelled(const std::string& url);
  static std::string flashed(uint32_t window);

  // The part of the entry table the fake serves; everything else is the runtime's.
  uint64_t readProperty(uint32_t window, uint32_t unit, int32_t property);
  void writeProperty(uint32_t window, uint32_t unit, int32_t property, runtime::ValueSlot value);
  std::map<std::tuple<uint32_t, uint32_t>, std::vector<std::string>> comboBoxItems;

 private:
  using PropertyKey = std::tuple<uint32_t, uint32_t, int32_t>;

  runtime::EntryTable table_;
  std::map<PropertyKey, std::string> texts_;
  std::map<PropertyKey, uint32_t> numbers_;
  std::map<std::string, std::deque<std::string>> replies_;

  struct PendingRequest {
    int32_t number = 0;
    std::string url;
    std::string reply;
    void (*ended)() = nullptr;
  };
  std::vector<PendingRequest> pending_;
  std::map<int32_t, std::string> endedReplies_;
  int32_t lastRequest_ = 0;
  std::vector<std::pair<uint32_t, void (*)()>> timers_;
};

}  // namespace velmora::testing
