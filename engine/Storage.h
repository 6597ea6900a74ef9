#pragma once
// One open database: a SQLite connection whose main schema is either the
// database file itself (SQLite, read-write) or an in-memory copy of a genuine
// Access file that is filled table by table as statements name them. Resolves
// the tables of translated statements (loading Access tables, attaching other
// databases named by IN clauses), prepares and runs statements, keeps
// transactions and Jet's metadata.
#include "engine/Metadata.h"
#include "engine/SqliteStatement.h"
#include "engine/TableSchema.h"
#include "engine/Variant.h"
#include "engine/sql/JetTranslator.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct sqlite3;

namespace dao {

class MdbFile;
class StatementCache;

// Values for named parameters (PARAMETERS clause or names the database does not know).
using ParameterValues = std::vector<std::pair<std::string, Variant>>;

class Storage {
public:
    enum class Kind { Sqlite, Access };

    static std::shared_ptr<Storage> open(const std::string& path, bool exclusive, bool readOnly);
    static std::shared_ptr<Storage> create(const std::string& path); // new empty SQLite database
    ~Storage();
    Storage(const Storage&) = delete;
    Storage& operator=(const Storage&) = delete;

    Kind kind() const { return kind_; }
    const std::string& path() const { return path_; }
    bool readOnly() const { return readOnly_; }
    bool isJet3() const;
    bool isOpen() const { return db_ != nullptr; }
    void close();
    sqlite3* db() const; // raises 3420 once closed

    // Translation with this database's resolver. The translation of a text
    // naming only tables of this database is kept until its schema changes.
    sql::Statement translate(const std::string& jetSql);
    // The same for a recordset's SELECT: a text that differs from one translated
    // before only in whole numbers compared in its WHERE clause shares that
    // translation, the numbers bound as slots (see sql/LiteralSlots.h).
    sql::Statement translateWithSlots(const std::string& jetSql);
    // A SELECT with a recordset's Filter and Sort (see sql::refine).
    sql::Statement refine(const sql::Statement& base, const std::string& filter, const std::string& sort);
    // The resolver: where a table lives, its SQLite name and its columns (loading an
    // Access table or attaching another database on the way).
    sql::ResolvedTable resolveTable(const sql::TableRef& ref);

    // sql::keysetSql for st, kept by st's text.
    std::string keysetSql(const sql::Statement& st, bool ordered = true);
    // A prepared statement of this connection for SQLite text; the statement
    // is kept for the next use of the same text once it goes out of scope.
    SqliteStatement statement(const std::string& sqliteSql);
    // Prepares a translated statement (kept as above) and binds its parameters
    // from values (3061 counting the parameters without a value).
    SqliteStatement prepare(const sql::Statement& st, const ParameterValues& values = {});
    // The same for SQLite text made from st's parts (its keyset query), with st's parameters.
    SqliteStatement prepare(const std::string& sqliteSql, const sql::Statement& st, const ParameterValues& values);
    // Runs an action or DDL statement; returns the rows affected. A SELECT gives 3065.
    // Without failOnError rows that break a rule are skipped, as Jet's Execute does.
    long execute(const sql::Statement& st, const ParameterValues& values = {}, bool failOnError = true);

    // Tables of the main schema as DAO lists them (metadata tables never).
    std::vector<std::string> tableNames(bool includeSystem);
    // Jet description of a table in a schema ("main" or an attachment alias); empty when unknown.
    std::optional<TableSchema> tableSchema(const std::string& schema, const std::string& table);
    // The Jet column a result column came from (from sqlite3_column_database/table/origin_name).
    std::optional<ColumnSchema> originColumn(const std::string& schema, const std::string& table,
                                             const std::string& column);
    Metadata metadata() const; // of the main schema
    // After a schema change: the table's description, kept translations and statements.
    void forgetSchema(const std::string& schema, const std::string& table);
    // Attached Access files and the main schema of an Access file take no writes.
    bool isReadOnlySchema(const std::string& schema) const;

    // Transactions (nested levels become savepoints). Access databases only count levels.
    void beginTrans();
    void commitTrans();
    void rollback();
    int transactionLevel() const { return transactionLevel_; }

    // Where a table lives: schema ("main" or an attachment alias) and stored name.
    struct Location {
        std::string schema;
        std::string table;
    };
    Location locate(const sql::TableRef& ref);

private:
    Storage() = default;
    struct Attachment;

    void configureConnection(bool walAndSync);
    Attachment& attach(const std::string& path);
    void ensureLoaded(const std::string& schema, MdbFile& mdb, const std::string& table, std::set<std::string>& loaded);
    std::optional<std::string> savedQueryView(const std::string& name);
    static int authorize(void* self, int action, const char* a, const char* b, const char* schema, const char*);
    void forgetCompiled(); // translations and statements made for the schema as it was
    void forgetTranslations();
    // A fresh translation; keep tells whether it may be kept (only tables of this database known now).
    sql::Statement translateFresh(const std::string& jetSql, bool& keep);
    sql::ResolvedTable resolveKept(const sql::TableRef& ref, bool& keep);

    Kind kind_ = Kind::Sqlite;
    std::string path_;
    bool readOnly_ = false;
    sqlite3* db_ = nullptr;
    std::unique_ptr<MdbFile> mdb_;      // Access main schema
    std::set<std::string> loadedMain_;  // lower-case names of Access tables copied into main
    std::map<std::string, std::unique_ptr<Attachment>> attachments_; // by absolute path
    std::unique_ptr<Attachment> self_; // an IN clause naming this database itself
    std::set<std::string> readOnlySchemas_;
    int attachCounter_ = 0;
    int transactionLevel_ = 0;
    bool loading_ = false; // lets the loader write into read-only schemas
    std::set<std::string> viewsInProgress_;
    std::map<std::string, std::vector<sql::TableColumn>> viewColumns_; // result columns of saved-query views
    std::map<std::string, std::optional<TableSchema>> schemaCache_;
    std::shared_ptr<StatementCache> statements_;
    std::unordered_map<std::string, sql::Statement> translations_;
    // By shape text: the translation with slots, or none when that shape cannot have slots.
    std::unordered_map<std::string, std::optional<sql::Statement>> shapes_;
    // By base statement, filter and sort.
    std::unordered_map<std::string, sql::Statement> refinements_;
    std::unordered_map<std::string, std::string> keysets_; // by order flag and statement text
};

} // namespace dao
