// Seed random numbers and random number: a 32-bit linear congruential generator per thread.
#include <algorithm>

#include "runtime/commands/arguments.h"
#include "runtime/commands/clock.h"
#include "runtime/commands/commands.h"

namespace velmora::runtime {
namespace {

constexpr int32_t kWidestRange = 0x7FFFFFFE;

thread_local uint32_t generatorState = 1;
// Spreads the seeds of unseeded calls that fall within the same millisecond.
uint32_t seedingCounter = 0;

// 0 to 32767.
int32_t draw() {
  generatorState = generatorState * 214013u + 2531011u;
  return static_cast<int32_t>((generatorState >> 16) & 0x7FFF);
}

int32_t boundArgument(const Arguments& arguments, int32_t n, int32_t fallback) {
  return arguments.given(n) ? std::max(arguments.integer(n), 0) : fallback;
}

}  // namespace

uint32_t clockSeed(uint32_t tick) {
  const uint32_t seed = tick + seedingCounter;
  seedingCounter += (seed & 0xFF) + 100;
  return seed;
}

void seedRandomNumbers(ResultRecord*, int32_t argCount, const ArgRecord* args) {
  const Arguments arguments(argCount, args);
  generatorState =
      arguments.given(1) ? static_cast<uint32_t>(arguments.integer(1)) : clockSeed(tickCount());
}

void randomNumber(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  const Arguments arguments(argCount, args);
  const int32_t a = boundArgument(arguments, 1, 0);
  const int32_t b = boundArgument(arguments, 2, 0x7FFFFFFF);
  const int32_t low = std::min(a, b);
  const int32_t high = std::max(a, b);
  if (low == high) {
    result->value.setInt(low);
    return;
  }
  const int32_t range = std::min(high - low, kWidestRange);
  result->value.setInt(low + draw() % (range + 1));
}

}  // namespace velmora::runtime
