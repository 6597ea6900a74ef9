#include "JetDate.h"

#include "Lexer.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace dao::sql {

namespace {

constexpr long long kEpochDays = -25569; // 1899-12-30 relative to 1970-01-01

int monthFromName(std::string_view w)
{
    static constexpr std::string_view names[] = {"january", "february", "march", "april", "may", "june", "july",
                                                 "august", "september", "october", "november", "december"};
    for (int m = 0; m < 12; ++m) {
        if (sameWord(w, names[m]) || (w.size() == 3 && sameWord(w, names[m].substr(0, 3))))
            return m + 1;
    }
    if (sameWord(w, "sept"))
        return 9;
    return 0;
}

struct Piece {
    bool number = false;
    long value = 0;
    int digits = 0;
    std::string word;
    char sepAfter = ' ';
};

int currentYear()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return tm.tm_year + 1900;
}

int expandYear(const Piece& p)
{
    if (p.digits <= 2)
        return p.value < 30 ? 2000 + static_cast<int>(p.value) : 1900 + static_cast<int>(p.value);
    return static_cast<int>(p.value);
}

// dotDayFirst: "d.m.y" is read day first (the German short date of CDate).
std::optional<double> parseDate(std::string_view text, bool dotDayFirst)
{
    std::vector<Piece> pieces;
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (std::isspace(c)) {
            ++i;
            continue;
        }
        Piece p;
        if (std::isdigit(c)) {
            p.number = true;
            while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
                if (p.digits < 9)
                    p.value = p.value * 10 + (text[i] - '0');
                ++p.digits;
                ++i;
            }
            if (p.digits > 4)
                return std::nullopt;
        } else if (std::isalpha(c)) {
            while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])))
                p.word += text[i++];
        } else {
            return std::nullopt;
        }
        while (i < text.size() && text[i] == ' ')
            ++i;
        if (i < text.size() && std::string_view("/-.,:").find(text[i]) != std::string_view::npos)
            p.sepAfter = text[i++];
        pieces.push_back(std::move(p));
    }
    // Time: numbers joined by ':' and an optional AM/PM.
    DateParts d;
    bool haveTime = false;
    std::vector<Piece> date;
    for (size_t k = 0; k < pieces.size(); ++k) {
        if (!haveTime && pieces[k].number && pieces[k].sepAfter == ':') {
            std::vector<long> t;
            while (k < pieces.size() && pieces[k].number) {
                t.push_back(pieces[k].value);
                if (pieces[k].sepAfter != ':')
                    break;
                ++k;
            }
            if (t.size() < 2 || t.size() > 3 || pieces[k].sepAfter == ':')
                return std::nullopt;
            d.hour = static_cast<int>(t[0]);
            d.minute = static_cast<int>(t[1]);
            d.second = t.size() > 2 ? static_cast<int>(t[2]) : 0;
            haveTime = true;
            if (k + 1 < pieces.size() && (sameWord(pieces[k + 1].word, "AM") || sameWord(pieces[k + 1].word, "PM"))) {
                const bool pm = sameWord(pieces[k + 1].word, "PM");
                if (d.hour < 1 || d.hour > 12)
                    return std::nullopt;
                d.hour = d.hour % 12 + (pm ? 12 : 0);
                ++k;
            }
            continue;
        }
        if (!haveTime && pieces[k].number && k + 1 < pieces.size()
            && (sameWord(pieces[k + 1].word, "AM") || sameWord(pieces[k + 1].word, "PM"))) {
            if (pieces[k].value < 1 || pieces[k].value > 12)
                return std::nullopt;
            d.hour = static_cast<int>(pieces[k].value % 12) + (sameWord(pieces[k + 1].word, "PM") ? 12 : 0);
            haveTime = true;
            ++k;
            continue;
        }
        date.push_back(pieces[k]);
    }
    if (d.hour > 23 || d.minute > 59 || d.second > 59)
        return std::nullopt;
    if (date.empty()) {
        if (!haveTime)
            return std::nullopt;
        return (d.hour * 3600 + d.minute * 60 + d.second) / 86400.0;
    }
    int wordAt = -1;
    for (size_t k = 0; k < date.size(); ++k) {
        if (!date[k].number) {
            if (wordAt >= 0 || monthFromName(date[k].word) == 0)
                return std::nullopt;
            wordAt = static_cast<int>(k);
        }
    }
    if (wordAt >= 0) {
        const int month = monthFromName(date[wordAt].word);
        std::vector<Piece> nums;
        for (size_t k = 0; k < date.size(); ++k)
            if (static_cast<int>(k) != wordAt)
                nums.push_back(date[k]);
        if (nums.size() == 1) {
            d.month = month;
            d.day = static_cast<int>(nums[0].value);
            d.year = currentYear();
        } else if (nums.size() == 2) {
            d.month = month;
            if (nums[0].digits > 2 || nums[0].value > 31) { // "2003 Jan 15"
                d.year = expandYear(nums[0]);
                d.day = static_cast<int>(nums[1].value);
            } else {
                d.day = static_cast<int>(nums[0].value);
                d.year = expandYear(nums[1]);
            }
        } else {
            return std::nullopt;
        }
    } else if (date.size() == 3) {
        if (date[0].digits > 2 || date[0].value > 31) {
            d.year = expandYear(date[0]);
            d.month = static_cast<int>(date[1].value);
            d.day = static_cast<int>(date[2].value);
        } else if (dotDayFirst && date[0].sepAfter == '.') {
            d.day = static_cast<int>(date[0].value);
            d.month = static_cast<int>(date[1].value);
            d.year = expandYear(date[2]);
        } else {
            d.month = static_cast<int>(date[0].value);
            d.day = static_cast<int>(date[1].value);
            d.year = expandYear(date[2]);
        }
    } else if (date.size() == 2) {
        d.year = currentYear();
        if (dotDayFirst && date[0].sepAfter == '.') {
            d.day = static_cast<int>(date[0].value);
            d.month = static_cast<int>(date[1].value);
        } else {
            d.month = static_cast<int>(date[0].value);
            d.day = static_cast<int>(date[1].value);
        }
    } else {
        return std::nullopt;
    }
    if (!isValidDate(d.year, d.month, d.day) || d.year < 100)
        return std::nullopt;
    return jetDateFromParts(d);
}

} // namespace

