// Random numbers, the date commands and sleep.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "runtime/commands/clock.h"
#include "runtime/commands/commands.h"
#include "runtime/date_time.h"
#include "tests/runtime/commands/command_call.h"

namespace velmora::runtime {
namespace {

using namespace velmora::testing;

int32_t draw(ArgRecord low = kOmitted, ArgRecord high = kOmitted) {
  return call(randomNumber, {low, high}).value.asInt();
}

TEST(RandomNumber, FollowsTheGeneratorFromItsSeed) {
  call(seedRandomNumbers, {integerArgument(1)});
  const int32_t expected[] = {41, 18467, 6334, 26500, 19169};
  for (int32_t value : expected) EXPECT_EQ(draw(), value);
}

TEST(RandomNumber, EqualBoundsGiveTheBoundWithoutADraw) {
  call(seedRandomNumbers, {integerArgument(1)});
  EXPECT_EQ(draw(integerArgument(5), integerArgument(5)), 5);
  EXPECT_EQ(draw(), 41);
}

TEST(RandomNumber, StaysWithinItsBounds) {
  call(seedRandomNumbers, {integerArgument(7)});
  for (int i = 0; i < 2000; ++i) {
    const int32_t value = draw(integerArgument(9999), integerArgument(1111));
    ASSERT_GE(value, 1111);
    ASSERT_LE(value, 9999);
  }
  for (int i = 0; i < 2000; ++i) ASSERT_LE(draw(), 32767);
}

TEST(RandomNumber, NegativeBoundsCountAsZero) {
  call(seedRandomNumbers, {integerArgument(3)});
  EXPECT_EQ(draw(integerArgument(-4), integerArgument(0)), 0);
  for (int i = 0; i < 100; ++i) ASSERT_LE(draw(integerArgument(-9), integerArgument(2)), 2);
}

TEST(RandomNumber, EachThreadStartsFromSeedOne) {
  call(seedRandomNumbers, {integerArgument(12345)});
  int32_t first = -1;
  std::thread([&first] { first = draw(); }).join();
  EXPECT_EQ(first, 41);
}

TEST(SeedRandomNumbers, ClockSeedsDifferWithinOneMillisecond) {
  const uint32_t first = clockSeed(1000);
  const uint32_t second = clockSeed(1000);
  // The counter moves on by the low byte of the seed plus 100.
  EXPECT_EQ(second - first, (first & 0xFF) + 100);
}

TEST(DateCommands, TakeTheCalendarFields) {
  const ArgRecord date = doubleArgument(dateTimeFromFields(2025, 4, 15, 13, 5), types::kDateTime);
  EXPECT_EQ(call(yearOf, {date}).value.asInt(), 2025);
  EXPECT_EQ(call(monthOf, {date}).value.asInt(), 4);
  EXPECT_EQ(call(dayOf, {date}).value.asInt(), 15);
  const ArgRecord late = doubleArgument(3000000.0, types::kDateTime);
  EXPECT_EQ(call(yearOf, {late}).value.asInt(), 9999);
  EXPECT_EQ(call(monthOf, {late}).value.asInt(), 12);
  EXPECT_EQ(call(dayOf, {late}).value.asInt(), 31);
}

TEST(DateCommands, NowIsTheLocalTimeInWholeSeconds) {
  const LocalTime before = localTimeNow();
  const double value = call(now).value.asDouble();
  const double seconds = (value - std::floor(value)) * 86400;
  EXPECT_NEAR(seconds, std::round(seconds), 1e-4);
  const double expected = dateTimeFromFields(before.year, before.month, before.day, before.hour,
                                             before.minute, before.second);
  EXPECT_NEAR(value, expected, 2.0 / 86400);
}

TEST(Sleep, PausesTheThread) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  call(sleep, {integerArgument(60)});
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(50));
  const auto again = Clock::now();
  call(sleep, {integerArgument(-1000)});
  EXPECT_LT(Clock::now() - again, std::chrono::milliseconds(500));
}

}  // namespace
}  // namespace velmora::runtime
