#pragma once
// The fields of a result as recordsets, exports and SELECT … INTO see them: a
// column that comes from a table keeps that column's Jet description; any
// other takes the Jet type the statement's structure gives its expression, or
// is settled from its values where Jet's rules give none.
#include "engine/Field.h"
#include "engine/TableSchema.h"
#include "engine/sql/Statement.h"

#include <string>
#include <vector>

namespace dao {

class SqliteStatement;
class Storage;

// A table's column as the field of a recordset or table definition.
FieldInfo fieldOfColumn(const ColumnSchema& column, const std::string& table);

// One field per result column of select, prepared from st. A field whose type is
// still open has type 0 (settled by settleType once values are seen).
std::vector<FieldInfo> resultFields(Storage& storage, const SqliteStatement& select, const sql::Statement& st);

// Gives a field of open type the type its values show (Text when there were none).
void settleType(FieldInfo& field, int type);

} // namespace dao