bool isValidDate(int y, int m, int d)
{
    static constexpr int len[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1)
        return false;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= len[m - 1] + (m == 2 && leap ? 1 : 0);
}

long long daysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

double jetDateFromParts(const DateParts& p)
{
    const double days = static_cast<double>(daysFromCivil(p.year, p.month, p.day) - kEpochDays);
    const double frac = (p.hour * 3600 + p.minute * 60 + p.second) / 86400.0;
    return days < 0 ? days - frac : days + frac;
}

bool jetDateToParts(double value, DateParts& out)
{
    if (!std::isfinite(value) || value < -657434.0 || value >= 2958466.0)
        return false;
    double whole = std::trunc(value);
    long long secs = std::llround(std::fabs(value - whole) * 86400.0);
    if (secs >= 86400) {
        secs -= 86400;
        whole += value < 0 ? -1 : 1;
    }
    long long z = static_cast<long long>(whole) + kEpochDays + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (out.month <= 2));
    out.hour = static_cast<int>(secs / 3600);
    out.minute = static_cast<int>(secs / 60 % 60);
    out.second = static_cast<int>(secs % 60);
    return true;
}

int weekdayOf(double value)
{
    if (!(std::fabs(value) < 1e9))
        return 1;
    const long long days = static_cast<long long>(std::trunc(value));
    // 1899-12-30 was a Saturday (7).
    long long w = (days + 6) % 7;
    if (w < 0)
        w += 7;
    return static_cast<int>(w) + 1;
}

std::optional<double> parseDateLiteral(std::string_view text)
{
    return parseDate(text, false);
}

std::optional<double> parseDateText(std::string_view text)
{
    return parseDate(text, true);
}

std::string formatGeneralDate(double value)
{
    DateParts p;
    if (!jetDateToParts(value, p))
        return realLiteral(value);
    char buf[64];
    std::string out;
    const bool hasDate = std::trunc(value) != 0;
    const bool hasTime = p.hour != 0 || p.minute != 0 || p.second != 0;
    if (hasDate || !hasTime) {
        std::snprintf(buf, sizeof buf, "%d/%d/%04d", p.month, p.day, p.year);
        out = buf;
    }
    if (hasTime) {
        std::snprintf(buf, sizeof buf, "%s%d:%02d:%02d", out.empty() ? "" : " ", p.hour, p.minute, p.second);
        out += buf;
    }
    return out;
}

std::string realLiteral(double value)
{
    if (!std::isfinite(value))
        return "NULL";
    char buf[40];
    for (int prec = 15; prec <= 17; ++prec) {
        std::snprintf(buf, sizeof buf, "%.*g", prec, value);
        if (std::strtod(buf, nullptr) == value)
            break;
    }
    std::string s = buf;
    if (s.find_first_of(".eEn") == std::string::npos)
        s += ".0";
    return s;
}

} // namespace dao::sql
