// Find text: a forward search that sees texts as characters, never matching on a trail byte.
#include <algorithm>

#include "runtime/commands/arguments.h"
#include "runtime/commands/character_search.h"
#include "runtime/commands/commands.h"

namespace velmora::runtime {

int32_t findTextPosition(std::string_view searched, std::string_view sought, int32_t start,
                         bool foldCase) {
  const size_t position = start > 0 ? static_cast<size_t>(start) : 0;
  if (position >= searched.size()) return -1;
  if (sought.empty()) return 1;
  const size_t found = findAtCharacterStart(searched, position, sought, foldCase);
  return found == kNotFound ? -1 : static_cast<int32_t>(found + 1);
}

void findText(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  const Arguments arguments(argCount, args);
  const int64_t start = arguments.given(3) ? int64_t{arguments.integer(3)} - 1 : 0;
  const bool foldCase = arguments.given(4) && arguments.record(4).value.low == 1;
  result->value.setInt(findTextPosition(arguments.text(1), arguments.text(2),
                                        static_cast<int32_t>(std::max<int64_t>(start, 0)),
                                        foldCase));
}

}  // namespace velmora::runtime
