#include "engine/ValueConversion.h"

#include "engine/DaoConstants.h"
#include "engine/SqliteStatement.h"

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

} // namespace dao
