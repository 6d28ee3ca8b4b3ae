#include "app/runtime_calls.h"

#include <cstring>

#include "runtime/commands/core_commands.h"
#include "runtime/entry_stubs.h"

namespace velmora::app {
namespace {

const runtime::EntryTable* table = &runtime::runtimeEntryTable;

int32_t headerWord(const void* block, int index) {
  int32_t word;
  std::memcpy(&word, static_cast<const uint8_t*>(block) + 4 * index, sizeof word);
  return word;
}

}  // namespace

const runtime::EntryTable& entryTable() {
  return *table;
}
void useEntryTable(const runtime::EntryTable* replacement) {
  table = replacement ? replacement : &runtime::runtimeEntryTable;
}

runtime::ResultRecord callCoreCommand(int command, std::initializer_list<runtime::ArgRecord> args) {
  return runtime::callCommandEntry(entryTable().callCoreCommand, runtime::coreCommands[command], 0,
                                   {args.begin(), args.size()});
}

Text::~Text() {
  entryTable().free(text_);
}

Text& Text::operator=(Text&& other) noexcept {
  if (this != &other) {
    entryTable().free(text_);
    text_ = other.release();
  }
  return *this;
}

char* Text::release() {
  char* text = text_;
  text_ = nullptr;
  return text;
}

Text makeText(std::string_view bytes) {
  if (bytes.empty()) return Text();
  auto* text = static_cast<char*>(entryTable().allocate(static_cast<int32_t>(bytes.size() + 1)));
  std::memcpy(text, bytes.data(), bytes.size());
  text[bytes.size()] = '\0';
  return Text(text);
}

TextArray::~TextArray() {
  if (array_ == nullptr) return;
  for (int32_t i = 0; i < size(); ++i) entryTable().free(elements()[i]);
  entryTable().free(array_);
}

int32_t TextArray::size() const {
  return array_ ? headerWord(array_, 1) : 0;
}

char* const* TextArray::elements() const {
  return reinterpret_cast<char* const*>(static_cast<const uint8_t*>(array_) + 8);
}

std::string_view TextArray::operator[](int32_t i) const {
  const char* element = elements()[i];
  return element ? element : "";
}

double toNumber(const char* text) {
  return callCoreCommand(runtime::core_command::kToNumber, {runtime::textArgument(text)})
      .value.asDouble();
}

constexpr double kTolerance = 1e-7;

bool sameNumber(double a, double b) {
  return !isLess(a, b) && !isGreater(a, b);
}

bool isLess(double a, double b) {
  return a - b < -kTolerance;
}

bool isGreater(double a, double b) {
  return a - b > kTolerance;
}

int32_t findText(const char* text, const char* sought, bool ignoreCase) {
  return callCoreCommand(runtime::core_command::kFindText, {runtime::textArgument(text),
                                                            runtime::textArgument(sought),
                                                            {},
                                                            runtime::logicalArgument(ignoreCase)})
      .value.asInt();
}

TextArray splitText(const char* text, const char* separator, int32_t limit) {
  runtime::ArgRecord limitArgument;  // omitted: no limit
  if (limit >= 0) limitArgument = runtime::integerArgument(limit);
  const runtime::ResultRecord result = callCoreCommand(
      runtime::core_command::kSplitText,
      {runtime::textArgument(text), runtime::textArgument(separator), limitArgument});
  return TextArray(result.value.asPointer());
}

}  // namespace velmora::app

namespace velmora::app {

void seedRandomNumbers() {
  callCoreCommand(runtime::core_command::kSeedRandomNumbers);
}

int32_t randomNumber(int32_t low, int32_t high) {
  return callCoreCommand(runtime::core_command::kRandomNumber,
                         {runtime::integerArgument(low), runtime::integerArgument(high)})
      .value.asInt();
}

double now() {
  return callCoreCommand(runtime::core_command::kNow).value.asDouble();
}

int32_t yearOf(double dateTime) {
  return callCoreCommand(runtime::core_command::kYearOf,
                         {runtime::doubleArgument(dateTime, runtime::types::kDateTime)})
      .value.asInt();
}

int32_t monthOf(double dateTime) {
  return callCoreCommand(runtime::core_command::kMonthOf,
                         {runtime::doubleArgument(dateTime, runtime::types::kDateTime)})
      .value.asInt();
}

int32_t dayOf(double dateTime) {
  return callCoreCommand(runtime::core_command::kDayOf,
                         {runtime::doubleArgument(dateTime, runtime::types::kDateTime)})
      .value.asInt();
}

}  // namespace velmora::app
