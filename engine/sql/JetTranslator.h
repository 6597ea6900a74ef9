#pragma once
// Jet SQL (the dialect DAO 3.6 speaks) translated into SQLite SQL.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;

namespace dao::sql {

// Jet data types, numbered as DAO's DataTypeEnum.
enum class JetType : int {
    Boolean = 1, Byte = 2, Integer = 3, Long = 4, Currency = 5, Single = 6, Double = 7,
    Date = 8, Binary = 9, Text = 10, LongBinary = 11, Memo = 12, Guid = 15, BigInt = 16,
    VarBinary = 17, Char = 18, Numeric = 19, Decimal = 20, Float = 21, Time = 22, TimeStamp = 23
};

// A table a statement names: in this database, or in another one
// ("FROM t IN 'C:\x\other.mdb'", "[C:\x\other.mdb].[t]", "IN 'folder' [Text;]").
struct TableRef {
    std::string name;         // without brackets
    std::string externalPath; // empty: this database
    std::string connect;      // connect part as written ("Text;", "HTML Export;", "dBASE IV;"); empty for Jet files
};

// Called for every table of the statement, before translation returns; gives the
// SQLite name to write (quoted and schema-qualified, e.g. "main"."EXEMPLAR" or
// "x1"."inventur"). Storage loads or attaches the table here and may throw DaoError.
using TableResolver = std::function<std::string(const TableRef&)>;

struct ColumnDef {
    std::string name;
    JetType type = JetType::Text;
    int size = 0; // characters for Text, 0 where the type fixes it
    bool autoIncrement = false;
    bool notNull = false;
    bool primaryKey = false;
    bool unique = false;
    std::optional<std::string> defaultSql; // SQLite expression of a DEFAULT clause
    long long seed = 1, increment = 1;     // COUNTER(seed, increment)
    int precision = 0, scale = 0;          // DECIMAL(precision, scale)
};

struct IndexDef {
    std::string name;
    std::string table;
    std::vector<std::pair<std::string, bool>> fields; // field name, descending
    bool unique = false;
    bool primary = false;
    bool disallowNull = false;
    bool ignoreNull = false;
};

enum class StatementKind { Select, SelectInto, Insert, Update, Delete, CreateTable, CreateIndex, DropTable, DropIndex };

struct Parameter {
    std::string name;
    JetType type = JetType::Text;
};

struct Statement {
    StatementKind kind = StatementKind::Select;
    // Select, Insert, Update, Delete: the whole SQLite statement.
    // SelectInto: the SQLite SELECT that yields the rows to copy (without INTO).
    std::string sql;
    // Declared by a PARAMETERS clause, in order; the SQL refers to parameter i as ?<i+1>.
    std::vector<Parameter> parameters;
    // SelectInto: the target ("Out#txt" with its IN path and connect part);
    // CreateTable, DropTable, CreateIndex, DropIndex: the table.
    TableRef target;
    std::vector<ColumnDef> columns; // CreateTable
    std::vector<IndexDef> indexes;  // CreateTable constraints; CreateIndex (one entry)
    std::string indexName;          // DropIndex
};

// Translates one Jet statement. Bytes that are not valid UTF-8 are read as
// Windows-1252. Syntax errors raise DaoError with Jet's number and text.
Statement translate(std::string_view jetSql, const TableResolver& resolve);

// Registers on a connection the collation "JETTEXT" (Jet's General sort order:
// case-insensitive for all of Unicode) and every function the translated SQL calls.
void registerJetFunctions(sqlite3* db);

} // namespace dao::sql
