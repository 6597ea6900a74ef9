#pragma once
// A DAO value: null or one of Jet's scalar types. Text is UTF-8.
#include <cstdint>
#include <string>
#include <vector>

namespace dao {

enum class VarType { Null, Boolean, Byte, Integer, Long, Currency, Single, Double, Date, Text, Binary, Guid };

class Variant {
public:
    Variant() = default; // null
    Variant(bool b) : type_(VarType::Boolean), i_(b ? -1 : 0) {}
    Variant(int v) : type_(VarType::Long), i_(v) {}
    Variant(std::int32_t v, VarType t) : type_(t), i_(v) {}
    Variant(double v) : type_(VarType::Double), d_(v) {}
    Variant(const char* s) : type_(VarType::Text), s_(s) {}
    Variant(std::string s) : type_(VarType::Text), s_(std::move(s)) {}

    static Variant null() { return {}; }
    static Variant byte(std::uint8_t v) { return Variant(v, VarType::Byte); }
    static Variant integer(std::int16_t v) { return Variant(v, VarType::Integer); }
    static Variant longValue(std::int32_t v) { return Variant(v, VarType::Long); }
    static Variant currency(double v);
    static Variant single(float v);
    static Variant date(double daysSince1899);
    static Variant binary(std::string bytes);
    static Variant guid(std::string sixteenBytes);

    VarType type() const { return type_; }
    bool isNull() const { return type_ == VarType::Null; }
    bool isNumeric() const;

    // Jet's conversions; a failing one raises DaoError (3464 mismatch, 3349 overflow).
    bool toBool() const;
    std::int32_t toLong() const;
    std::int64_t toInt64() const;
    double toDouble() const;
    std::string toText() const;     // display text; null gives ""
    const std::string& bytes() const { return s_; } // Text, Binary and Guid payload

    // GUID as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" from Microsoft's byte layout.
    std::string guidText() const;

    bool operator==(const Variant& other) const;

private:
    VarType type_ = VarType::Null;
    std::int64_t i_ = 0;
    double d_ = 0;
    std::string s_;
};

// Dates: days since 1899-12-30 with the time as the fraction, as Jet stores them
// (the arithmetic is sql/JetDate's). The text is "yyyy-mm-dd hh:nn:ss".
std::string formatJetDate(double days);
double jetDateFromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Shortest text that reads back as the same double.
std::string formatDouble(double d);

} // namespace dao
