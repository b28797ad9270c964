// The calendar behind the date functions. A date-time is a real: the days since
// 30 December 1899 plus the time of day as a fraction (0.5 is noon). The day is the floor of
// the value, so the value stays linear before 1899 too: adding 1/24 always moves one hour on.
#pragma once

#include <cstdint>
#include <string>

namespace zorvex {

constexpr int64_t kMsPerDay = 86400000;

struct CDateTimeParts {
  int64_t day_number = 0;  // days since 30 December 1899
  int64_t year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

bool IsLeapYear(int64_t year);
int DaysInMonth(int64_t year, int month);
// Proleptic Gregorian day number of a date (month 1..12, day 1..31).
int64_t DayNumber(int64_t year, int month, int day);

// Year 1 to 9999, month 1 to 12 and a day of that month.
bool IsValidDate(int64_t year, int64_t month, int64_t day);
// Hour 0 to 23, minute and second 0 to 59, or exactly 24:00:00.
bool IsValidTime(int64_t hour, int64_t minute, int64_t second);

// The value to the nearest millisecond, split into its parts. False for NaN, infinities and
// values too far from the present era to be dates (|d| of 1e11 days or more).
bool DecodeDateTime(double d, CDateTimeParts& out);

// d moved by a number of months, the day of month cut to the length of the target month and
// the time of day kept; 0 when d is not a date or the target lies beyond the calendar.
double IncMonths(double d, int64_t months);

// ISO 8601 week number (weeks start on Monday; week 1 holds the year's first Thursday).
int IsoWeek(int64_t day_number);
// 1 = Sunday .. 7 = Saturday.
int Weekday(int64_t day_number);
// 1-based day within its year.
int DayOfYear(int64_t day_number);

// The text forms: "2024-03-05", "14:07:09" and both joined by a space (the time left out at
// exactly midnight). Empty for a value that is not a date.
std::string DateString(double d);
std::string TimeString(double d);
std::string DateTimeString(double d);

// Now, in local time, to the millisecond.
double CurrentDateTime();

}  // namespace zorvex
