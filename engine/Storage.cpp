#include "engine/Storage.h"

#include "engine/AccessLoader.h"
#include "engine/DaoConstants.h"
#include "engine/FileFormat.h"
#include "engine/JetErrors.h"
#include "engine/MdbFile.h"
#include "engine/Metadata.h"
#include "engine/ParameterBinder.h"
#include "engine/Savepoint.h"
#include "engine/SchemaChanges.h"
#include "engine/SqliteErrors.h"
#include "engine/StatementCache.h"
#include "engine/sql/LiteralSlots.h"
#include "engine/sql/Quote.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sqlite3.h>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>

namespace dao {

using sql::quoteIdentifier;

namespace fs = std::filesystem;

namespace {

// Device and inode of a file: a file deleted and made again under the same
// name is another file, whatever its time stamp.
using FileIdentity = std::pair<dev_t, ino_t>;

FileIdentity fileIdentity(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return {st.st_dev, st.st_ino};
}

} // namespace

struct Storage::Attachment {
    std::string alias;
    FileFormat format = FileFormat::Sqlite;
    fs::file_time_type modified;
    FileIdentity identity;
    std::unique_ptr<MdbFile> mdb;
    std::set<std::string> loaded;
};

namespace {

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

void run(sqlite3* db, const std::string& sql) { SqliteStatement(db, sql).step(); }

// The savepoint of a BeginTrans level (1 for the outermost).
std::string levelName(int level) { return "jet_level" + std::to_string(level); }

// "MS Access;" or an empty connect part name Jet's own format; anything else an installable ISAM.
bool isJetConnect(const std::string& connect)
{
    const std::string type = connect.substr(0, connect.find(';'));
    const auto b = type.find_first_not_of(' ');
    if (b == std::string::npos)
        return true;
    const std::string t = lower(type.substr(b, type.find_last_not_of(' ') - b + 1));
    return t == "ms access" || t == "jet";
}

} // namespace

std::shared_ptr<Storage> Storage::open(const std::string& path, bool exclusive, bool readOnly)
{
    const FileFormat format = detectFileFormat(path);
    std::shared_ptr<Storage> s(new Storage);
    s->path_ = path;
    if (format == FileFormat::Jet) {
        s->kind_ = Kind::Access;
        s->readOnly_ = true;
        s->mdb_ = std::make_unique<MdbFile>(path);
        // One thread uses a connection: SQLite need not lock it around every call.
        if (sqlite3_open_v2(":memory:", &s->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                            nullptr)
            != SQLITE_OK)
            throw jet::fileAccessDenied(path);
        s->configureConnection(false);
        run(s->db_, "PRAGMA main.page_size = 16384"); // fewer, wider b-tree pages for the bulk copies
        s->readOnlySchemas_.insert("main");
        s->loading_ = true;
        Metadata(s->db_, "main").create();
        s->loading_ = false;
        return s;
    }
    s->kind_ = Kind::Sqlite;
    s->readOnly_ = readOnly;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (sqlite3_open_v2(path.c_str(), &s->db_, flags, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(s->db_);
        s->db_ = nullptr;
        throw jet::fileAccessDenied(path);
    }
    try {
        SqliteStatement(s->db_, "SELECT count(*) FROM sqlite_master").step();
    } catch (const DaoError&) {
        throw jet::unrecognizedFormat(path);
    }
    s->configureConnection(!readOnly);
    if (exclusive)
        run(s->db_, "PRAGMA locking_mode = EXCLUSIVE");
    return s;
}

std::shared_ptr<Storage> Storage::create(const std::string& path)
{
    std::error_code ec;
    const fs::path p(path);
    if (fs::exists(p, ec))
        throw jet::databaseExists();
    if (p.has_parent_path() && !fs::is_directory(p.parent_path(), ec))
        throw jet::invalidPath(path);
    std::shared_ptr<Storage> s(new Storage);
    s->path_ = path;
    s->kind_ = Kind::Sqlite;
    if (sqlite3_open_v2(path.c_str(), &s->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(s->db_);
        s->db_ = nullptr;
        throw jet::fileAccessDenied(path);
    }
    s->configureConnection(true);
    Metadata(s->db_, "main").create();
    return s;
}

Storage::~Storage() { close(); }

void Storage::close()
{
    if (!db_)
        return;
    if (transactionLevel_ > 0 && kind_ == Kind::Sqlite)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    transactionLevel_ = 0;
    if (statements_)
        statements_->close();
    forgetTranslations();
    sqlite3_close_v2(db_); // statements still held by recordsets keep it alive until finalised
    db_ = nullptr;
    attachments_.clear();
    mdb_.reset();
}

sqlite3* Storage::db() const
{
    if (!db_)
        throw jet::objectInvalid();
    return db_;
}

bool Storage::isJet3() const { return mdb_ && mdb_->isJet3(); }

void Storage::configureConnection(bool walAndSync)
{
    statements_ = std::make_shared<StatementCache>(db_);
    sql::registerJetFunctions(db_);
    // "x" is always a name, never a string literal, as in Jet's translated SQL.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_set_authorizer(db_, &Storage::authorize, this);
    if (walAndSync) {
        run(db_, "PRAGMA journal_mode = WAL");
        run(db_, "PRAGMA synchronous = FULL");
    }
    sqlite3_busy_timeout(db_, 5000);
}

int Storage::authorize(void* self, int action, const char* object, const char*, const char* schema, const char*)
{
    auto* s = static_cast<Storage*>(self);
    if (s->loading_ || !schema)
        return SQLITE_OK;
    // Saved queries of a read-only Access file live in memory for the session.
    if (object && strcmp(object, "_jet_queries") == 0)
        return SQLITE_OK;
    switch (action) {
    case SQLITE_INSERT: case SQLITE_UPDATE: case SQLITE_DELETE: case SQLITE_CREATE_TABLE: case SQLITE_CREATE_INDEX:
    case SQLITE_DROP_TABLE: case SQLITE_DROP_INDEX: case SQLITE_ALTER_TABLE: case SQLITE_CREATE_VIEW:
    case SQLITE_DROP_VIEW: case SQLITE_CREATE_TRIGGER: case SQLITE_DROP_TRIGGER:
        return s->readOnlySchemas_.count(schema) ? SQLITE_DENY : SQLITE_OK;
    default:
        return SQLITE_OK;
    }
}

bool Storage::isReadOnlySchema(const std::string& schema) const
{
    return readOnlySchemas_.count(schema) > 0 || (schema == "main" && readOnly_);
}

namespace {

constexpr size_t kKeptTranslations = 256;

template <typename Map, typename Value>
void keep(Map& map, const std::string& key, Value&& value)
{
    if (map.size() >= kKeptTranslations)
        map.clear();
    map.emplace(key, std::forward<Value>(value));
}

bool keepsKind(sql::StatementKind kind)
{
    using K = sql::StatementKind;
    return kind == K::Select || kind == K::Insert || kind == K::Update || kind == K::Delete;
}

// What a refinement depends on besides filter and sort: the base's text and parameters.
std::string refinementKey(const sql::Statement& base, const std::string& filter, const std::string& sort)
{
    std::string key = base.sql + '\x1f' + filter + '\x1f' + sort;
    for (const sql::Parameter& p : base.parameters)
        key += '\x1f' + p.name + '\x1e' + std::to_string(static_cast<int>(p.type)) + (p.declared ? "d" : "");
    return key;
}

} // namespace

sql::ResolvedTable Storage::resolveKept(const sql::TableRef& ref, bool& keep)
{
    sql::ResolvedTable t = resolveTable(ref);
    // Names in other files, saved queries and names yet unknown are looked up each time.
    if (!ref.externalPath.empty() || !ref.connect.empty() || t.schema != "main" || !t.columns)
        keep = false;
    return t;
}

sql::Statement Storage::translateFresh(const std::string& jetSql, bool& keep)
{
    keep = true;
    sql::Statement st = sql::translate(jetSql, [this, &keep](const sql::TableRef& ref) { return resolveKept(ref, keep); });
    keep = keep && keepsKind(st.kind);
    return st;
}

sql::Statement Storage::translate(const std::string& jetSql)
{
    db();
    if (const auto kept = translations_.find(jetSql); kept != translations_.end())
        return kept->second;
    bool keepIt = true;
    sql::Statement st = translateFresh(jetSql, keepIt);
    if (keepIt)
        keep(translations_, jetSql, st);
    return st;
}

sql::Statement Storage::translateWithSlots(const std::string& jetSql)
{
    db();
    if (const auto kept = translations_.find(jetSql); kept != translations_.end())
        return kept->second;
    const auto shape = sql::literalShape(jetSql);
    if (!shape)
        return translate(jetSql);
    if (const auto known = shapes_.find(shape->text); known != shapes_.end()) {
        if (!known->second)
            return translate(jetSql);
        sql::Statement st = *known->second;
        st.slotValues = shape->values;
        return st;
    }
    bool keepIt = true;
    sql::Statement st = translateFresh(jetSql, keepIt);
    if (!keepIt || st.kind != sql::StatementKind::Select)
        return st;
    std::optional<sql::Statement> slotted;
    try {
        bool keepShape = true;
        sql::Statement shaped = translateFresh(shape->text, keepShape);
        if (keepShape && sql::makeSlots(shaped, st, *shape))
            slotted = std::move(shaped);
    } catch (const DaoError&) {
        // The text itself translated; its shape is then simply not kept.
    }
    keep(shapes_, shape->text, slotted);
    if (!slotted) {
        keep(translations_, jetSql, st);
        return st;
    }
    slotted->slotValues = shape->values;
    return *slotted;
}

std::string Storage::keysetSql(const sql::Statement& st, bool ordered)
{
    const std::string key = (ordered ? "1" : "0") + st.sql;
    if (const auto kept = keysets_.find(key); kept != keysets_.end())
        return kept->second;
    std::string text = sql::keysetSql(st, ordered);
    keep(keysets_, key, text);
    return text;
}

sql::Statement Storage::refine(const sql::Statement& base, const std::string& filter, const std::string& sort)
{
    db();
    const std::string key = refinementKey(base, filter, sort);
    if (const auto kept = refinements_.find(key); kept != refinements_.end()) {
        sql::Statement st = kept->second;
        st.slotValues = base.slotValues;
        return st;
    }
    bool keepIt = true;
    sql::Statement st = sql::refine(base, filter, sort, [this, &keepIt](const sql::TableRef& ref) {
        return resolveKept(ref, keepIt);
    });
    if (!base.slotValues.empty() && st.parameters.size() > static_cast<size_t>(sql::kLiteralSlotBase)) {
        // The filter's parameters reach the slots' numbers: refine the statement with its numbers written out.
        sql::Statement plain = base;
        sql::inlineSlots(plain);
        return sql::refine(plain, filter, sort, [this](const sql::TableRef& ref) { return resolveTable(ref); });
    }
    if (keepIt)
        keep(refinements_, key, st);
    st.slotValues = base.slotValues;
    return st;
}

sql::ResolvedTable Storage::resolveTable(const sql::TableRef& ref)
{
    const Location loc = locate(ref);
    sql::ResolvedTable t;
    t.sql = quoteIdentifier(loc.schema) + "." + quoteIdentifier(loc.table);
    t.schema = loc.schema;
    t.name = loc.table;
    if (auto view = viewColumns_.find(loc.table); loc.schema == "temp" && view != viewColumns_.end()) {
        t.columns = view->second;
    } else if (loc.schema != "temp") {
        if (const auto schema = tableSchema(loc.schema, loc.table)) {
            t.columns.emplace();
            t.columns->reserve(schema->columns.size());
            for (const ColumnSchema& c : schema->columns)
                t.columns->push_back({c.name, static_cast<sql::JetType>(c.type)});
        }
    }
    return t;
}

Storage::Location Storage::locate(const sql::TableRef& ref)
{
    db();
    if (!ref.connect.empty() && !isJetConnect(ref.connect))
        throw jet::isamNotFound(ref.connect.substr(0, ref.connect.find(';')));
    if (ref.externalPath.empty()) {
        if (kind_ == Kind::Access) {
            const std::string actual = mdb_->findTable(ref.name);
            if (!actual.empty()) {
                ensureLoaded("main", *mdb_, actual, loadedMain_);
                return {"main", actual};
            }
        }
        if (auto view = savedQueryView(ref.name))
            return {"temp", *view};
        return {"main", ref.name};
    }
    Attachment& a = attach(ref.externalPath);
    if (a.mdb) {
        const std::string actual = a.mdb->findTable(ref.name);
        if (!actual.empty()) {
            ensureLoaded(a.alias, *a.mdb, actual, a.loaded);
            return {a.alias, actual};
        }
    }
    return {a.alias, ref.name};
}

Storage::Attachment& Storage::attach(const std::string& rawPath)
{
    const FileFormat format = detectFileFormat(rawPath);
    std::error_code ec;
    const std::string key = fs::weakly_canonical(fs::absolute(rawPath, ec), ec).string();
    const auto modified = fs::last_write_time(rawPath, ec);
    if (key == fs::weakly_canonical(fs::absolute(path_, ec), ec).string() && kind_ == Kind::Sqlite) {
        // "IN" naming this very database: the main schema serves.
        if (!self_) {
            self_ = std::make_unique<Attachment>();
            self_->alias = "main";
        }
        return *self_;
    }
    auto it = attachments_.find(key);
    if (it != attachments_.end()) {
        Attachment& a = *it->second;
        if (a.format == format && a.identity == fileIdentity(rawPath) &&
            (format == FileFormat::Sqlite || a.modified == modified))
            return a;
        // The file changed since it was read, or another file took its name:
        // detach and read it again.
        loading_ = true;
        sqlite3_exec(db_, ("DETACH DATABASE " + quoteIdentifier(a.alias)).c_str(), nullptr, nullptr, nullptr);
        loading_ = false;
        readOnlySchemas_.erase(a.alias);
        for (auto c = schemaCache_.begin(); c != schemaCache_.end();)
            c = c->first.rfind(a.alias + '\x1f', 0) == 0 ? schemaCache_.erase(c) : std::next(c);
        attachments_.erase(it);
    }
    auto a = std::make_unique<Attachment>();
    a->alias = "x" + std::to_string(++attachCounter_);
    a->format = format;
    a->modified = modified;
    if (format == FileFormat::Jet)
        a->mdb = std::make_unique<MdbFile>(rawPath);
    {
        SqliteStatement s(db_, "ATTACH DATABASE ?1 AS " + quoteIdentifier(a->alias));
        s.bindText(1, format == FileFormat::Jet ? std::string(":memory:") : key);
        s.step();
    }
    a->identity = fileIdentity(rawPath); // after ATTACH, which makes a missing file
    if (format == FileFormat::Jet) {
        run(db_, "PRAGMA " + quoteIdentifier(a->alias) + ".page_size = 16384");
        readOnlySchemas_.insert(a->alias);
        loading_ = true;
        Metadata(db_, a->alias).create();
        loading_ = false;
    } else {
        try {
            SqliteStatement(db_, "SELECT count(*) FROM " + quoteIdentifier(a->alias) + ".sqlite_master").step();
        } catch (const DaoError&) {
            sqlite3_exec(db_, ("DETACH DATABASE " + quoteIdentifier(a->alias)).c_str(), nullptr, nullptr, nullptr);
            throw jet::unrecognizedFormat(rawPath);
        }
    }
    return *attachments_.emplace(key, std::move(a)).first->second;
}

std::optional<std::string> Storage::savedQueryView(const std::string& name)
{
    if (Metadata::isMetadataTable(name))
        return std::nullopt;
    {
        SqliteStatement table = statement("SELECT 1 FROM main.sqlite_master WHERE type IN ('table','view') AND "
                                          "name = ?1 COLLATE NOCASE");
        table.bindText(1, name);
        if (table.step())
            return std::nullopt;
    }
    Metadata meta(db_, "main");
    if (!meta.present())
        return std::nullopt;
    const auto query = meta.query(name);
    if (!query || viewsInProgress_.count(lower(name)))
        return std::nullopt; // a query naming itself is left to fail as an unknown table
    // A saved SELECT named in FROM becomes a temporary view over its translation,
    // named after its text so that a changed query gets a new view.
    viewsInProgress_.insert(lower(name));
    sql::Statement st;
    try {
        st = translate(query->sql);
    } catch (...) {
        viewsInProgress_.erase(lower(name));
        throw;
    }
    viewsInProgress_.erase(lower(name));
    if (st.kind != sql::StatementKind::Select)
        return std::nullopt;
    if (!st.parameters.empty()) // a view cannot ask for values
        throw jet::tooFewParameters(static_cast<int>(st.parameters.size()));
    const std::string view = "jet_query_" + query->name + "_" + std::to_string(std::hash<std::string>{}(st.sql));
    SqliteStatement(db_, "CREATE TEMP VIEW IF NOT EXISTS " + quoteIdentifier(view) + " AS " + st.sql).step();
    if (!st.columns.empty()) {
        std::vector<sql::TableColumn> columns;
        for (const sql::ResultColumn& c : st.columns)
            columns.push_back({c.name, c.type});
        viewColumns_[view] = std::move(columns);
    }
    return view;
}

void Storage::ensureLoaded(const std::string& schema, MdbFile& mdb, const std::string& table,
                           std::set<std::string>& loaded)
{
    const std::string key = lower(table);
    if (loaded.count(key))
        return;
    loading_ = true;
    try {
        AccessLoader(db_, schema).load(mdb, table);
    } catch (...) {
        loading_ = false;
        throw;
    }
    loading_ = false;
    loaded.insert(key);
    schemaCache_.erase(schema + '\x1f' + key);
}

SqliteStatement Storage::prepare(const sql::Statement& st, const ParameterValues& values)
{
    return prepare(st.sql, st, values);
}

SqliteStatement Storage::statement(const std::string& sqliteSql)
{
    db();
    return statements_->take(sqliteSql);
}

SqliteStatement Storage::prepare(const std::string& sqliteSql, const sql::Statement& st, const ParameterValues& values)
{
    SqliteStatement prepared = statement(sqliteSql);
    ParameterBinder(st.parameters, values).bind(prepared);
    const int used = sqlite3_bind_parameter_count(prepared.handle());
    for (size_t slot = 0; slot < st.slotValues.size(); ++slot)
        if (const int index = sql::kLiteralSlotBase + 1 + static_cast<int>(slot); index <= used)
            prepared.bindInt(index, st.slotValues[slot]);
    return prepared;
}

long Storage::execute(const sql::Statement& st, const ParameterValues& values, bool failOnError)
{
    using K = sql::StatementKind;
    switch (st.kind) {
    case K::Select:
        throw jet::cannotExecuteSelect();
    case K::Insert: case K::Update: case K::Delete: {
        // Writes into read-only schemas are refused by the authorizer (3027) while preparing.
        SqliteStatement s = prepare(failOnError ? st.sql : sql::lenientSql(st), st, values);
        s.step();
        return sqlite3_changes(db_);
    }
    case K::CreateTable:
        return SchemaChanges(*this).createTable(st);
    case K::CreateIndex:
        return SchemaChanges(*this).createIndex(st);
    case K::DropTable:
        return SchemaChanges(*this).dropTable(st);
    case K::DropIndex:
        return SchemaChanges(*this).dropIndex(st);
    case K::SelectInto:
        return SchemaChanges(*this).selectInto(st, values);
    }
    return 0;
}


std::vector<std::string> Storage::tableNames(bool includeSystem)
{
    db();
    std::vector<std::string> names;
    if (kind_ == Kind::Access) {
        for (const auto& t : mdb_->tables())
            if (includeSystem || !t.system)
                names.push_back(t.name);
    } else {
        SqliteStatement s(db_, "SELECT name FROM main.sqlite_master WHERE type = 'table'");
        while (s.step()) {
            std::string n = s.columnText(0);
            if (!Metadata::isMetadataTable(n))
                names.push_back(n);
        }
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
    return names;
}

namespace {

int typeFromDeclared(std::string decl)
{
    decl = lower(decl);
    if (decl.find("int") != std::string::npos)
        return dbLong;
    if (decl.find("char") != std::string::npos || decl.find("text") != std::string::npos
        || decl.find("clob") != std::string::npos)
        return dbText;
    if (decl.find("real") != std::string::npos || decl.find("floa") != std::string::npos
        || decl.find("doub") != std::string::npos)
        return dbDouble;
    if (decl.empty() || decl.find("blob") != std::string::npos)
        return dbLongBinary;
    return dbDouble;
}

} // namespace

std::optional<TableSchema> Storage::tableSchema(const std::string& schema, const std::string& table)
{
    db();
    const std::string key = schema + '\x1f' + lower(table);
    if (auto it = schemaCache_.find(key); it != schemaCache_.end())
        return it->second;
    std::optional<TableSchema> result;
    Metadata meta(db_, schema);
    if (meta.present())
        result = meta.table(table);
    if (!result && schema == "main" && mdb_ && !mdb_->findTable(table).empty())
        result = mdb_->schema(mdb_->findTable(table));
    if (!result && !Metadata::isMetadataTable(table)) {
        // A SQLite table the engine did not make: describe it from its declared types.
        SqliteStatement s(db_, "PRAGMA " + quoteIdentifier(schema) + ".table_info(" + quoteIdentifier(table) + ")");
        TableSchema t;
        while (s.step()) {
            ColumnSchema c;
            c.name = s.columnText(1);
            c.type = typeFromDeclared(s.columnText(2));
            c.size = c.type == dbText ? 255 : fixedSizeOf(c.type);
            c.attributes = fixedSizeOf(c.type) ? dbFixedField : dbVariableField;
            c.required = s.columnInt(3) != 0;
            t.columns.push_back(c);
        }
        if (!t.columns.empty()) {
            t.name = table;
            result = t;
        }
    }
    schemaCache_[key] = result;
    return result;
}

std::optional<ColumnSchema> Storage::originColumn(const std::string& schema, const std::string& table,
                                                  const std::string& column)
{
    if (table.empty() || column.empty())
        return std::nullopt;
    auto t = tableSchema(schema.empty() ? "main" : schema, table);
    if (!t)
        return std::nullopt;
    if (const ColumnSchema* c = t->column(column))
        return *c;
    return std::nullopt;
}

Metadata Storage::metadata() const { return Metadata(db(), "main"); }

void Storage::forgetSchema(const std::string& schema, const std::string& table)
{
    schemaCache_.erase(schema + '\x1f' + lower(table));
    forgetCompiled();
}

void Storage::forgetTranslations()
{
    translations_.clear();
    shapes_.clear();
    refinements_.clear();
    keysets_.clear();
}

void Storage::forgetCompiled()
{
    forgetTranslations();
    statements_->clear();
}

void Storage::beginTrans()
{
    db();
    if (kind_ == Kind::Sqlite)
        beginSavepoint(db_, levelName(transactionLevel_ + 1));
    ++transactionLevel_;
}

void Storage::commitTrans()
{
    db();
    if (transactionLevel_ == 0)
        throw jet::noTransaction();
    if (kind_ == Kind::Sqlite)
        releaseSavepoint(db_, levelName(transactionLevel_));
    --transactionLevel_;
}

void Storage::rollback()
{
    db();
    if (transactionLevel_ == 0)
        throw jet::noTransaction();
    if (kind_ == Kind::Sqlite) {
        rollbackSavepoint(db_, levelName(transactionLevel_));
        schemaCache_.clear();
        forgetCompiled();
    }
    --transactionLevel_;
}

} // namespace dao
