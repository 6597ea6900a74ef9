#include "FunctionSupport.h"

#include "engine/JetErrors.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace dao::sql {

void resultError(sqlite3_context* ctx, VbaError e)
{
    const long number = static_cast<long>(e);
    const std::string msg = jet::text(number) + " (error " + std::to_string(number) + ")";
    sqlite3_result_error(ctx, msg.c_str(), -1);
}

bool isNull(sqlite3_value* v)
{
    return sqlite3_value_type(v) == SQLITE_NULL;
}

std::string_view textOf(sqlite3_value* v)
{
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return std::string_view(t ? t : "", static_cast<size_t>(sqlite3_value_bytes(v)));
}

std::string vbaNumberText(double d)
{
    if (d == 0)
        return "0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", d);
    std::string s = buf;
    // "1.5E+20" as VBA writes it; C already gives "E+20"/"E-05".
    return s;
}

std::string vbaText(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return std::to_string(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return vbaNumberText(sqlite3_value_double(v));
    case SQLITE_NULL: return std::string();
    default: return std::string(textOf(v));
    }
}

std::optional<double> numberOf(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return static_cast<double>(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return sqlite3_value_double(v);
    case SQLITE_TEXT: {
        std::string s(textOf(v));
        size_t b = 0, e = s.size();
        while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
            ++b;
        while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
            --e;
        s = s.substr(b, e - b);
        if (s.empty())
            return std::nullopt;
        for (char c : s)
            if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
                return std::nullopt;
        char* end = nullptr;
        const double d = std::strtod(s.c_str(), &end);
        if (end != s.c_str() + s.size())
            return std::nullopt;
        return d;
    }
    default: return std::nullopt;
    }
}

bool isIntegerValue(sqlite3_value* v)
{
    return sqlite3_value_type(v) == SQLITE_INTEGER;
}

double roundHalfEven(double x)
{
    const double r = std::round(x);
    if (std::fabs(x - std::trunc(x)) == 0.5)
        return 2.0 * std::round(x / 2.0);
    return r;
}

void resultText(sqlite3_context* ctx, const std::string& s)
{
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

void resultNumber(sqlite3_context* ctx, double d)
{
    if (std::trunc(d) == d && std::fabs(d) < 9.0e15)
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(d));
    else
        sqlite3_result_double(ctx, d);
}

} // namespace dao::sql
