#include "tests/app/client/client_fake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "app/runtime_calls.h"
#include "forms/format/property_indices.h"
#include "runtime/commands/core_commands.h"
#include "runtime/commands/installed_commands.h"
#include "runtime/entry_stubs.h"
#include "runtime/value_blocks.h"
#include "tests/support/gbk.h"

namespace velmora::testing {
namespace {

ClientFake* active = nullptr;

// The properties the handlers reach: the text of edit boxes and labels, the combo boxes' text,
// the check boxes' ticked state and every unit's visibility.
constexpr int32_t kText = forms::propertyIndex(forms::EditBoxProperty::kContent);
constexpr int32_t kComboBoxText = forms::propertyIndex(forms::ComboBoxProperty::kText);
constexpr int32_t kTicked = forms::propertyIndex(forms::CheckBoxProperty::kChecked);
constexpr int32_t kVisible = forms::propertyIndex(forms::CommonProperty::kVisible);

bool isTextProperty(int32_t property) {
  return property == kText || property == kComboBoxText;
}

std::string textOf(const runtime::ArgRecord& argument) {
  const char* text = argument.value.asText();
  return text ? text : "";
}

std::tuple<uint32_t, uint32_t> unitOf(const runtime::ArgRecord& reference) {
  return {reference.value.low, reference.value.high};
}

std::string hexId(uint32_t id) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", id);
  return buffer;
}

uint64_t pointerValue(const void* pointer) {
  return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer));
}

// The entry slots the fake serves.
uint64_t readPropertyEntry(uint32_t window, uint32_t unit, int32_t property, int32_t) {
  return active->readProperty(window, unit, property);
}

void writePropertyEntry(uint32_t window, uint32_t unit, int32_t property, int32_t, uint32_t low,
                        uint32_t high) {
  active->writeProperty(window, unit, property, runtime::ValueSlot{low, high});
}

// Core commands run as in the runtime, except the pause, which is logged instead of waited.
void callCoreCommandEntry(runtime::Command command, int32_t, int32_t argCount,
                          const runtime::ArgRecord* args, runtime::ResultRecord* result) {
  *result = {};
  if (command == runtime::coreCommands[runtime::core_command::kSleep]) {
    active->log.push_back(ClientFake::pause(args[0].value.asInt()));
    return;
  }
  command(result, argCount, args);
}

// The window system's commands.
void messageBox(runtime::ResultRecord*, int32_t argCount, const runtime::ArgRecord* args) {
  const std::string caption = argCount >= 3 && args[2].given() ? textOf(args[2]) : gbk(u8"信息：");
  EXPECT_EQ(args[1].value.asInt(), 0) << "messages have one OK button";
  active->log.push_back("message " + textOf(args[0]) + " | " + caption);
}

void loadWindow(runtime::ResultRecord* result, int32_t argCount, const runtime::ArgRecord* args) {
  const bool modal = argCount >= 3 && args[2].value.asLogical();
  const bool parent = argCount >= 2 && args[1].given();
  active->log.push_back("open " + hexId(args[0].value.low) + (modal && !parent ? " modal" : ""));
  result->value.setLogical(true);
}

void closeWindow(runtime::ResultRecord*, int32_t, const runtime::ArgRecord* args) {
  active->log.push_back(ClientFake::closed(args[0].value.low));
}

void clearComboBox(runtime::ResultRecord*, int32_t, const runtime::ArgRecord* args) {
  active->comboBoxItems[unitOf(args[0])].clear();
}

void addComboBoxItem(runtime::ResultRecord* result, int32_t, const runtime::ArgRecord* args) {
  auto& items = active->comboBoxItems[unitOf(args[0])];
  items.push_back(textOf(args[1]));
  result->value.setInt(static_cast<int32_t>(items.size() - 1));
}

void comboBoxItemCount(runtime::ResultRecord* result, int32_t, const runtime::ArgRecord* args) {
  result->value.setInt(static_cast<int32_t>(active->comboBoxItems[unitOf(args[0])].size()));
}

void comboBoxItemText(runtime::ResultRecord* result, int32_t, const runtime::ArgRecord* args) {
  const auto& items = active->comboBoxItems[unitOf(args[0])];
  const int32_t index = args[1].value.asInt();
  if (index >= 0 && index < static_cast<int32_t>(items.size()))
    result->value.setPointer(runtime::textFromString(items[index].c_str()));
}

void setClipboardText(runtime::ResultRecord* result, int32_t, const runtime::ArgRecord* args) {
  if (!active->clipboardTakesText) return;
  active->clipboard = textOf(args[0]);
  result->value.setLogical(true);
}

