// Date-times: doubles counting days since 1899-12-30 00:00, the fraction being the time of day.
#pragma once

#include <cstdint>

namespace velmora::runtime {

inline constexpr double kEarliestDateTime = -657434.0;  // 0100-01-01
inline constexpr double kLatestDateTime = 2958465.0;    // 9999-12-31

struct CalendarFields {
  int32_t year = 0;
  int32_t month = 0;  // 1 to 12
  int32_t day = 0;    // 1 to 31
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  int32_t dayOfWeek = 0;  // 1 = Sunday to 7 = Saturday
  int32_t dayOfYear = 0;  // 1 to 366

  bool operator==(const CalendarFields&) const = default;
};

// Limits a date-time to the years 100 to 9999.
double clampDateTime(double dateTime);

// The Gregorian calendar fields of a clamped date-time. As with the platform's date type, the
// fraction of a negative date-time counts forward from the start of its day: -1.25 is
// 1899-12-29 06:00. Times are rounded to the nearest second.
CalendarFields calendarFields(double dateTime);

// The date-time of a calendar day and time of day (the inverse of calendarFields).
double dateTimeFromFields(int32_t year, int32_t month, int32_t day, int32_t hour = 0,
                          int32_t minute = 0, int32_t second = 0);

}  // namespace velmora::runtime
