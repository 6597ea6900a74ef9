#pragma once
// Jet stores a date as a double: whole days since 1899-12-30, the time of day
// as the fraction (for days before 1899-12-30 the fraction still counts forward
// from midnight, so -1.25 is 1899-12-29 06:00).
#include <optional>
#include <string>
#include <string_view>

namespace dao::sql {

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

bool isValidDate(int year, int month, int day);
long long daysFromCivil(int year, int month, int day); // days since 1970-01-01
double jetDateFromParts(const DateParts& p);
// Splits a Jet date value (seconds rounded); false when out of Jet's range (years 100..9999).
bool jetDateToParts(double value, DateParts& out);
int weekdayOf(double value); // 1 = Sunday .. 7 = Saturday

// A #...# literal: month/day/year order always, optional time, month names allowed.
std::optional<double> parseDateLiteral(std::string_view text);
// Text given to CDate/DateValue: ISO, month/day/year with '/', day.month.year with '.'.
std::optional<double> parseDateText(std::string_view text);

// "m/d/yyyy h:nn:ss" (time only when not midnight, date only when not 1899-12-30).
std::string formatGeneralDate(double value);

// Shortest text that reads back as the same double; always with '.' or 'e'.
std::string realLiteral(double value);

} // namespace dao::sql