void startTimer(runtime::ResultRecord* result, int32_t, const runtime::ArgRecord* args) {
  active->startTimer(args[0].value.low, args[1].value.asInt(),
                     reinterpret_cast<void (*)()>(args[2].value.asPointer()));
  result->value.setLogical(true);
}

void stopTimer(runtime::ResultRecord*, int32_t, const runtime::ArgRecord* args) {
  active->stopTimer(args[0].value.low, reinterpret_cast<void (*)()>(args[1].value.asPointer()));
}

void flashWindow(runtime::ResultRecord*, int32_t, const runtime::ArgRecord* args) {
  active->log.push_back(ClientFake::flashed(args[0].value.low));
}

constexpr std::pair<int, runtime::Command> kWindowCommands[] = {
    {runtime::core_command::kFlashWindow, flashWindow},
    {runtime::core_command::kStartTimer, startTimer},
    {runtime::core_command::kStopTimer, stopTimer},
    {runtime::core_command::kMessageBox, messageBox},
    {runtime::core_command::kLoadWindow, loadWindow},
    {runtime::core_command::kCloseWindow, closeWindow},
    {runtime::core_command::kClearComboBox, clearComboBox},
    {runtime::core_command::kAddComboBoxItem, addComboBoxItem},
    {runtime::core_command::kComboBoxItemCount, comboBoxItemCount},
    {runtime::core_command::kComboBoxItemText, comboBoxItemText},
    {runtime::core_command::kSetClipboardText, setClipboardText},
};

// "scheme://host/E/qx/login.php?..." -> "login.php"
std::string endpointOf(const std::string& url) {
  const size_t start = url.find("/E/qx/");
  if (start == std::string::npos) return {};
  const size_t name = start + 6;
  return url.substr(name, url.find('?', name) - name);
}

}  // namespace

ClientFake::ClientFake() : table_(runtime::runtimeEntryTable) {
  table_.readProperty = readPropertyEntry;
  table_.writeProperty = writePropertyEntry;
  table_.callCoreCommand = reinterpret_cast<runtime::EntryCode>(&callCoreCommandEntry);
  active = this;
  for (const auto& [number, command] : kWindowCommands)
    runtime::installCoreCommand(number, command);
  app::useEntryTable(&table_);
}

ClientFake::~ClientFake() {
  app::useEntryTable(nullptr);
  for (const auto& [number, command] : kWindowCommands)
    runtime::installCoreCommand(number, nullptr);
  active = nullptr;
}

ClientFake& ClientFake::current() {
  return *active;
}

void ClientFake::reply(const std::string& endpoint, std::vector<std::u8string> bodies) {
  auto& queue = replies_[endpoint];
  queue.clear();
  for (const auto& body : bodies)
    queue.emplace_back(reinterpret_cast<const char*>(body.data()), body.size());
}

std::string ClientFake::answer(const std::string& url) {
  log.push_back(request(url));
  auto found = replies_.find(endpointOf(url));
  if (found == replies_.end() || found->second.empty()) return {};
  std::string body = found->second.front();
  if (found->second.size() > 1) found->second.pop_front();
  return body;
}

int32_t ClientFake::startRequest(const std::string& url, void (*ended)()) {
  std::string reply = answer(url);
  pending_.push_back({++lastRequest_, url, std::move(reply), ended});
  return lastRequest_;
}

std::string ClientFake::takeReply(int32_t request) {
  auto found = endedReplies_.find(request);
  if (found == endedReplies_.end()) return {};
  std::string reply = std::move(found->second);
  endedReplies_.erase(found);
  return reply;
}

void ClientFake::cancelRequest(int32_t request) {
  auto found = std::find_if(pending_.begin(), pending_.end(),
                            [&](const PendingRequest& p) { return p.number == request; });
  if (found == pending_.end()) return;
  log.push_back(cancelled(found->url));
  pending_.erase(found);
}

void ClientFake::endRequests() {
  std::vector<PendingRequest> ending;
  ending.swap(pending_);
  for (PendingRequest& request : ending) {
    endedReplies_[request.number] = std::move(request.reply);
    request.ended();
    endedReplies_.erase(request.number);  // a reply not taken goes with its request
  }
}

void ClientFake::tick() {
  const auto running = timers_;
  for (const auto& [window, routine] : running) routine();
}

