// Date functions (dates are REAL days since 1899-12-30) and Format.
#include "JetFunctions.h"

#include "FunctionSupport.h"
#include "JetDate.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace dao::sql {

namespace {

constexpr long long kEpochDays = -25569;

// A date argument: a number is a date already, text is read as CDate reads it.
std::optional<double> dateArg(sqlite3_context* ctx, sqlite3_value* v)
{
    if (sqlite3_value_type(v) == SQLITE_TEXT) {
        if (auto d = parseDateText(textOf(v)))
            return d;
    }
    if (auto d = numberOf(v))
        return d;
    resultError(ctx, VbaError::TypeMismatch);
    return std::nullopt;
}

std::optional<DateParts> partsArg(sqlite3_context* ctx, sqlite3_value* v)
{
    const auto d = dateArg(ctx, v);
    if (!d)
        return std::nullopt;
    DateParts p;
    if (!jetDateToParts(*d, p)) {
        resultError(ctx, VbaError::Overflow);
        return std::nullopt;
    }
    return p;
}

void resultDate(sqlite3_context* ctx, double d)
{
    DateParts p;
    if (!jetDateToParts(d, p))
        return resultError(ctx, VbaError::Overflow);
    sqlite3_result_double(ctx, d);
}

double nowValue()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    DateParts p{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    return jetDateFromParts(p);
}

void fnNow(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_double(ctx, nowValue()); }
void fnDate(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_double(ctx, std::trunc(nowValue())); }
void fnTime(sqlite3_context* ctx, int, sqlite3_value**)
{
    const double n = nowValue();
    sqlite3_result_double(ctx, n - std::trunc(n));
}

void fnCdate(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return resultError(ctx, VbaError::InvalidNull);
    if (const auto d = dateArg(ctx, argv[0]))
        resultDate(ctx, *d);
}

// A value stored into a Date column: text that reads as a date becomes that date,
// anything else stays as it is (for the column's rules to take or refuse).
void fnTodate(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT)
        if (const auto d = parseDateText(textOf(argv[0])))
            return sqlite3_result_double(ctx, *d);
    sqlite3_result_value(ctx, argv[0]);
}

void fnDatevalue(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (const auto d = dateArg(ctx, argv[0]))
        resultDate(ctx, std::trunc(*d));
}

void fnTimevalue(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (const auto d = dateArg(ctx, argv[0]))
        sqlite3_result_double(ctx, std::fabs(*d - std::trunc(*d)));
}

template <int DateParts::*Field>
void partFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (const auto p = partsArg(ctx, argv[0]))
        sqlite3_result_int(ctx, (*p).*Field);
}

int weekdayFrom(double d, int firstDay)
{
    if (firstDay < 1 || firstDay > 7)
        firstDay = 1;
    return (weekdayOf(d) - firstDay + 7) % 7 + 1;
}

void fnWeekday(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto d = dateArg(ctx, argv[0]);
    if (!d)
        return;
    DateParts p;
    if (!jetDateToParts(*d, p))
        return resultError(ctx, VbaError::Overflow);
    const int first = argc > 1 && !isNull(argv[1]) ? sqlite3_value_int(argv[1]) : 1;
    sqlite3_result_int(ctx, weekdayFrom(*d, first == 0 ? 1 : first));
}

// Days since 1899-12-30 of year/month/day, months and days allowed to overflow.
std::optional<double> serialDate(long long y, long long m, long long d)
{
    // Far outside years 100..9999 whatever the overflow: refuse before the arithmetic.
    if (y < -100000 || y > 100000 || m < -1000000 || m > 1000000 || d < -10000000 || d > 10000000)
        return std::nullopt;
    if (y >= 0 && y < 30)
        y += 2000;
    else if (y >= 30 && y < 100)
        y += 1900;
    y += (m - 1 >= 0) ? (m - 1) / 12 : -((12 - m) / 12);
    m = ((m - 1) % 12 + 12) % 12 + 1;
    if (y < 100 || y > 9999)
        return std::nullopt;
    const double days = static_cast<double>(daysFromCivil(static_cast<int>(y), static_cast<int>(m), 1) - kEpochDays + d - 1);
    if (days < -657434.0 || days > 2958465.0)
        return std::nullopt;
    return days;
}

