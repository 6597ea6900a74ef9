#include "framework/data/DbTypes.h"

#include <array>

QString FieldTypeName(TFieldType type)
{
    static const std::array<const char*, 36> names = {
        "Unknown",   "String",    "SmallInt",   "Integer",   "Word",       "Boolean",
        "Float",     "Currency",  "BCD",        "Date",      "Time",       "DateTime",
        "Bytes",     "VarBytes",  "AutoInc",    "Blob",      "Memo",       "Graphic",
        "FmtMemo",   "ParadoxOle", "DBaseOle",  "TypedBinary", "Cursor",   "FixedChar",
        "WideString", "Largeint", "ADT",        "Array",     "Reference",  "DataSet",
        "OraBlob",   "OraClob",   "Variant",    "Interface", "IDispatch",  "Guid"};
    const int i = static_cast<int>(type);
    if (i < 0 || i >= static_cast<int>(names.size()))
        return QStringLiteral("Unknown");
    return QString::fromLatin1(names[static_cast<size_t>(i)]);
}

bool IsBlobFieldType(TFieldType type)
{
    switch (type) {
    case ftBlob: case ftMemo: case ftGraphic: case ftFmtMemo: case ftParadoxOle:
    case ftDBaseOle: case ftTypedBinary: case ftOraBlob: case ftOraClob:
        return true;
    default:
        return false;
    }
}

bool IsNumericFieldType(TFieldType type)
{
    switch (type) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
    case ftFloat: case ftCurrency: case ftBCD:
        return true;
    default:
        return false;
    }
}
