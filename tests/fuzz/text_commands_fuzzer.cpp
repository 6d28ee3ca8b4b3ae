// Fuzzes the text commands with texts from outside (service replies are such texts): split,
// find with and without case folding, to number and to text of the number read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/commands/commands.h"
#include "runtime/memory.h"
#include "runtime/value_blocks.h"

using namespace velmora;

// Input: a control byte (split limit and find start), the separator length, the separator, the
// text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int32_t control = data[0] % 8 - 1;
  const size_t separatorLength = data[1] % 4;
  if (size < 2 + separatorLength) return 0;
  const std::string separator(reinterpret_cast<const char*>(data + 2), separatorLength);
  const std::string text(reinterpret_cast<const char*>(data + 2 + separatorLength),
                         size - 2 - separatorLength);
  // Texts end at their first zero byte, as the runtime's texts do.
  const std::string runtimeText(text.c_str());
  const std::string runtimeSeparator(separator.c_str());

  runtime::ResultRecord result;
  const runtime::ArgRecord splitArguments[] = {
      runtime::textArgument(runtimeText.c_str()), runtime::textArgument(runtimeSeparator.c_str()),
      control < 0 ? runtime::ArgRecord{} : runtime::integerArgument(control)};
  runtime::splitText(&result, 3, splitArguments);
  runtime::freeArray(result.value.asPointer(), runtime::types::kText);

  for (bool foldCase : {false, true}) {
    runtime::findTextPosition(runtimeText, runtimeSeparator, control, foldCase);
  }

  result = {};
  const runtime::ArgRecord numberArgument = runtime::textArgument(runtimeText.c_str());
  runtime::toNumber(&result, 1, &numberArgument);
  runtime::ArgRecord doubleArgument;
  doubleArgument.value.setDouble(result.value.asDouble());
  doubleArgument.type = runtime::types::kDouble;
  result = {};
  runtime::toText(&result, 1, &doubleArgument);
  runtime::freeBlock(result.value.asPointer());
  return 0;
}
