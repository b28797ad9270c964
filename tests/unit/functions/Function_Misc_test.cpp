#include "functions/Function_Misc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

#include "Function_Test_Call.h"
#include "functions/Function_Misc_Date.h"

namespace zorvex {
namespace {

using testing::FunctionCaller;

// Day numbers worked out by hand: 30 Dec 1899 is day 0, 1 Jan 1900 day 2, and 1 Jan 2000 is
// 2 + 365 (1900, no leap year) + 99 * 365 + 24 leap days (1904..1996) = 36526.
constexpr double kJan1st2000 = 36526;

class Calendar : public ::testing::Test {
 protected:
  double Date(double y, double m, double d) { return f.Real("date_create_date", {y, m, d}); }
  double DateTime(double y, double mo, double d, double h, double mi, double s) {
    return f.Real("date_create_datetime", {y, mo, d, h, mi, s});
  }
  double Get(const char* part, double d) { return f.Real(std::string("date_get_") + part, {d}); }
  // "2000-02-29 10:30:00" style, through the string function.
  std::string Text(double d) { return f.Text("date_datetime_string", {d}); }

  FunctionCaller f;
};

TEST_F(Calendar, RegisteredInOrderWithTheirArgumentCounts) {
  const std::vector<std::pair<const char*, int>> expected = {
      {"date_current_datetime", 0},
      {"date_current_date", 0},
      {"date_current_time", 0},
      {"date_create_datetime", 6},
      {"date_create_date", 3},
      {"date_create_time", 3},
      {"date_valid_datetime", 6},
      {"date_valid_date", 3},
      {"date_valid_time", 3},
      {"date_inc_year", 2},
      {"date_inc_month", 2},
      {"date_inc_week", 2},
      {"date_inc_day", 2},
      {"date_inc_hour", 2},
      {"date_inc_minute", 2},
      {"date_inc_second", 2},
      {"date_get_year", 1},
      {"date_get_month", 1},
      {"date_get_day", 1},
      {"date_get_hour", 1},
      {"date_get_minute", 1},
      {"date_get_second", 1},
      {"date_get_week", 1},
      {"date_get_weekday", 1},
      {"date_get_day_of_year", 1},
      {"date_get_hour_of_year", 1},
      {"date_get_minute_of_year", 1},
      {"date_get_second_of_year", 1},
      {"date_year_span", 2},
      {"date_month_span", 2},
      {"date_week_span", 2},
      {"date_day_span", 2},
      {"date_hour_span", 2},
      {"date_minute_span", 2},
      {"date_second_span", 2},
      {"date_compare_datetime", 2},
      {"date_compare_date", 2},
      {"date_compare_time", 2},
      {"date_date_of", 1},
      {"date_time_of", 1},
      {"date_datetime_string", 1},
      {"date_date_string", 1},
      {"date_time_string", 1},
      {"date_days_in_month", 1},
      {"date_days_in_year", 1},
      {"date_leap_year", 1},
      {"date_is_today", 1},
  };
  int32_t first = f.game.functions.Find("date_current_datetime");
  ASSERT_GE(first, 0);
  for (size_t i = 0; i < expected.size(); ++i) {
    const FunctionEntry* e = f.game.functions.Entry(first + static_cast<int32_t>(i));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->name, expected[i].first);
    EXPECT_EQ(e->argc, expected[i].second) << e->name;
  }
}

TEST_F(Calendar, CreatingDates) {
  EXPECT_EQ(Date(1899, 12, 30), 0);
  EXPECT_EQ(Date(1900, 1, 1), 2);
  EXPECT_EQ(Date(2000, 1, 1), kJan1st2000);
  EXPECT_EQ(Date(2000, 2, 29), kJan1st2000 + 31 + 28);
  EXPECT_EQ(Date(2000, 3, 1), kJan1st2000 + 31 + 29);
  EXPECT_EQ(Date(1999, 12, 31), kJan1st2000 - 1);
  EXPECT_EQ(Date(1, 1, 1), -693593);
  EXPECT_EQ(Date(9999, 12, 31), 2958465);
  EXPECT_EQ(Date(2000.4, 0.6, 1.5), kJan1st2000 + 1);  // arguments are rounded, halves to even
  EXPECT_EQ(f.Real("date_create_time", {12.0, 0.0, 0.0}), 0.5);
  EXPECT_EQ(f.Real("date_create_time", {6.0, 0.0, 0.0}), 0.25);
  EXPECT_EQ(f.Real("date_create_time", {24.0, 0.0, 0.0}), 1);
  EXPECT_EQ(f.Real("date_create_time", {0.0, 0.0, 1.0}), 1.0 / 86400);
  EXPECT_EQ(DateTime(2000, 1, 1, 18, 0, 0), kJan1st2000 + 0.75);
  EXPECT_EQ(DateTime(1999, 12, 31, 24, 0, 0), kJan1st2000);
}

TEST_F(Calendar, InvalidDatesGiveZero) {
  EXPECT_EQ(Date(2001, 2, 29), 0);  // not a leap year
  EXPECT_EQ(Date(1900, 2, 29), 0);  // centuries are not, unless divisible by 400
  EXPECT_EQ(Date(2020, 4, 31), 0);
  EXPECT_EQ(Date(2020, 13, 1), 0);
  EXPECT_EQ(Date(2020, 0, 5), 0);
  EXPECT_EQ(Date(2020, 1, 0), 0);
  EXPECT_EQ(Date(0, 1, 1), 0);
  EXPECT_EQ(Date(10000, 1, 1), 0);
  EXPECT_EQ(DateTime(2000, 1, 1, 24, 0, 1), 0);
  EXPECT_EQ(DateTime(2000, 2, 30, 12, 0, 0), 0);
  EXPECT_EQ(f.Real("date_create_time", {23.0, 60.0, 0.0}), 0);
  EXPECT_EQ(f.Real("date_valid_date", {2004.0, 2.0, 29.0}), 1);
  EXPECT_EQ(f.Real("date_valid_date", {2001.0, 2.0, 29.0}), 0);
  EXPECT_EQ(f.Real("date_valid_time", {24.0, 0.0, 0.0}), 1);
  EXPECT_EQ(f.Real("date_valid_time", {24.0, 0.0, 1.0}), 0);
  EXPECT_EQ(f.Real("date_valid_time", {24.0, 1.0, 0.0}), 0);
  EXPECT_EQ(f.Real("date_valid_time", {23.0, 59.0, 59.0}), 1);
  EXPECT_EQ(f.Real("date_valid_time", {-1.0, 0.0, 0.0}), 0);
  EXPECT_EQ(f.Real("date_valid_time", {0.0, 0.0, 60.0}), 0);
  EXPECT_EQ(f.Real("date_valid_datetime", {2000.0, 2.0, 29.0, 24.0, 0.0, 0.0}), 1);
  EXPECT_EQ(f.Real("date_valid_datetime", {2000.0, 2.0, 30.0, 0.0, 0.0, 0.0}), 0);
  EXPECT_EQ(f.Real("date_valid_datetime", {2000.0, 2.0, 28.0, 0.0, 61.0, 0.0}), 0);
}

TEST_F(Calendar, PartsOfADate) {
  // Thursday 29 February 2024, 13:45:30: day 60 of its year, ISO week 9.
  double d = DateTime(2024, 2, 29, 13, 45, 30);
  EXPECT_EQ(Get("year", d), 2024);
  EXPECT_EQ(Get("month", d), 2);
  EXPECT_EQ(Get("day", d), 29);
  EXPECT_EQ(Get("hour", d), 13);
  EXPECT_EQ(Get("minute", d), 45);
  EXPECT_EQ(Get("second", d), 30);
  EXPECT_EQ(Get("weekday", d), 5);
  EXPECT_EQ(Get("week", d), 9);
  EXPECT_EQ(Get("day_of_year", d), 60);
  EXPECT_EQ(Get("hour_of_year", d), 59 * 24 + 13);
  EXPECT_EQ(Get("minute_of_year", d), (59 * 24 + 13) * 60 + 45);
  EXPECT_EQ(Get("second_of_year", d), ((59 * 24 + 13) * 60 + 45) * 60 + 30);
  EXPECT_EQ(Get("day_of_year", Date(2023, 12, 31)), 365);
  EXPECT_EQ(Get("day_of_year", Date(2024, 12, 31)), 366);
  EXPECT_EQ(Get("hour_of_year", Date(2024, 1, 1)), 0);
}

TEST_F(Calendar, WeekdaysAndIsoWeeks) {
  EXPECT_EQ(Get("weekday", 0), 7);  // 30 December 1899 was a Saturday
  EXPECT_EQ(Get("weekday", 1), 1);
  EXPECT_EQ(Get("weekday", kJan1st2000), 7);
  EXPECT_EQ(Get("weekday", Date(2024, 1, 7)), 1);
  EXPECT_EQ(Get("weekday", Date(2024, 1, 8)), 2);
  EXPECT_EQ(Get("weekday", -1), 6);
  EXPECT_EQ(Get("weekday", -7), 7);
  // Week 1 holds the year's first Thursday; the days before it belong to the last week of the
  // year before, and the last days of December may fall into week 1.
  EXPECT_EQ(Get("week", Date(2021, 1, 1)), 53);    // a Friday
  EXPECT_EQ(Get("week", Date(2020, 12, 31)), 53);  // a Thursday
  EXPECT_EQ(Get("week", Date(2018, 12, 31)), 1);   // a Monday
  EXPECT_EQ(Get("week", Date(2016, 1, 3)), 53);    // a Sunday
  EXPECT_EQ(Get("week", Date(2016, 1, 4)), 1);     // the Monday after
  EXPECT_EQ(Get("week", Date(2026, 1, 1)), 1);     // a Thursday
  EXPECT_EQ(Get("week", kJan1st2000), 52);         // a Saturday
}

TEST_F(Calendar, MovingByMonthsAndYearsCutsTheDay) {
  EXPECT_EQ(f.Real("date_inc_month", {Date(2001, 1, 31), 1.0}), Date(2001, 2, 28));
  EXPECT_EQ(f.Real("date_inc_month", {Date(2000, 1, 31), 1.0}), Date(2000, 2, 29));
  EXPECT_EQ(f.Real("date_inc_month", {Date(2000, 3, 31), -1.0}), Date(2000, 2, 29));
  EXPECT_EQ(f.Real("date_inc_month", {Date(2000, 1, 31), 3.0}), Date(2000, 4, 30));
  EXPECT_EQ(f.Real("date_inc_month", {Date(2000, 1, 15), -13.0}), Date(1998, 12, 15));
  EXPECT_EQ(f.Real("date_inc_month", {Date(2000, 1, 15), 1.5}), Date(2000, 3, 15));
  EXPECT_EQ(f.Real("date_inc_month", {Date(2000, 1, 15), 0.0}), Date(2000, 1, 15));
  // Across the year, keeping the time of day.
  EXPECT_EQ(Text(f.Real("date_inc_month", {DateTime(2000, 12, 15, 10, 30, 0), 1.0})),
            "2001-01-15 10:30:00");
  EXPECT_EQ(f.Real("date_inc_year", {Date(2000, 2, 29), 1.0}), Date(2001, 2, 28));
  EXPECT_EQ(f.Real("date_inc_year", {Date(2000, 2, 29), 4.0}), Date(2004, 2, 29));
  EXPECT_EQ(f.Real("date_inc_year", {Date(2000, 2, 29), -1.0}), Date(1999, 2, 28));
  EXPECT_EQ(f.Real("date_inc_year", {Date(2000, 2, 29), 100.0}), Date(2100, 2, 28));
  EXPECT_EQ(Text(f.Real("date_inc_year", {DateTime(1999, 6, 1, 23, 59, 59), 2.0})),
            "2001-06-01 23:59:59");
  EXPECT_EQ(f.Real("date_inc_year", {std::nan(""), 1.0}), 0);
  EXPECT_EQ(f.Real("date_inc_month", {1e300, 1.0}), 0);
  EXPECT_EQ(f.Real("date_inc_year", {kJan1st2000, 1e18}), 0);
}

TEST_F(Calendar, MovingByFixedUnits) {
  EXPECT_EQ(f.Real("date_inc_day", {Date(1999, 12, 31), 1.0}), kJan1st2000);
  EXPECT_EQ(f.Real("date_inc_day", {Date(2000, 3, 1), -1.0}), Date(2000, 2, 29));
  EXPECT_EQ(f.Real("date_inc_day", {kJan1st2000, 1.5}), kJan1st2000 + 2);  // rounded
  EXPECT_EQ(f.Real("date_inc_week", {Date(2000, 2, 26), 1.0}), Date(2000, 3, 4));
  EXPECT_EQ(f.Real("date_inc_hour", {kJan1st2000, 36.0}), kJan1st2000 + 1.5);
  EXPECT_EQ(f.Real("date_inc_minute", {kJan1st2000, -720.0}), kJan1st2000 - 0.5);
  EXPECT_EQ(Text(f.Real("date_inc_second", {DateTime(1999, 12, 31, 23, 59, 59), 1.0})),
            "2000-01-01");
  EXPECT_EQ(Text(f.Real("date_inc_hour", {DateTime(2000, 2, 28, 23, 0, 0), 2.0})),
            "2000-02-29 01:00:00");
}

TEST_F(Calendar, DaysInMonthAndYear) {
  EXPECT_EQ(f.Real("date_days_in_month", {Date(2000, 2, 10)}), 29);
  EXPECT_EQ(f.Real("date_days_in_month", {Date(1900, 2, 10)}), 28);
  EXPECT_EQ(f.Real("date_days_in_month", {Date(2023, 2, 10)}), 28);
  EXPECT_EQ(f.Real("date_days_in_month", {Date(2023, 4, 10)}), 30);
  EXPECT_EQ(f.Real("date_days_in_month", {Date(2023, 12, 31) + 0.9}), 31);
  EXPECT_EQ(f.Real("date_days_in_year", {Date(1900, 6, 1)}), 365);
  EXPECT_EQ(f.Real("date_days_in_year", {Date(2000, 6, 1)}), 366);
  EXPECT_EQ(f.Real("date_leap_year", {Date(2024, 1, 1)}), 1);
  EXPECT_EQ(f.Real("date_leap_year", {Date(2100, 1, 1)}), 0);
  EXPECT_EQ(f.Real("date_leap_year", {Date(2400, 1, 1)}), 1);
}

TEST_F(Calendar, Spans) {
  double a = Date(2000, 1, 1);
  double b = Date(2001, 1, 1);
  EXPECT_EQ(f.Real("date_day_span", {a, b}), 366);
  EXPECT_EQ(f.Real("date_day_span", {b, a}), 366);
  EXPECT_EQ(f.Real("date_year_span", {b, a}), 366 / 365.25);
  EXPECT_EQ(f.Real("date_month_span", {0.0, 30.4375}), 1);
  EXPECT_EQ(f.Real("date_week_span", {14.0, 0.0}), 2);
  EXPECT_EQ(f.Real("date_hour_span", {0.0, 0.5}), 12);
  EXPECT_EQ(f.Real("date_minute_span", {0.25, 0.0}), 360);
  EXPECT_EQ(f.Real("date_second_span", {1.0, 0.0}), 86400);
}

TEST_F(Calendar, Comparing) {
  double d = DateTime(2010, 5, 6, 7, 8, 9);
  EXPECT_EQ(f.Real("date_compare_datetime", {d, d + 0.000000001}), 0);
  EXPECT_EQ(f.Real("date_compare_datetime", {d, d + 2.0 / 86400000}), -1);
  EXPECT_EQ(f.Real("date_compare_datetime", {d + 2.0 / 86400000, d}), 1);
  EXPECT_EQ(f.Real("date_compare_date", {10.9, 10.1}), 0);
  EXPECT_EQ(f.Real("date_compare_date", {10.9, 11.0}), -1);
  EXPECT_EQ(f.Real("date_compare_date", {12.0, 11.99}), 1);
  EXPECT_EQ(f.Real("date_compare_time", {10.25, 3.25}), 0);
  EXPECT_EQ(f.Real("date_compare_time", {10.25, 3.5}), -1);
  EXPECT_EQ(f.Real("date_compare_time", {3.5, 10.25}), 1);
  EXPECT_EQ(f.Real("date_date_of", {kJan1st2000 + 0.75}), kJan1st2000);
  EXPECT_EQ(f.Real("date_time_of", {kJan1st2000 + 0.75}), 0.75);
}

// The day is the floor of the value, so dates before 30 December 1899 stay linear: -1.25 is
// 28 December 1899 at 18:00 and an hour later is 19:00.
TEST_F(Calendar, DatesBefore1900AreLinear) {
  EXPECT_EQ(f.Real("date_date_of", {-1.25}), -2);
  EXPECT_EQ(f.Real("date_time_of", {-1.25}), 0.75);
  EXPECT_EQ(Get("day", -1.25), 28);
  EXPECT_EQ(Get("hour", -1.25), 18);
  EXPECT_EQ(Get("hour", f.Real("date_inc_hour", {-1.25, 1.0})), 19);
  EXPECT_EQ(DateTime(1899, 12, 28, 18, 0, 0), -1.25);
  EXPECT_EQ(Text(-1.25), "1899-12-28 18:00:00");
  EXPECT_EQ(Text(Date(1, 1, 1)), "0001-01-01");
}

TEST_F(Calendar, TimesRoundToTheMillisecond) {
  // 10:00:59.9996 is 10:01:00.000 to the millisecond.
  double d = kJan1st2000 + 36059.9996 / 86400;
  EXPECT_EQ(Get("minute", d), 1);
  EXPECT_EQ(Get("second", d), 0);
  // 23:59:59.9999 is midnight of the next day.
  double late = kJan1st2000 + 86399.9999 / 86400;
  EXPECT_EQ(Get("day", late), 2);
  EXPECT_EQ(Get("hour", late), 0);
  // Milliseconds below a second are dropped from the second.
  EXPECT_EQ(Get("second", kJan1st2000 + 10.7 / 86400), 10);
}

TEST_F(Calendar, Text) {
  EXPECT_EQ(Text(kJan1st2000 + 0.5), "2000-01-01 12:00:00");
  EXPECT_EQ(Text(kJan1st2000), "2000-01-01");  // no time at midnight
  EXPECT_EQ(f.Text("date_date_string", {kJan1st2000 + 0.75}), "2000-01-01");
  EXPECT_EQ(f.Text("date_time_string", {kJan1st2000 + 0.75}), "18:00:00");
  EXPECT_EQ(f.Text("date_time_string", {0.5 + 1.0 / 86400}), "12:00:01");
  EXPECT_EQ(f.Text("date_time_string", {kJan1st2000}), "00:00:00");
}

TEST_F(Calendar, ValuesThatAreNoDates) {
  const double kInf = std::numeric_limits<double>::infinity();
  for (double d : {std::nan(""), kInf, -kInf, 1e300, -1e11}) {
    EXPECT_EQ(Get("year", d), 0);
    EXPECT_EQ(Get("week", d), 0);
    EXPECT_EQ(f.Real("date_days_in_year", {d}), 0);
    EXPECT_EQ(f.Real("date_is_today", {d}), 0);
    EXPECT_EQ(Text(d), "");
  }
  EXPECT_EQ(f.TakeError(), "");
}

TEST_F(Calendar, Now) {
  double now, today, time, after;
  do {  // read again if midnight passed in between
    now = f.Real("date_current_datetime", {});
    today = f.Real("date_current_date", {});
    time = f.Real("date_current_time", {});
    after = f.Real("date_current_datetime", {});
  } while (std::floor(now) != std::floor(after));
  EXPECT_EQ(today, std::floor(now));
  EXPECT_GE(time, now - today);
  EXPECT_LE(time, after - today);
  EXPECT_LT(time, 1);
  EXPECT_GE(Get("year", now), 2024);
  EXPECT_EQ(f.Real("date_is_today", {now}), 1);
  EXPECT_EQ(f.Real("date_is_today", {today + 0.99}), 1);
  EXPECT_EQ(f.Real("date_is_today", {today - 0.01}), 0);
  EXPECT_EQ(f.Real("date_is_today", {today + 1}), 0);
  // The local calendar agrees with the system's.
  time_t t = std::time(nullptr);
  tm local{};
  localtime_r(&t, &local);
  double system_today = Date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  EXPECT_LE(std::fabs(system_today - today), 1);
}

TEST(CalendarArithmetic, DayNumbersRoundTripAcrossTheWholeCalendar) {
  // Every day from 1 January 1 to 31 December 9999 decodes to the date that encodes it.
  int64_t expected = DayNumber(1, 1, 1);
  for (int64_t y = 1; y <= 9999; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= DaysInMonth(y, m); ++d) {
        ASSERT_EQ(DayNumber(y, m, d), expected) << y << "-" << m << "-" << d;
        CDateTimeParts p;
        ASSERT_TRUE(DecodeDateTime(static_cast<double>(expected), p));
        ASSERT_EQ(p.year, y);
        ASSERT_EQ(p.month, m);
        ASSERT_EQ(p.day, d);
        ++expected;
      }
    }
  }
  EXPECT_EQ(expected - 1, 2958465);
}

}  // namespace
}  // namespace zorvex
