#pragma once
// Reading a SQLite result value as the Variant of its Jet type.
#include "engine/Variant.h"

namespace dao {

class SqliteStatement;

Variant variantFromColumn(const SqliteStatement& s, int column, int jetType);
// The Jet type of a column that comes from no table, by the SQLite value it holds.
int jetTypeOfValue(const Variant& v);

} // namespace dao
