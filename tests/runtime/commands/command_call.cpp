// Calling commands in tests.
#include "tests/runtime/commands/command_call.h"

#include <vector>

#include "runtime/memory.h"
#include "runtime/value_blocks.h"

namespace velmora::testing {

ResultRecord call(Command command, std::initializer_list<ArgRecord> args) {
  const std::vector<ArgRecord> records(args);
  ResultRecord result;
  command(&result, static_cast<int32_t>(records.size()), records.data());
  return result;
}

std::optional<std::string> takeText(const ResultRecord& result) {
  char* text = static_cast<char*>(result.value.asPointer());
  if (text == nullptr) return std::nullopt;
  std::string copy = text;
  freeBlock(text);
  return copy;
}

std::vector<std::optional<std::string>> takeTextArray(const ResultRecord& result) {
  void* array = result.value.asPointer();
  std::vector<std::optional<std::string>> elements;
  const auto* texts = static_cast<char* const*>(arrayElements(array));
  for (int32_t i = 0; i < arrayElementCount(array); ++i) {
    elements.push_back(texts[i] ? std::optional<std::string>(texts[i]) : std::nullopt);
  }
  freeArray(array, types::kText);
  return elements;
}

}  // namespace velmora::testing