void fnDateserial(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    for (int i = 0; i < 3; ++i)
        if (isNull(argv[i]))
            return sqlite3_result_null(ctx);
    long long v[3];
    for (int i = 0; i < 3; ++i) {
        const auto d = numberOf(argv[i]);
        if (!d)
            return resultError(ctx, VbaError::TypeMismatch);
        if (!(std::fabs(*d) < 1e12))
            return resultError(ctx, VbaError::InvalidCall);
        v[i] = static_cast<long long>(roundHalfEven(*d));
    }
    const auto r = serialDate(v[0], v[1], v[2]);
    if (!r)
        return resultError(ctx, VbaError::InvalidCall);
    sqlite3_result_double(ctx, *r);
}

void fnTimeserial(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double secs = 0;
    static constexpr double unit[3] = {3600, 60, 1};
    for (int i = 0; i < 3; ++i) {
        if (isNull(argv[i]))
            return sqlite3_result_null(ctx);
        const auto d = numberOf(argv[i]);
        if (!d)
            return resultError(ctx, VbaError::TypeMismatch);
        secs += roundHalfEven(*d) * unit[i];
    }
    const double days = std::floor(secs / 86400.0);
    const double frac = (secs - days * 86400.0) / 86400.0;
    sqlite3_result_double(ctx, days < 0 ? days - frac : days + frac);
}

