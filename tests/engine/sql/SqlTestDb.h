#pragma once
// An in-memory SQLite database with the Jet functions registered, for running
// translated statements in tests.
#include "engine/sql/JetTranslator.h"

#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace sqltest {

using Row = std::vector<std::optional<std::string>>; // text form of each value, nullopt for NULL

class SqlTestDb {
public:
    SqlTestDb();
    ~SqlTestDb();
    SqlTestDb(const SqlTestDb&) = delete;
    SqlTestDb& operator=(const SqlTestDb&) = delete;

    sqlite3* handle() const { return db_; }
    void exec(const std::string& sqliteSql); // fails the test on error
    std::vector<Row> query(const std::string& sqliteSql);
    // Translates jetSql (tables resolve to "main"; external ones to the schema
    // attached for their path by attach()) and runs it.
    std::vector<Row> jet(const std::string& jetSql);
    // Runs a Jet statement expected to fail in SQLite; returns the SQLite message.
    std::string jetError(const std::string& jetSql);
    void attach(const std::string& path, const std::string& schema);
    // Tables of this database with the columns SQLite lists (DATE, INT, REAL and
    // CURRENCY in the declared type give those Jet types, anything else Text).
    dao::sql::TableResolver resolver();
    std::optional<std::vector<dao::sql::TableColumn>> columns(const std::string& schema, const std::string& table);

    std::vector<dao::sql::TableRef> resolved; // every table the translator asked for

private:
    sqlite3* db_ = nullptr;
    std::vector<std::pair<std::string, std::string>> attached_;
};

// Reads the JSON array lines ("[1, \"x\", null]  # comment") of a fenced block
// that follows the line containing heading in a fixture's markdown.
std::vector<Row> markdownRows(const std::string& file, const std::string& heading);

std::string toCp1252(const std::string& utf8);
std::string toSqlString(const std::string& text); // a SQLite string literal

} // namespace sqltest
