// Calling commands in tests.
#include "tests/runtime/commands/command_call.h"

#include <vector>

#include "runtime/memory.h"
#include "runtime/value_blocks.h"

namespace velmora::testing {

runtime::ResultRecord call(runtime::Command command,
                           std::initializer_list<runtime::ArgRecord> args) {
  const std::vector<runtime::ArgRecord> records(args);
  runtime::ResultRecord result;
  command(&result, static_cast<int32_t>(records.size()), records.data());
  return result;
}

std::optional<std::string> takeText(const runtime::ResultRecord& result) {
  char* text = static_cast<char*>(result.value.asPointer());
  if (text == nullptr) return std::nullopt;
  std::string copy = text;
  runtime::freeBlock(text);
  return copy;
}

std::vector<std::optional<std::string>> takeTextArray(const runtime::ResultRecord& result) {
  void* array = result.value.asPointer();
  std::vector<std::optional<std::string>> elements;
  const auto* texts = static_cast<char* const*>(runtime::arrayElements(array));
  for (int32_t i = 0; i < runtime::arrayElementCount(array); ++i) {
    elements.push_back(texts[i] ? std::optional<std::string>(texts[i]) : std::nullopt);
  }
  runtime::freeArray(array, runtime::types::kText);
  return elements;
}

}  // namespace velmora::testing
