#include "engine/Variant.h"

#include "engine/JetErrors.h"
#include "engine/sql/JetDate.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace dao {

Variant Variant::currency(double v)
{
    Variant r;
    r.type_ = VarType::Currency;
    r.d_ = std::round(v * 10000.0) / 10000.0;
    return r;
}

Variant Variant::single(float v)
{
    Variant r;
    r.type_ = VarType::Single;
    r.d_ = v;
    return r;
}

Variant Variant::date(double days)
{
    Variant r;
    r.type_ = VarType::Date;
    r.d_ = days;
    return r;
}

Variant Variant::binary(std::string bytes)
{
    Variant r;
    r.type_ = VarType::Binary;
    r.s_ = std::move(bytes);
    return r;
}

Variant Variant::guid(std::string bytes)
{
    Variant r;
    r.type_ = VarType::Guid;
    r.s_ = std::move(bytes);
    return r;
}

bool Variant::isNumeric() const
{
    switch (type_) {
    case VarType::Boolean: case VarType::Byte: case VarType::Integer: case VarType::Long:
    case VarType::Currency: case VarType::Single: case VarType::Double: case VarType::Date:
        return true;
    default:
        return false;
    }
}

namespace {

bool parseNumber(const std::string& text, double& out)
{
    size_t b = text.find_first_not_of(" \t");
    size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos)
        return false;
    const char* first = text.data() + b;
    const char* last = text.data() + e + 1;
    if (*first == '+')
        ++first;
    auto [ptr, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && ptr == last;
}

} // namespace

double Variant::toDouble() const
{
    switch (type_) {
    case VarType::Null:
        throw jet::typeMismatch();
    case VarType::Boolean: case VarType::Byte: case VarType::Integer: case VarType::Long:
        return static_cast<double>(i_);
    case VarType::Currency: case VarType::Single: case VarType::Double: case VarType::Date:
        return d_;
    case VarType::Text: {
        double d = 0;
        if (parseNumber(s_, d))
            return d;
        if (s_ == "True" || s_ == "true" || s_ == "TRUE")
            return -1;
        if (s_ == "False" || s_ == "false" || s_ == "FALSE")
            return 0;
        throw jet::typeMismatch();
    }
    default:
        throw jet::typeMismatch();
    }
}

std::int64_t Variant::toInt64() const
{
    if (type_ == VarType::Boolean || type_ == VarType::Byte || type_ == VarType::Integer || type_ == VarType::Long)
        return i_;
    double d = std::nearbyint(toDouble()); // banker's rounding, as VBA's CLng
    if (!(d >= -9.2e18 && d <= 9.2e18))
        throw jet::numericOverflow();
    return static_cast<std::int64_t>(d);
}

std::int32_t Variant::toLong() const
{
    std::int64_t v = toInt64();
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw jet::numericOverflow();
    return static_cast<std::int32_t>(v);
}

bool Variant::toBool() const
{
    if (type_ == VarType::Text) {
        if (s_ == "True" || s_ == "true" || s_ == "Yes" || s_ == "On")
            return true;
        if (s_ == "False" || s_ == "false" || s_ == "No" || s_ == "Off")
            return false;
    }
    return toDouble() != 0;
}

std::string formatDouble(double d)
{
    if (std::isnan(d))
        return "NaN";
    if (std::isinf(d))
        return d > 0 ? "Infinity" : "-Infinity";
    char buf[64];
    for (int precision = 15; precision <= 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, d);
        if (std::strtod(buf, nullptr) == d)
            break;
    }
    return buf;
}

// Shortest text that reads back as the same float.
static std::string formatSingle(float f)
{
    if (std::isnan(f) || std::isinf(f))
        return formatDouble(f);
    char buf[64];
    for (int precision = 6; precision <= 9; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, static_cast<double>(f));
        if (std::strtof(buf, nullptr) == f)
            break;
    }
    return buf;
}

double jetDateFromParts(int year, int month, int day, int hour, int minute, int second)
{
    return sql::jetDateFromParts(sql::DateParts{year, month, day, hour, minute, second});
}

std::string formatJetDate(double value)
{
    sql::DateParts p;
    if (!sql::jetDateToParts(value, p))
        return formatDouble(value);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                  p.second);
    return buf;
}

std::string Variant::guidText() const
{
    if (s_.size() != 16)
        return {};
    const auto* b = reinterpret_cast<const unsigned char*>(s_.data());
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3], b[2],
                  b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return buf;
}

std::string Variant::toText() const
{
    switch (type_) {
    case VarType::Null:
        return {};
    case VarType::Boolean:
        return i_ ? "True" : "False";
    case VarType::Byte: case VarType::Integer: case VarType::Long:
        return std::to_string(i_);
    case VarType::Currency: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.4f", d_);
        std::string s = buf;
        while (!s.empty() && s.back() == '0')
            s.pop_back();
        if (!s.empty() && s.back() == '.')
            s.pop_back();
        return s == "-0" ? "0" : s;
    }
    case VarType::Single:
        return formatSingle(static_cast<float>(d_));
    case VarType::Double:
        return formatDouble(d_);
    case VarType::Date:
        return formatJetDate(d_);
    case VarType::Text:
    case VarType::Binary:
        return s_;
    case VarType::Guid:
        return guidText();
    }
    return {};
}

bool Variant::operator==(const Variant& o) const
{
    if (isNull() || o.isNull())
        return isNull() && o.isNull();
    if (isNumeric() && o.isNumeric())
        return toDouble() == o.toDouble();
    if (type_ == VarType::Text && o.type_ == VarType::Text)
        return s_ == o.s_;
    return type_ == o.type_ && s_ == o.s_;
}

} // namespace dao
