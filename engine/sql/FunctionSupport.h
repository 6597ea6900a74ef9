#pragma once
// Helpers shared by the SQLite function implementations: reading arguments the
// way VBA converts them and reporting VBA's runtime errors.
#include <sqlite3.h>

#include <optional>
#include <string>
#include <string_view>

namespace dao::sql {

enum class VbaError { InvalidCall = 5, Overflow = 6, DivisionByZero = 11, TypeMismatch = 13, InvalidNull = 94 };

void resultError(sqlite3_context* ctx, VbaError e);
bool isNull(sqlite3_value* v);
std::string_view textOf(sqlite3_value* v); // valid until the value changes
// A value as VBA would show it as a string (numbers with '.' as decimal sign).
std::string vbaText(sqlite3_value* v);
std::string vbaNumberText(double d);
// A number from a numeric value or numeric text; nullopt when not numeric.
std::optional<double> numberOf(sqlite3_value* v);
bool isIntegerValue(sqlite3_value* v);
// Round half to even, as VBA's CLng and Round do.
double roundHalfEven(double x);
void resultText(sqlite3_context* ctx, const std::string& s);
void resultNumber(sqlite3_context* ctx, double d); // integral values as INTEGER

} // namespace dao::sql
