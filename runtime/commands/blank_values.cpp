// Blank text, blank byte set and byte set length.
#include <cstring>
#include <limits>

#include "runtime/commands/arguments.h"
#include "runtime/commands/commands.h"
#include "runtime/memory.h"
#include "runtime/value_blocks.h"

namespace velmora::runtime {
namespace {

constexpr int32_t kByteSetHeader = 8;

// A block size that does not fit the allocator's size is reported as the allocation failure of
// the largest size, rather than wrapping round to a small block.
int32_t blockSize(int32_t count, int32_t overhead) {
  return count > std::numeric_limits<int32_t>::max() - overhead
             ? std::numeric_limits<int32_t>::max()
             : count + overhead;
}

}  // namespace

void blankText(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  const int32_t count = Arguments(argCount, args).integer(1);
  if (count <= 0) return;
  auto* text = static_cast<char*>(allocate(blockSize(count, 1)));
  std::memset(text, ' ', static_cast<size_t>(count));
  text[count] = '\0';
  setPointerResult(result, text);
}

void blankByteSet(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  const int32_t count = Arguments(argCount, args).integer(1);
  if (count <= 0) return;
  auto* block = static_cast<uint8_t*>(allocate(blockSize(count, kByteSetHeader)));
  const int32_t header[2] = {1, count};
  std::memcpy(block, header, sizeof header);
  std::memset(block + kByteSetHeader, 0, static_cast<size_t>(count));
  setPointerResult(result, block);
}

void byteSetLengthCommand(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  result->value.setInt(byteSetLength(Arguments(argCount, args).byteSet(1)));
}

}  // namespace velmora::runtime
