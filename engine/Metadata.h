#pragma once
// The engine's own metadata tables inside a SQLite schema ("main" or an
// attached alias): Jet types, sizes, attributes, properties and indexes of the
// tables, and saved queries. They are hidden from TableDefs.
#include "engine/TableSchema.h"

#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace dao {

struct SavedQuery {
    std::string name;
    std::string sql;
    double dateCreated = 0;
    double lastUpdated = 0;
};

class Metadata {
public:
    Metadata(sqlite3* db, std::string schema) : db_(db), schema_(std::move(schema)) {}

    static bool isMetadataTable(const std::string& name); // "_jet_…" and SQLite's own tables

    void create() const;
    bool present() const;

    std::vector<std::string> tableNames() const; // as recorded, in creation order
    std::optional<TableSchema> table(const std::string& name) const;
    void writeTable(const TableSchema& schema) const; // replaces an earlier entry
    void dropTable(const std::string& name) const;
    void touchTable(const std::string& name) const;   // LastUpdated := now
    void addIndex(const std::string& table, const IndexSchema& index) const;
    void dropIndex(const std::string& table, const std::string& index) const;
    void setColumnProperty(const std::string& table, const std::string& column, const std::string& name,
                           const std::string& value) const;

    std::vector<SavedQuery> queries() const;
    std::optional<SavedQuery> query(const std::string& name) const;
    void saveQuery(const SavedQuery& query) const; // insert or replace
    void deleteQuery(const std::string& name) const;

private:
    std::string t(const char* table) const; // "schema"."table"
    sqlite3* db_;
    std::string schema_;
};

double jetNow(); // the current local time as a Jet date

} // namespace dao
