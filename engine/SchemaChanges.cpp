#include "engine/SchemaChanges.h"
#include "engine/IsamExport.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/Metadata.h"
#include "engine/Savepoint.h"
#include "engine/TableBuilder.h"
#include "engine/sql/Quote.h"

#include <filesystem>
#include <sqlite3.h>
#include <strings.h>

namespace dao {

using sql::quoteIdentifier;

sqlite3* SchemaChanges::db() const { return storage_.db(); }

// A non-Jet connect part names an installable ISAM.
bool SchemaChanges::isForeignFormat(const std::string& connect)
{
    std::string type = connect.substr(0, connect.find(';'));
    const auto b = type.find_first_not_of(' ');
    if (b == std::string::npos)
        return false;
    type = type.substr(b, type.find_last_not_of(' ') - b + 1);
    return strcasecmp(type.c_str(), "MS Access") != 0 && strcasecmp(type.c_str(), "Jet") != 0;
}

namespace {

ColumnSchema columnFrom(const sql::ColumnDef& d)
{
    ColumnSchema c;
    c.name = d.name;
    c.type = static_cast<int>(d.type);
    if (c.type == dbText || c.type == dbChar)
        c.size = d.size > 0 ? d.size : 255;
    else if (c.type == dbBinary || c.type == dbVarBinary)
        c.size = d.size > 0 ? d.size : 510;
    else
        c.size = fixedSizeOf(c.type);
    c.attributes = (fixedSizeOf(c.type) > 0 ? dbFixedField : dbVariableField) | (d.autoIncrement ? dbAutoIncrField : 0);
    c.required = d.notNull || d.primaryKey;
    c.allowZeroLength = isTextType(c.type);
    if (d.defaultSql)
        c.defaultValue = *d.defaultSql;
    return c;
}

IndexSchema indexFrom(const sql::IndexDef& d)
{
    IndexSchema x;
    x.name = d.name;
    x.fields = d.fields;
    x.primary = d.primary;
    x.unique = d.unique || d.primary;
    x.required = d.disallowNull || d.primary;
    x.ignoreNulls = d.ignoreNull;
    return x;
}

} // namespace

long SchemaChanges::createTable(const sql::Statement& st)
{
    const Storage::Location loc = storage_.locate(st.target);
    if (storage_.isReadOnlySchema(loc.schema))
        throw jet::readOnly();
    {
        SqliteStatement chk(db(), "SELECT 1 FROM " + quoteIdentifier(loc.schema)
                                     + ".sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE");
        chk.bindText(1, loc.table);
        if (chk.step() || Metadata::isMetadataTable(loc.table))
            throw jet::tableExists(loc.table);
    }
    TableSchema t;
    t.name = loc.table;
    t.dateCreated = t.lastUpdated = jetNow();
    for (const auto& d : st.indexes) {
        IndexSchema x = indexFrom(d);
        if (x.name.empty())
            x.name = x.primary ? "PrimaryKey" : "Index" + std::to_string(t.indexes.size() + 1);
        t.indexes.push_back(x);
    }
    for (const auto& d : st.columnDefs) {
        t.columns.push_back(columnFrom(d));
        if (!d.primaryKey && !d.unique)
            continue;
        bool covered = false; // the translator may give the column's constraint as an index already
        for (const auto& x : t.indexes)
            covered = covered || (x.fields.size() == 1 && strcasecmp(x.fields[0].first.c_str(), d.name.c_str()) == 0);
        if (covered)
            continue;
        IndexSchema x;
        x.name = d.primaryKey ? "PrimaryKey" : d.name;
        x.fields = {{d.name, false}};
        x.primary = d.primaryKey;
        x.unique = true;
        x.required = d.primaryKey;
        t.indexes.push_back(x);
    }
    Metadata meta(db(), loc.schema);
    if (!meta.present())
        meta.create();
    Savepoint scope(db(), "jet_ddl");
    {
        TableBuilder builder(db(), loc.schema);
        builder.createTable(t, true);
        const ColumnSchema* rowid = TableBuilder::rowidColumn(t);
        for (const auto& x : t.indexes) {
            const bool isRowid = rowid && x.fields.size() == 1 && strcasecmp(x.fields[0].first.c_str(), rowid->name.c_str()) == 0;
            if (!isRowid)
                builder.createIndex(t.name, x);
        }
        meta.writeTable(t);
    }
    scope.commit();
    storage_.forgetSchema(loc.schema, loc.table);
    return 0;
}

long SchemaChanges::createIndex(const sql::Statement& st)
{
    if (st.indexes.empty())
        throw jet::invalidArgument();
    const Storage::Location loc = storage_.locate(st.target);
    if (storage_.isReadOnlySchema(loc.schema))
        throw jet::readOnly();
    auto table = storage_.tableSchema(loc.schema, loc.table);
    if (!table)
        throw jet::objectNotFound(loc.table);
    IndexSchema x = indexFrom(st.indexes.front());
    for (const auto& existing : table->indexes)
        if (strcasecmp(existing.name.c_str(), x.name.c_str()) == 0)
            throw jet::error(3375, {table->name, x.name});
    for (const auto& [field, desc] : x.fields)
        if (!table->column(field))
            throw jet::error(3064, {field});
    TableBuilder(db(), loc.schema).createIndex(table->name, x);
    Metadata meta(db(), loc.schema);
    if (meta.present()) {
        meta.addIndex(table->name, x);
        meta.touchTable(table->name);
    }
    storage_.forgetSchema(loc.schema, loc.table);
    return 0;
}

long SchemaChanges::dropTable(const sql::Statement& st)
{
    const Storage::Location loc = storage_.locate(st.target);
    if (storage_.isReadOnlySchema(loc.schema))
        throw jet::readOnly();
    SqliteStatement chk(db(), "SELECT name FROM " + quoteIdentifier(loc.schema)
                                 + ".sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    chk.bindText(1, loc.table);
    if (!chk.step() || Metadata::isMetadataTable(loc.table))
        throw jet::tableDoesNotExist(loc.table);
    const std::string actual = chk.columnText(0);
    chk.reset(); // an active read would lock the table against DROP
    SqliteStatement(db(), "DROP TABLE " + quoteIdentifier(loc.schema) + "." + quoteIdentifier(actual)).step();
    Metadata meta(db(), loc.schema);
    if (meta.present())
        meta.dropTable(actual);
    storage_.forgetSchema(loc.schema, loc.table);
    return 0;
}

long SchemaChanges::dropIndex(const sql::Statement& st)
{
    const Storage::Location loc = storage_.locate(st.target);
    if (storage_.isReadOnlySchema(loc.schema))
        throw jet::readOnly();
    auto table = storage_.tableSchema(loc.schema, loc.table);
    if (!table)
        throw jet::objectNotFound(loc.table);
    bool found = false;
    for (const auto& x : table->indexes)
        found = found || strcasecmp(x.name.c_str(), st.indexName.c_str()) == 0;
    if (!found)
        throw jet::error(3371);
    TableBuilder(db(), loc.schema).dropIndex(table->name, st.indexName);
    Metadata meta(db(), loc.schema);
    if (meta.present()) {
        meta.dropIndex(table->name, st.indexName);
        meta.touchTable(table->name);
    }
    storage_.forgetSchema(loc.schema, loc.table);
    return 0;
}

long SchemaChanges::selectInto(const sql::Statement& st, const ParameterValues& values)
{
    // Installable formats, and a database file that does not exist yet, take a writer.
    if (isForeignFormat(st.target.connect)
        || (!st.target.externalPath.empty() && !std::filesystem::exists(st.target.externalPath)))
        return exportToIsam(storage_, st, values);
    const Storage::Location loc = storage_.locate(st.target);
    if (storage_.isReadOnlySchema(loc.schema))
        throw jet::readOnly();
    {
        SqliteStatement existing(db(), "SELECT 1 FROM " + quoteIdentifier(loc.schema)
                                           + ".sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE");
        existing.bindText(1, loc.table);
        if (existing.step())
            throw jet::tableExists(loc.table);
    }
    SqliteStatement select = storage_.prepare(st, values);
    TableSchema t;
    t.name = loc.table;
    t.dateCreated = t.lastUpdated = jetNow();
    for (int i = 0; i < select.columnCount(); ++i) {
        ColumnSchema c;
        auto origin = storage_.originColumn(select.originDatabase(i), select.originTable(i), select.originColumn(i));
        if (origin) {
            c = *origin;
            c.attributes &= ~dbAutoIncrField;
            c.required = false;
            c.defaultValue.clear();
        } else {
            // A computed column takes the type of its expression, Text where the values would decide.
            const auto type = st.columns.size() == static_cast<size_t>(select.columnCount()) ? st.columns[i].type
                                                                                             : std::nullopt;
            c.type = static_cast<int>(type.value_or(sql::JetType::Text));
            c.size = c.type == dbText ? 255 : fixedSizeOf(c.type);
            c.attributes = fixedSizeOf(c.type) ? dbFixedField : dbVariableField;
        }
        c.name = select.columnName(i);
        t.columns.push_back(c);
    }
    Metadata meta(db(), loc.schema);
    if (!meta.present())
        meta.create();
    // All or nothing: a failure while copying leaves no half-filled table.
    long count = 0;
    SqliteStatement(db(), "SAVEPOINT jet_select_into").step();
    try {
        TableBuilder(db(), loc.schema).createTable(t, true);
        meta.writeTable(t);
        std::string insert = "INSERT INTO " + quoteIdentifier(loc.schema) + "." + quoteIdentifier(loc.table) + " VALUES (";
        for (size_t i = 0; i < t.columns.size(); ++i)
            insert += (i ? ", ?" : "?") + std::to_string(i + 1);
        insert += ")";
        SqliteStatement ins(db(), insert);
        while (select.step()) {
            ins.reset();
            for (int i = 0; i < select.columnCount(); ++i) {
                switch (select.columnStorage(i)) {
                case SQLITE_INTEGER: ins.bindInt(i + 1, select.columnInt(i)); break;
                case SQLITE_FLOAT: ins.bindDouble(i + 1, select.columnDouble(i)); break;
                case SQLITE_TEXT: ins.bindText(i + 1, select.columnText(i)); break;
                case SQLITE_BLOB: ins.bindBlob(i + 1, select.columnBlob(i)); break;
                default: ins.bindNull(i + 1); break;
                }
            }
            ins.step();
            ++count;
        }
        SqliteStatement(db(), "RELEASE jet_select_into").step();
    } catch (...) {
        sqlite3_exec(db(), "ROLLBACK TO jet_select_into; RELEASE jet_select_into", nullptr, nullptr, nullptr);
        storage_.forgetSchema(loc.schema, loc.table);
        throw;
    }
    storage_.forgetSchema(loc.schema, loc.table);
    // A table written into another database file: that file holds it on its
    // own at once (not only with its write-ahead log beside it), so that it
    // can be copied or sent while the program goes on running.
    if (loc.schema != "main" && sqlite3_get_autocommit(db()))
        sqlite3_exec(db(), ("PRAGMA " + quoteIdentifier(loc.schema) + ".wal_checkpoint(TRUNCATE)").c_str(), nullptr,
                     nullptr, nullptr);
    return count;
}

} // namespace dao
