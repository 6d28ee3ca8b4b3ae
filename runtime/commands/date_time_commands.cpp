// Now, year of, month of, day of, and sleep.
#include "runtime/commands/arguments.h"
#include "runtime/commands/clock.h"
#include "runtime/commands/commands.h"
#include "runtime/date_time.h"

namespace velmora::runtime {
namespace {

CalendarFields fieldsOfArgument(int32_t argCount, const ArgRecord* args) {
  return calendarFields(Arguments(argCount, args).number(1));
}

}  // namespace

void now(ResultRecord* result, int32_t, const ArgRecord*) {
  const LocalTime time = localTimeNow();
  result->value.setDouble(
      dateTimeFromFields(time.year, time.month, time.day, time.hour, time.minute, time.second));
}

void yearOf(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  result->value.setInt(fieldsOfArgument(argCount, args).year);
}

void monthOf(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  result->value.setInt(fieldsOfArgument(argCount, args).month);
}

void dayOf(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  result->value.setInt(fieldsOfArgument(argCount, args).day);
}

void sleep(ResultRecord*, int32_t argCount, const ArgRecord* args) {
  const int32_t milliseconds = Arguments(argCount, args).integer(1);
  sleepMilliseconds(milliseconds > 0 ? static_cast<uint32_t>(milliseconds) : 0);
}

}  // namespace velmora::runtime