void ClientFake::startTimer(uint32_t window, int32_t milliseconds, void (*routine)()) {
  log.push_back(timerStarted(window, milliseconds));
  if (std::find(timers_.begin(), timers_.end(), std::pair{window, routine}) == timers_.end())
    timers_.emplace_back(window, routine);
}

void ClientFake::stopTimer(uint32_t window, void (*routine)()) {
  const auto found = std::find(timers_.begin(), timers_.end(), std::pair{window, routine});
  if (found == timers_.end()) return;
  log.push_back(timerStopped(window));
  timers_.erase(found);
}

bool ClientFake::timerRuns(uint32_t window) const {
  return std::any_of(timers_.begin(), timers_.end(),
                     [&](const auto& timer) { return timer.first == window; });
}

void ClientFake::setText(app::UnitRef unit, std::u8string_view text) {
  texts_[{unit.window, unit.unit, kText}] = gbk(text);
}

void ClientFake::setComboBoxText(app::UnitRef comboBox, std::u8string_view text) {
  texts_[{comboBox.window, comboBox.unit, kComboBoxText}] = gbk(text);
}

void ClientFake::setTicked(app::UnitRef checkBox, bool ticked) {
  numbers_[{checkBox.window, checkBox.unit, kTicked}] = ticked ? 1 : 0;
}

void ClientFake::setItems(app::UnitRef comboBox, std::vector<std::u8string> items) {
  auto& list = comboBoxItems[{comboBox.window, comboBox.unit}];
  list.clear();
  for (const auto& item : items) list.push_back(gbk(item));
}

std::string ClientFake::text(app::UnitRef unit) const {
  auto found = texts_.find({unit.window, unit.unit, kText});
  return found == texts_.end() ? std::string() : found->second;
}

std::string ClientFake::comboBoxText(app::UnitRef unit) const {
  auto found = texts_.find({unit.window, unit.unit, kComboBoxText});
  return found == texts_.end() ? std::string() : found->second;
}

bool ClientFake::visible(app::UnitRef unit) const {
  auto found = numbers_.find({unit.window, unit.unit, kVisible});
  return found == numbers_.end() || found->second != 0;
}

bool ClientFake::visibilitySet(app::UnitRef unit) const {
  return numbers_.contains({unit.window, unit.unit, kVisible});
}

std::vector<std::string> ClientFake::items(app::UnitRef comboBox) const {
  auto found = comboBoxItems.find({comboBox.window, comboBox.unit});
  return found == comboBoxItems.end() ? std::vector<std::string>() : found->second;
}

uint64_t ClientFake::readProperty(uint32_t window, uint32_t unit, int32_t property) {
  if (isTextProperty(property)) {
    auto found = texts_.find({window, unit, property});
    return found == texts_.end() ? 0 : pointerValue(runtime::textFromString(found->second.c_str()));
  }
  if (property != kVisible && property != kTicked) ADD_FAILURE() << "property " << property;
  auto found = numbers_.find({window, unit, property});
  return found == numbers_.end() ? 0 : found->second;
}

void ClientFake::writeProperty(uint32_t window, uint32_t unit, int32_t property,
                               runtime::ValueSlot value) {
  if (isTextProperty(property)) {
    texts_[{window, unit, property}] = value.asText() ? value.asText() : "";
    return;
  }
  if (property != kVisible) ADD_FAILURE() << "property " << property << " written";
  numbers_[{window, unit, property}] = value.low;
}

std::string ClientFake::request(const std::string& url) {
  return "request " + url;
}

std::string ClientFake::message(std::u8string_view text, std::u8string_view caption) {
  return "message " + gbk(text) + " | " + gbk(caption);
}

std::string ClientFake::messageOf(const std::string& text, std::u8string_view caption) {
  return "message " + text + " | " + gbk(caption);
}

std::string ClientFake::pause(int32_t milliseconds) {
  return "pause " + std::to_string(milliseconds);
}

std::string ClientFake::opened(uint32_t window) {
  return "open " + hexId(window) + " modal";
}

std::string ClientFake::closed(uint32_t window) {
  return "close " + hexId(window);
}

std::string ClientFake::timerStarted(uint32_t window, int32_t milliseconds) {
  return "timer " + hexId(window) + " every " + std::to_string(milliseconds);
}

std::string ClientFake::timerStopped(uint32_t window) {
  return "timer " + hexId(window) + " stopped";
}

std::string ClientFake::flashed(uint32_t window) {
  return "flash " + hexId(window);
}

std::string ClientFake::cancelled(const std::string& url) {
  return "cancel " + url;
}

}  // namespace velmora::testing
