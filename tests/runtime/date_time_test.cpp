#include "runtime/date_time.h"

#include <gtest/gtest.h>

namespace velmora::runtime {

void PrintTo(const CalendarFields& f, std::ostream* os) {
  *os << f.year << '-' << f.month << '-' << f.day << ' ' << f.hour << ':' << f.minute << ':'
      << f.second << " weekday " << f.dayOfWeek << " yearday " << f.dayOfYear;
}

namespace {

struct DateCase {
  double dateTime;
  CalendarFields expected;
};

TEST(DateTime, CalendarFieldsOfKnownDates) {
  const DateCase cases[] = {
      {0.0, {1899, 12, 30, 0, 0, 0, 7, 364}},
      {1.5, {1899, 12, 31, 12, 0, 0, 1, 365}},
      {-1.25, {1899, 12, 29, 6, 0, 0, 6, 363}},  // the fraction counts forward
      {45717.0, {2025, 3, 1, 0, 0, 0, 7, 60}},
      {45351.75, {2024, 2, 29, 18, 0, 0, 5, 60}},
      {45657.0, {2024, 12, 31, 0, 0, 0, 3, 366}},
      {2.0 + (13 * 3600 + 5 * 60 + 9) / 86400.0, {1900, 1, 1, 13, 5, 9, 2, 1}},
      {0.99999999, {1899, 12, 31, 0, 0, 0, 1, 365}},  // rounds into the next day
  };
  for (const DateCase& c : cases) EXPECT_EQ(calendarFields(c.dateTime), c.expected) << c.dateTime;
}

TEST(DateTime, ClampsToTheYears100To9999) {
  EXPECT_EQ(clampDateTime(3000000.0), kLatestDateTime);
  EXPECT_EQ(clampDateTime(-1e300), kEarliestDateTime);
  EXPECT_EQ(clampDateTime(12.5), 12.5);
  const CalendarFields latest = calendarFields(3000000.0);
  EXPECT_EQ(latest.year, 9999);
  EXPECT_EQ(latest.month, 12);
  EXPECT_EQ(latest.day, 31);
  EXPECT_EQ(latest.hour, 0);
  const CalendarFields earliest = calendarFields(-700000.0);
  EXPECT_EQ(earliest.year, 100);
  EXPECT_EQ(earliest.month, 1);
  EXPECT_EQ(earliest.day, 1);
  EXPECT_EQ(calendarFields(std::numeric_limits<double>::infinity()).year, 9999);
  EXPECT_EQ(calendarFields(std::numeric_limits<double>::quiet_NaN()).year, 1899);
}

TEST(DateTime, FieldsAndDateTimesAreInverseOverTheWholeRange) {
  int checked = 0;
  for (double day = kEarliestDateTime + 1; day < kLatestDateTime; day += 97.0) {
    const double dateTime = day + (day < 0 ? -0.5 : 0.5);
    const CalendarFields f = calendarFields(dateTime);
    ASSERT_EQ(dateTimeFromFields(f.year, f.month, f.day, f.hour, f.minute, f.second), dateTime)
        << dateTime;
    ASSERT_EQ(f.hour, 12);
    ++checked;
  }
  EXPECT_GT(checked, 36000);
}

}  // namespace
}  // namespace velmora::runtime
