#pragma once
// Values between SQLite, Variants and Jet's field types: reading a result
// column as its Jet type, and the conversions Jet makes when a value is
// assigned to a field or bound to a parameter.
#include "engine/Field.h"
#include "engine/Variant.h"

namespace dao {

class SqliteStatement;

Variant variantFromColumn(const SqliteStatement& s, int column, int jetType);
// The Jet type of a column that comes from no table, by the SQLite value it holds.
int jetTypeOfValue(const Variant& v);

bool isDateType(int jetType); // Date, and ODBC's Time and TimeStamp

// Text read as a date by Jet's rules (sql/JetDate's parser, as CDate reads it); 3421 when it is none.
Variant dateFromText(const Variant& text);

// The value a field holds after v is assigned to it: Jet's conversions, 3163 for text
// longer than the field, 3421 for a value the field's type cannot take.
Variant convertForField(const FieldInfo& field, const Variant& v);

} // namespace dao
