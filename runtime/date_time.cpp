// Calendar arithmetic over day counts, in the proleptic Gregorian calendar.
#include "runtime/date_time.h"

#include <cmath>

namespace velmora::runtime {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Days from 0000-03-01 (the start of a 400-year era) to 1899-12-30.
constexpr int64_t kEpochDays = 693899;

// Days since 1899-12-30 of a calendar date; years counted from March so leap days fall last.
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - kEpochDays;
}

void civilFromDays(int64_t days, CalendarFields& fields) {
  const int64_t z = days + kEpochDays;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  fields.day = static_cast<int32_t>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  fields.month = static_cast<int32_t>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  fields.year = static_cast<int32_t>(yearOfEra + era * 400 + (fields.month <= 2 ? 1 : 0));
}

}  // namespace

double clampDateTime(double dateTime) {
  if (std::isnan(dateTime)) return 0.0;
  if (dateTime < kEarliestDateTime) return kEarliestDateTime;
  if (dateTime > kLatestDateTime) return kLatestDateTime;
  return dateTime;
}

CalendarFields calendarFields(double dateTime) {
  const double clamped = clampDateTime(dateTime);
  int64_t days = static_cast<int64_t>(std::trunc(clamped));
  int64_t seconds = std::llround(std::fabs(clamped - static_cast<double>(days)) * kSecondsPerDay);
  if (seconds == kSecondsPerDay) {  // rounded up into the next day
    seconds = 0;
    days += 1;
  }
  CalendarFields fields;
  civilFromDays(days, fields);
  fields.hour = static_cast<int32_t>(seconds / 3600);
  fields.minute = static_cast<int32_t>(seconds / 60 % 60);
  fields.second = static_cast<int32_t>(seconds % 60);
  // 1899-12-30 was a Saturday.
  fields.dayOfWeek = static_cast<int32_t>(((days + 6) % 7 + 7) % 7 + 1);
  fields.dayOfYear = static_cast<int32_t>(days - daysFromCivil(fields.year, 1, 1) + 1);
  return fields;
}

double dateTimeFromFields(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                          int32_t second) {
  const double days = static_cast<double>(daysFromCivil(year, month, day));
  const double time = (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
  return days >= 0 ? days + time : days - time;
}

}  // namespace velmora::runtime
