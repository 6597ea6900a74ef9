#include "engine/ValueConversion.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/SqliteStatement.h"
#include "engine/sql/JetDate.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <sqlite3.h>

namespace dao {

Variant variantFromColumn(const SqliteStatement& s, int i, int type)
{
    const int storage = s.columnStorage(i);
    if (storage == SQLITE_NULL)
        return {};
    if (storage == SQLITE_BLOB) {
        if (type == dbGUID)
            return Variant::guid(s.columnBlob(i));
        return Variant::binary(s.columnBlob(i));
    }
    const bool numeric = storage == SQLITE_INTEGER || storage == SQLITE_FLOAT;
    switch (type) {
    case dbBoolean:
        return numeric ? Variant(s.columnDouble(i) != 0) : Variant(s.columnText(i));
    case dbByte:
        return numeric ? Variant::byte(static_cast<std::uint8_t>(s.columnInt(i))) : Variant(s.columnText(i));
    case dbInteger:
        return numeric ? Variant::integer(static_cast<std::int16_t>(s.columnInt(i))) : Variant(s.columnText(i));
    case dbLong:
        if (storage == SQLITE_INTEGER)
            return Variant::longValue(static_cast<std::int32_t>(s.columnInt(i)));
        return storage == SQLITE_FLOAT ? Variant(s.columnDouble(i)) : Variant(s.columnText(i));
    case dbCurrency:
        return numeric ? Variant::currency(s.columnDouble(i)) : Variant(s.columnText(i));
    case dbSingle:
        return numeric ? Variant::single(static_cast<float>(s.columnDouble(i))) : Variant(s.columnText(i));
    case dbDouble: case dbNumeric: case dbDecimal: case dbFloat:
        return numeric ? Variant(s.columnDouble(i)) : Variant(s.columnText(i));
    case dbDate: case dbTime: case dbTimeStamp:
        return numeric ? Variant::date(s.columnDouble(i)) : Variant(s.columnText(i));
    case dbBigInt:
        return numeric ? Variant(static_cast<double>(s.columnInt(i))) : Variant(s.columnText(i));
    default:
        break;
    }
    if (type == dbText || type == dbMemo || type == dbChar || storage == SQLITE_TEXT)
        return Variant(s.columnText(i));
    if (storage == SQLITE_INTEGER) {
        const long long v = s.columnInt(i);
        if (v >= INT32_MIN && v <= INT32_MAX)
            return Variant::longValue(static_cast<std::int32_t>(v));
        return Variant(static_cast<double>(v));
    }
    return Variant(s.columnDouble(i));
}

int jetTypeOfValue(const Variant& v)
{
    switch (v.type()) {
    case VarType::Boolean: return dbBoolean;
    case VarType::Byte: return dbByte;
    case VarType::Integer: return dbInteger;
    case VarType::Long: return dbLong;
    case VarType::Currency: return dbCurrency;
    case VarType::Single: return dbSingle;
    case VarType::Double: return dbDouble;
    case VarType::Date: return dbDate;
    case VarType::Binary: return dbLongBinary;
    case VarType::Guid: return dbGUID;
    default: return dbText;
    }
}

bool isDateType(int type) { return type == dbDate || type == dbTime || type == dbTimeStamp; }

Variant dateFromText(const Variant& text)
{
    const auto days = sql::parseDateText(text.bytes());
    if (!days)
        throw jet::conversionError();
    return Variant::date(*days);
}

namespace {

size_t utf8Length(const std::string& s)
{
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xc0) != 0x80)
            ++n;
    return n;
}

} // namespace

Variant convertForField(const FieldInfo& f, const Variant& v)
{
    if (v.isNull())
        return v;
    try {
        switch (f.type) {
        case dbText: case dbChar: case dbMemo: {
            std::string text = v.type() == VarType::Text ? v.bytes() : v.toText();
            if (f.type != dbMemo && f.size > 0 && utf8Length(text) > static_cast<size_t>(f.size))
                throw jet::fieldTooSmall();
            return Variant(std::move(text));
        }
        case dbBoolean:
            return Variant(v.toBool());
        case dbByte: case dbInteger: case dbLong: {
            const std::int64_t x = v.toInt64();
            const std::int64_t lo = f.type == dbByte ? 0 : f.type == dbInteger ? -32768 : INT32_MIN;
            const std::int64_t hi = f.type == dbByte ? 255 : f.type == dbInteger ? 32767 : INT32_MAX;
            if (x < lo || x > hi)
                throw jet::conversionError();
            if (f.type == dbByte)
                return Variant::byte(static_cast<std::uint8_t>(x));
            if (f.type == dbInteger)
                return Variant::integer(static_cast<std::int16_t>(x));
            return Variant::longValue(static_cast<std::int32_t>(x));
        }
        case dbBigInt:
            return Variant(static_cast<double>(v.toInt64()));
        case dbCurrency:
            return Variant::currency(std::round(v.toDouble() * 10000.0) / 10000.0);
        case dbSingle: {
            const double d = v.toDouble();
            if (std::fabs(d) > FLT_MAX)
                throw jet::conversionError();
            return Variant::single(static_cast<float>(d));
        }
        case dbDouble: case dbNumeric: case dbDecimal: case dbFloat:
            return Variant(v.toDouble());
        case dbDate: case dbTime: case dbTimeStamp:
            if (v.type() == VarType::Date)
                return v;
            if (v.type() == VarType::Text) // a number in text is a date too ("36526.5")
                if (const auto days = sql::parseDateText(v.bytes()))
                    return Variant::date(*days);
            return Variant::date(v.toDouble());
        case dbBinary: case dbVarBinary: case dbLongBinary:
            if (v.type() == VarType::Text || v.type() == VarType::Binary || v.type() == VarType::Guid)
                return Variant::binary(v.bytes());
            throw jet::conversionError();
        case dbGUID:
            if (v.type() == VarType::Guid || (v.type() == VarType::Binary && v.bytes().size() == 16))
                return Variant::guid(v.bytes());
            throw jet::conversionError();
        default:
            return v;
        }
    } catch (const DaoError& e) {
        if (e.number() == 3163)
            throw;
        throw jet::conversionError(); // text into a number, a number out of the field's range
    }
}

} // namespace dao
