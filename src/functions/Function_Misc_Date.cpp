#include "functions/Function_Misc_Date.h"

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zorvex {

namespace {

constexpr double kMaxDays = 1e11;
constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// Day number of 1 January 1970 counted from 30 December 1899.
constexpr int64_t kUnixEpochDay = 25569;

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date, by eras of 400 years.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  int64_t era = FloorDiv(y, 400);
  int64_t yoe = y - era * 400;                                    // [0, 399]
  int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;  // [0, 365]
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;            // [0, 146096]
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int& m, int& d) {
  z += 719468;
  int64_t era = FloorDiv(z, 146097);
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2);
}

}  // namespace

bool IsLeapYear(int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int64_t year, int month) {
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kMonthDays[month - 1];
}

int64_t DayNumber(int64_t year, int month, int day) {
  return DaysFromCivil(year, month, day) + kUnixEpochDay;
}

bool IsValidDate(int64_t year, int64_t month, int64_t day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, static_cast<int>(month));
}

bool IsValidTime(int64_t hour, int64_t minute, int64_t second) {
  if (hour == 24) return minute == 0 && second == 0;
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

bool DecodeDateTime(double d, CDateTimeParts& out) {
  if (!(std::fabs(d) < kMaxDays)) return false;
  auto total_ms = static_cast<int64_t>(std::llround(d * static_cast<double>(kMsPerDay)));
  out.day_number = FloorDiv(total_ms, kMsPerDay);
  int64_t ms = total_ms - out.day_number * kMsPerDay;
  CivilFromDays(out.day_number - kUnixEpochDay, out.year, out.month, out.day);
  out.hour = static_cast<int>(ms / 3600000);
  out.minute = static_cast<int>(ms / 60000 % 60);
  out.second = static_cast<int>(ms / 1000 % 60);
  out.millisecond = static_cast<int>(ms % 1000);
  return true;
}

double IncMonths(double d, int64_t months) {
  CDateTimeParts p;
  // 1e9 years either way is far past any date and keeps the arithmetic inside 64 bits.
  constexpr int64_t kMaxMonths = int64_t{12} * 1000000000;
  if (!DecodeDateTime(d, p) || months > kMaxMonths || months < -kMaxMonths) return 0.0;
  int64_t index = p.year * 12 + (p.month - 1) + months;
  int64_t year = FloorDiv(index, 12);
  int month = static_cast<int>(index - year * 12) + 1;
  int day = std::min(p.day, DaysInMonth(year, month));
  int64_t ms = ((p.hour * 60 + p.minute) * 60 + p.second) * 1000 + p.millisecond;
  return static_cast<double>(DayNumber(year, month, day)) +
         static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

int Weekday(int64_t day_number) {
  // Day 0, 30 December 1899, was a Saturday.
  return static_cast<int>(day_number - 1 - FloorDiv(day_number - 1, 7) * 7) + 1;
}

int DayOfYear(int64_t day_number) {
  int64_t y;
  int m, d;
  CivilFromDays(day_number - kUnixEpochDay, y, m, d);
  return static_cast<int>(day_number - DayNumber(y, 1, 1)) + 1;
}

int IsoWeek(int64_t day_number) {
  int iso_weekday = Weekday(day_number) == 1 ? 7 : Weekday(day_number) - 1;  // Monday 1
  int64_t thursday = day_number - iso_weekday + 4;
  return (DayOfYear(thursday) - 1) / 7 + 1;
}

namespace {

void AppendDate(std::string& out, const CDateTimeParts& p) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04lld-%02d-%02d", static_cast<long long>(p.year), p.month,
                p.day);
  out += buf;
}

void AppendTime(std::string& out, const CDateTimeParts& p) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.hour, p.minute, p.second);
  out += buf;
}

}  // namespace

std::string DateString(double d) {
  CDateTimeParts p;
  std::string s;
  if (DecodeDateTime(d, p)) AppendDate(s, p);
  return s;
}

std::string TimeString(double d) {
  CDateTimeParts p;
  std::string s;
  if (DecodeDateTime(d, p)) AppendTime(s, p);
  return s;
}

std::string DateTimeString(double d) {
  CDateTimeParts p;
  std::string s;
  if (!DecodeDateTime(d, p)) return s;
  AppendDate(s, p);
  if (p.hour != 0 || p.minute != 0 || p.second != 0 || p.millisecond != 0) {
    s.push_back(' ');
    AppendTime(s, p);
  }
  return s;
}

double CurrentDateTime() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  time_t seconds = ts.tv_sec;
  localtime_r(&seconds, &local);
  int64_t day = DayNumber(local.tm_year + int64_t{1900}, local.tm_mon + 1, local.tm_mday);
  // A leap second shows as :60; fold it into :59.
  int64_t ms =
      ((local.tm_hour * int64_t{60} + local.tm_min) * 60 + std::min(local.tm_sec, 59)) * 1000 +
      ts.tv_nsec / 1000000;
  return static_cast<double>(day) + static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

}  // namespace zorvex