std::string lower(std::string_view s)
{
    std::string out(s);
    for (auto& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Seconds since 1899-12-30 00:00 on a straight line (Jet's negative dates unfolded).
long long linearSeconds(const DateParts& p)
{
    return (daysFromCivil(p.year, p.month, p.day) - kEpochDays) * 86400LL + p.hour * 3600 + p.minute * 60 + p.second;
}

double fromLinearSeconds(long long s)
{
    const long long days = s >= 0 ? s / 86400 : -((-s + 86399) / 86400);
    const double frac = static_cast<double>(s - days * 86400) / 86400.0;
    return days < 0 ? static_cast<double>(days) - frac : static_cast<double>(days) + frac;
}

void fnDateadd(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return resultError(ctx, VbaError::InvalidNull);
    if (isNull(argv[1]) || isNull(argv[2]))
        return sqlite3_result_null(ctx);
    const std::string interval = lower(textOf(argv[0]));
    const auto nd = numberOf(argv[1]);
    if (!nd)
        return resultError(ctx, VbaError::TypeMismatch);
    if (!(std::fabs(*nd) < 1e10))
        return resultError(ctx, VbaError::InvalidCall);
    const long long n = static_cast<long long>(std::trunc(*nd));
    const auto p = partsArg(ctx, argv[2]);
    if (!p)
        return;
    long long months = 0, seconds = 0;
    if (interval == "yyyy")
        months = 12 * n;
    else if (interval == "q")
        months = 3 * n;
    else if (interval == "m")
        months = n;
    else if (interval == "d" || interval == "y" || interval == "w")
        seconds = 86400 * n;
    else if (interval == "ww")
        seconds = 7 * 86400 * n;
    else if (interval == "h")
        seconds = 3600 * n;
    else if (interval == "n")
        seconds = 60 * n;
    else if (interval == "s")
        seconds = n;
    else
        return resultError(ctx, VbaError::InvalidCall);
    DateParts q = *p;
    if (months != 0) {
        long long total = q.year * 12LL + (q.month - 1) + months;
        if (total < 100 * 12 || total > 9999 * 12 + 11)
            return resultError(ctx, VbaError::InvalidCall);
        q.year = static_cast<int>(total / 12);
        q.month = static_cast<int>(total % 12) + 1;
        while (!isValidDate(q.year, q.month, q.day))
            --q.day; // 31 January plus a month is the last of February
    }
    const double r = fromLinearSeconds(linearSeconds(q) + seconds);
    DateParts check;
    if (!jetDateToParts(r, check))
        return resultError(ctx, VbaError::InvalidCall);
    sqlite3_result_double(ctx, r);
}

long long floorDiv(long long a, long long b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

void fnDatediff(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return resultError(ctx, VbaError::InvalidNull);
    if (isNull(argv[1]) || isNull(argv[2]))
        return sqlite3_result_null(ctx);
    const std::string interval = lower(textOf(argv[0]));
    const auto a = partsArg(ctx, argv[1]);
    if (!a)
        return;
    const auto b = partsArg(ctx, argv[2]);
    if (!b)
        return;
    const long long sa = linearSeconds(*a), sb = linearSeconds(*b);
    const long long da = floorDiv(sa, 86400), db = floorDiv(sb, 86400);
    long long r;
    if (interval == "yyyy")
        r = b->year - a->year;
    else if (interval == "q")
        r = (b->year * 4LL + (b->month - 1) / 3) - (a->year * 4LL + (a->month - 1) / 3);
    else if (interval == "m")
        r = (b->year * 12LL + b->month) - (a->year * 12LL + a->month);
    else if (interval == "d" || interval == "y")
        r = db - da;
    else if (interval == "w")
        r = (db - da) / 7;
    else if (interval == "ww") {
        int first = argc > 3 && !isNull(argv[3]) ? sqlite3_value_int(argv[3]) : 1;
        if (first < 1 || first > 7)
            first = 1;
        // Count first-days-of-week crossed: day x starts a week when x + 7 - first is a
        // multiple of 7 (day 0, 1899-12-30, was a Saturday).
        const long long shift = 7 - first;
        r = floorDiv(db + shift, 7) - floorDiv(da + shift, 7);
    } else if (interval == "h")
        r = floorDiv(sb, 3600) - floorDiv(sa, 3600);
    else if (interval == "n")
        r = floorDiv(sb, 60) - floorDiv(sa, 60);
    else if (interval == "s")
        r = sb - sa;
    else
        return resultError(ctx, VbaError::InvalidCall);
    sqlite3_result_int64(ctx, r);
}

void fnDatepart(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return resultError(ctx, VbaError::InvalidNull);
    if (isNull(argv[1]))
        return sqlite3_result_null(ctx);
    const std::string interval = lower(textOf(argv[0]));
    const auto d = dateArg(ctx, argv[1]);
    if (!d)
        return;
    DateParts p;
    if (!jetDateToParts(*d, p))
        return resultError(ctx, VbaError::Overflow);
    int first = argc > 2 && !isNull(argv[2]) ? sqlite3_value_int(argv[2]) : 1;
    if (first < 1 || first > 7)
        first = 1;
    const long long dayOfYear = daysFromCivil(p.year, p.month, p.day) - daysFromCivil(p.year, 1, 1) + 1;
    long long r;
    if (interval == "yyyy")
        r = p.year;
    else if (interval == "q")
        r = (p.month - 1) / 3 + 1;
    else if (interval == "m")
        r = p.month;
    else if (interval == "y")
        r = dayOfYear;
    else if (interval == "d")
        r = p.day;
    else if (interval == "w")
        r = weekdayFrom(*d, first);
    else if (interval == "ww") {
        // Week 1 holds 1 January.
        const double jan1 = static_cast<double>(daysFromCivil(p.year, 1, 1) - kEpochDays);
        r = (dayOfYear - 1 + weekdayFrom(jan1, first) - 1) / 7 + 1;
    } else if (interval == "h")
        r = p.hour;
    else if (interval == "n")
        r = p.minute;
    else if (interval == "s")
        r = p.second;
    else
        return resultError(ctx, VbaError::InvalidCall);
    sqlite3_result_int64(ctx, r);
}

// Format: the named formats and the common date and number codes.

const char* const kMonths[] = {"January", "February", "March", "April", "May", "June", "July",
                               "August", "September", "October", "November", "December"};
const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::string formatDate(double value, std::string_view fmt)
{
    DateParts p;
    if (!jetDateToParts(value, p))
        return vbaNumberText(value);
    std::string out;
    bool lastWasHour = false;
    auto two = [](int v) {
        char b[8];
        std::snprintf(b, sizeof b, "%02d", v);
        return std::string(b);
    };
    for (size_t i = 0; i < fmt.size();) {
        auto run = [&](char c) {
            size_t k = i;
            while (k < fmt.size() && std::tolower(static_cast<unsigned char>(fmt[k])) == c)
                ++k;
            return k - i;
        };
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(fmt[i])));
        if (c == 'y') {
            const size_t n = run('y');
            if (n >= 3)
                out += std::to_string(p.year);
            else if (n == 2)
                out += two(p.year % 100);
            else
                out += std::to_string(daysFromCivil(p.year, p.month, p.day) - daysFromCivil(p.year, 1, 1) + 1);
            i += n;
        } else if (c == 'm') {
            const size_t n = run('m');
            // "m" right after an hour means minutes
            if (lastWasHour && n <= 2)
                out += n == 2 ? two(p.minute) : std::to_string(p.minute);
            else if (n >= 4)
                out += kMonths[p.month - 1];
            else if (n == 3)
                out += std::string(kMonths[p.month - 1]).substr(0, 3);
            else
                out += n == 2 ? two(p.month) : std::to_string(p.month);
            lastWasHour = false;
            i += n;
        } else if (c == 'd') {
            const size_t n = run('d');
            const int wd = weekdayOf(value) - 1;
            if (n >= 4)
                out += kDays[wd];
            else if (n == 3)
                out += std::string(kDays[wd]).substr(0, 3);
            else
                out += n == 2 ? two(p.day) : std::to_string(p.day);
            i += n;
        } else if (c == 'h') {
            const size_t n = run('h');
            out += n >= 2 ? two(p.hour) : std::to_string(p.hour);
            lastWasHour = true;
            i += n;
            continue;
        } else if (c == 'n') {
            const size_t n = run('n');
            out += n >= 2 ? two(p.minute) : std::to_string(p.minute);
            i += n;
        } else if (c == 's') {
            const size_t n = run('s');
            out += n >= 2 ? two(p.second) : std::to_string(p.second);
            i += n;
        } else if (c == 'q') {
            out += std::to_string((p.month - 1) / 3 + 1);
            ++i;
        } else if (c == '\\' && i + 1 < fmt.size()) {
            out += fmt[i + 1];
            i += 2;
        } else if (c == '"') {
            const size_t close = fmt.find('"', i + 1);
            const size_t end = close == std::string_view::npos ? fmt.size() : close;
            out += fmt.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            out += fmt[i];
            ++i;
        }
        if (c != ':' && c != ' ')
            lastWasHour = lastWasHour && (c == ':');
    }
    return out;
}

std::string groupThousands(const std::string& digits)
{
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

std::string formatNumber(double value, std::string_view fmt)
{
    // Sections: positive;negative;zero
    std::vector<std::string_view> sections;
    size_t start = 0;
    while (true) {
        const size_t semi = fmt.find(';', start);
        sections.push_back(fmt.substr(start, semi == std::string_view::npos ? std::string_view::npos : semi - start));
        if (semi == std::string_view::npos)
            break;
        start = semi + 1;
    }
    std::string_view section = sections[0];
    bool negativeSection = false;
    if (value < 0 && sections.size() > 1 && !sections[1].empty()) {
        section = sections[1];
        negativeSection = true;
    } else if (value == 0 && sections.size() > 2 && !sections[2].empty()) {
        section = sections[2];
    }
    double v = negativeSection ? -value : value;
    const bool percent = section.find('%') != std::string_view::npos;
    if (percent)
        v *= 100;
    const size_t dot = section.find('.');
    const std::string_view intPart = section.substr(0, dot);
    int decimals = 0;
    if (dot != std::string_view::npos)
        for (size_t i = dot + 1; i < section.size() && (section[i] == '0' || section[i] == '#'); ++i)
            ++decimals;
    int minInt = 0;
    for (char c : intPart)
        if (c == '0')
            ++minInt;
    const bool thousands = intPart.find(',') != std::string_view::npos;
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(std::fabs(v) * scale) / scale;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, rounded);
    std::string num = buf;
    std::string whole = num.substr(0, num.find('.'));
    std::string frac = decimals > 0 ? num.substr(num.find('.') + 1) : std::string();
    if (dot != std::string_view::npos) // '#' places drop trailing zeros
        for (int i = decimals - 1; i >= 0 && section[dot + 1 + i] == '#' && !frac.empty() && frac.back() == '0'; --i)
            frac.pop_back();
    if (whole == "0" && minInt == 0)
        whole.clear();
    while (static_cast<int>(whole.size()) < minInt)
        whole = "0" + whole;
    if (thousands)
        whole = groupThousands(whole);
    std::string digits = whole + (dot != std::string_view::npos && (!frac.empty() || section.find('.') != std::string_view::npos) ? "." + frac : "");
    if (!frac.empty() || dot == std::string_view::npos) {
    } else if (digits.size() && digits.back() == '.') {
        digits.pop_back();
    }
    // Literal text before and after the digit placeholders is kept.
    const size_t firstPh = section.find_first_of("0#.,");
    const size_t lastPh = section.find_last_of("0#.,");
    std::string out;
    if (value < 0 && !negativeSection && rounded != 0)
        out += "-";
    if (firstPh == std::string_view::npos)
        return std::string(section);
    for (char c : section.substr(0, firstPh))
        if (c != '"' && c != '\\')
            out += c;
    out += digits;
    for (char c : section.substr(lastPh + 1))
        if (c != '"' && c != '\\')
            out += c;
    return out;
}

void fnFormat(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    std::string fmt = argc > 1 && !isNull(argv[1]) ? std::string(textOf(argv[1])) : std::string();
    const std::string named = lower(fmt);
    const auto number = numberOf(argv[0]);
    if (fmt.empty())
        return resultText(ctx, vbaText(argv[0]));
    if (!number) {
        if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
            if (const auto d = parseDateText(textOf(argv[0])))
                return resultText(ctx, formatDate(*d, named == "general date" ? "" : fmt));
        }
        return resultText(ctx, vbaText(argv[0]));
    }
    const double v = *number;
    std::string out;
    if (named == "general number")
        out = vbaText(argv[0]);
    else if (named == "fixed")
        out = formatNumber(v, "0.00");
    else if (named == "standard")
        out = formatNumber(v, "#,##0.00");
    else if (named == "percent")
        out = formatNumber(v, "0.00%");
    else if (named == "currency")
        out = formatNumber(v, "#,##0.00");
    else if (named == "yes/no")
        out = v != 0 ? "Yes" : "No";
    else if (named == "true/false")
        out = v != 0 ? "True" : "False";
    else if (named == "on/off")
        out = v != 0 ? "On" : "Off";
    else if (named == "general date")
        out = formatGeneralDate(v);
    else if (named == "short date")
        out = formatDate(v, "m/d/yyyy");
    else if (named == "medium date")
        out = formatDate(v, "dd-mmm-yy");
    else if (named == "long date")
        out = formatDate(v, "dddd, mmmm d, yyyy");
    else if (named == "short time")
        out = formatDate(v, "hh:nn");
    else if (named == "medium time")
        out = formatDate(v, "hh:nn AM/PM");
    else if (named == "long time")
        out = formatDate(v, "h:nn:ss");
    else if (fmt.find_first_of("0#") != std::string::npos)
        out = formatNumber(v, fmt);
    else if (named.find_first_of("dmyhnsq") != std::string::npos)
        out = formatDate(v, fmt);
    else
        out = formatNumber(v, fmt);
    resultText(ctx, out);
}

struct Entry {
    const char* name;
    int args;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
    bool deterministic;
};

const Entry kDates[] = {
    {"jet_now", 0, fnNow, false}, {"jet_date", 0, fnDate, false}, {"jet_time", 0, fnTime, false},
    {"jet_cdate", 1, fnCdate, true}, {"jet_todate", 1, fnTodate, true}, {"jet_datevalue", 1, fnDatevalue, true},
    {"jet_timevalue", 1, fnTimevalue, true},
    {"jet_year", 1, partFunction<&DateParts::year>, true}, {"jet_month", 1, partFunction<&DateParts::month>, true},
    {"jet_day", 1, partFunction<&DateParts::day>, true}, {"jet_hour", 1, partFunction<&DateParts::hour>, true},
    {"jet_minute", 1, partFunction<&DateParts::minute>, true},
    {"jet_second", 1, partFunction<&DateParts::second>, true}, {"jet_weekday", 1, fnWeekday, true},
    {"jet_weekday", 2, fnWeekday, true}, {"jet_dateserial", 3, fnDateserial, true},
    {"jet_timeserial", 3, fnTimeserial, true}, {"jet_dateadd", 3, fnDateadd, true},
    {"jet_datediff", 3, fnDatediff, true}, {"jet_datediff", 4, fnDatediff, true}, {"jet_datediff", 5, fnDatediff, true},
    {"jet_datepart", 2, fnDatepart, true}, {"jet_datepart", 3, fnDatepart, true}, {"jet_datepart", 4, fnDatepart, true},
    {"jet_format", 1, fnFormat, true}, {"jet_format", 2, fnFormat, true},
};

} // namespace

void registerDateFunctions(sqlite3* db)
{
    for (const auto& e : kDates)
        sqlite3_create_function_v2(db, e.name, e.args, SQLITE_UTF8 | (e.deterministic ? SQLITE_DETERMINISTIC : 0),
                                   nullptr, e.fn, nullptr, nullptr, nullptr);
}

} // namespace dao::sql
