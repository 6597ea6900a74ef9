#pragma once
// What a translated Jet statement is made of. The translator hands this on
// beside the SQLite text, so that nobody has to read the text again: the
// statement's kind, its SELECT cores with their source tables and result
// columns (each with its Jet type where Jet's rules give one), the parameters
// with the numbers they are bound under, and the parts (WHERE, ORDER BY) where
// a recordset's Filter and Sort attach.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

struct TableColumn {
    std::string name;
    std::optional<JetType> type = JetType::Text; // none: the values decide (a saved query's expression)
};

// What the database tells the translator of a table a statement names.
struct ResolvedTable {
    std::string sql;    // the quoted, schema-qualified SQLite name, e.g. "main"."EXEMPLAR" or "x1"."inventur"
    std::string schema; // "main", an attachment alias, "temp" for a saved query; empty when not told
    std::string name;   // the name the table is stored under
    // Its columns; nullopt when they are not known (a table that does not exist, or a
    // resolver that does not say): every name may then be one of its columns.
    std::optional<std::vector<TableColumn>> columns;
};

// Called for every table of the statement, before translation returns. Storage
// loads or attaches the table here and may throw DaoError.
using TableResolver = std::function<ResolvedTable(const TableRef&)>;

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

// A parameter: declared by PARAMETERS, or a name that is no column of the tables
// in reach (Jet asks for its value). The SQL refers to parameter i as ?<i+1>.
struct Parameter {
    std::string name;             // as written; a dotted name ("Forms.x") keeps its parts
    JetType type = JetType::Text; // declared type; Text for the undeclared
    bool declared = false;
};

// One table of a FROM clause (the leaves of its joins).
struct SourceTable {
    std::string alias;     // the name the statement knows it by
    ResolvedTable table;   // a subquery in FROM: no SQLite name, its result columns
    bool derived = false;  // a subquery in FROM
};

// One column of a result.
struct ResultColumn {
    std::string name;             // as the result names it
    std::optional<JetType> type;  // by Jet's rules; nullopt: the values decide
    std::string table;            // a plain column: the alias of its source table
    std::string column;           // a plain column: its name there
};

// One SELECT: the SQLite text of its clauses and what they are made of.
struct SelectCore {
    bool distinct = false;
    bool distinctRow = false;
    bool top = false;
    bool percent = false;
    std::string topCount;
    std::string items; // the select list
    std::string from, where, groupBy, having;
    std::string distinctRowKeys; // DISTINCTROW over a join: the row ids to group by
    std::vector<std::string> order;     // "expr [DESC]"
    std::vector<std::string> orderBare; // the same by result column name, for compounds
    std::vector<SourceTable> tables;    // in FROM order
    // One per result column; empty when a '*' stands for a table whose columns are not known.
    std::vector<ResultColumn> columns;
    bool aggregate = false;    // an aggregate function in the select list, HAVING or ORDER BY
    bool plainColumns = true;  // every select item is a column (or '*') of the tables
    bool namesResults = false; // WHERE, GROUP BY, HAVING or ORDER BY name a result column (an alias)
};

// A SELECT with its UNIONs.
struct Query {
    std::vector<SelectCore> cores;
    std::vector<bool> unionAll; // between core i and i+1
};

// The one table whose rows a SELECT shows, field for field, so that its rows can
// be edited through it: one core without grouping, DISTINCT or UNION, one table
// in FROM, and only plain columns of that table in the select list.
struct EditableSource {
    std::string alias;  // as the statement names it
    std::string schema; // where the resolver found it
    std::string table;  // its stored name
};

struct Statement {
    StatementKind kind = StatementKind::Select;
    // Select, Insert, Update, Delete: the whole SQLite statement.
    // SelectInto: the SQLite SELECT that yields the rows to copy (without INTO).
    std::string sql;
    // Declared ones first (in order), then the undeclared in the order the translator
    // meets them (a SELECT's FROM clause before its select list).
    std::vector<Parameter> parameters;
    // Select, SelectInto: the query's parts and its result columns.
    Query query;
    std::vector<ResultColumn> columns;
    // Insert, Update: where in sql a conflict clause (" OR IGNORE") goes.
    size_t conflictAt = 0;
    // SelectInto: the target ("Out#txt" with its IN path and connect part);
    // Insert: the table written, as the statement names it; CreateTable, DropTable, CreateIndex, DropIndex: the table.
    TableRef target;
    std::vector<ColumnDef> columnDefs; // CreateTable
    std::vector<IndexDef> indexes;     // CreateTable constraints; CreateIndex (one entry)
    std::string indexName;             // DropIndex
    // Values of the numbers a kept translation took out as slotValues (see LiteralSlots.h);
    // bound with the parameters wherever the statement is prepared.
    std::vector<std::int64_t> slotValues;

    // The table a Select shows editably, if it is one.
    std::optional<EditableSource> editable() const;
};

// The SQLite text of a query, as the translator writes it.
std::string renderQuery(const Query& query);

// For a statement with an editable source: the SELECT of that table's rowids with
// the same rows as the statement, in its order (ordered: the table's order when it
// gives none). Empty for any other statement.
std::string keysetSql(const Statement& st, bool ordered = true);

// The statement with a conflict clause that skips rows breaking a rule
// ("INSERT OR IGNORE", "UPDATE OR IGNORE"), as Execute without dbFailOnError runs it.
std::string lenientSql(const Statement& st);

} // namespace dao::sql
