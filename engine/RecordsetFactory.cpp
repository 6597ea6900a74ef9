#include "engine/RecordsetFactory.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/Metadata.h"
#include "engine/ResultFields.h"
#include "engine/ValueConversion.h"
#include "engine/sql/Quote.h"

#include <strings.h>

namespace dao {

using sql::quoteIdentifier;

void checkRecordsetArguments(int type, int options, int lockEdit)
{
    if (type == dbOpenDynamic)
        throw jet::notSupported();
    if (type != 0 && type != dbOpenTable && type != dbOpenDynaset && type != dbOpenSnapshot
        && type != dbOpenForwardOnly)
        throw jet::invalidArgument();
    if ((options & dbInconsistent) && (options & dbConsistent))
        throw jet::invalidArgument();
    if ((options & dbReadOnly) && lockEdit == dbReadOnly)
        throw jet::invalidArgument();
    if (lockEdit < 0 || lockEdit > dbOptimisticBatch)
        throw jet::invalidArgument();
    // Only a dynaset appends without showing the table's rows; a read-only one could not append at all.
    if ((options & dbAppendOnly)
        && ((type != 0 && type != dbOpenDynaset) || (options & (dbForwardOnly | dbReadOnly)) || lockEdit == dbReadOnly))
        throw jet::invalidArgument();
    if ((options & dbDenyRead) && type != 0 && type != dbOpenTable) // others may not read: table-type only
        throw jet::invalidArgument();
}

sql::Statement RecordsetFactory::statementOf(const RecordsetSource& source) const
{
    sql::Statement st =
        storage_->translateWithSlots(source.table ? "SELECT * FROM " + sql::jetName(source.text) : source.text);
    for (const auto& [filter, sort] : source.refinements)
        if (!filter.empty() || !sort.empty())
            st = storage_->refine(st, filter, sort);
    return st;
}

std::shared_ptr<Recordset> RecordsetFactory::openQuery(const std::string& jetSql, const ParameterValues& values,
                                                       int type, int options, int lockEdit, long maxRecords) const
{
    RecordsetSource source{jetSql, false, {}, values};
    auto rs = runSource(source, type, options, lockEdit, maxRecords);
    rs->setReopen([factory = *this, source, type, options, lockEdit, maxRecords] {
        return factory.runSource(source, type, options, lockEdit, maxRecords);
    });
    return rs;
}

std::shared_ptr<Recordset> RecordsetFactory::openSource(const RecordsetSource& source, int type, int options,
                                                        int lockEdit) const
{
    auto rs = runSource(source, type, options, lockEdit, 0);
    rs->setReopen([factory = *this, source, type, options, lockEdit] {
        return factory.runSource(source, type, options, lockEdit, 0);
    });
    return rs;
}

std::shared_ptr<Recordset> RecordsetFactory::runSource(const RecordsetSource& source, int type, int options,
                                                       int lockEdit, long maxRecords) const
{
    checkRecordsetArguments(type, options, lockEdit);
    if (type == dbOpenTable)
        throw jet::illegalOperation(); // SQL never gives a table-type recordset
    if (options & dbDenyRead)
        throw jet::invalidArgument();
    if (options & dbForwardOnly)
        type = dbOpenForwardOnly;
    const sql::Statement st = statementOf(source);
    if (st.kind != sql::StatementKind::Select)
        throw jet::illegalOperation();
    SqliteStatement select = storage_->prepare(st, source.values);
    std::vector<FieldInfo> fields = resultFields(*storage_, select, st);
    if (type != dbOpenSnapshot && type != dbOpenForwardOnly && maxRecords <= 0)
        if (auto keyset = openKeyset(source, st, select, fields, options, lockEdit))
            return keyset;
    const int width = select.columnCount();
    auto rows = std::make_unique<MaterializedRows>(static_cast<size_t>(width));
    // An append-only recordset shows none of the rows there are; this one cannot append either.
    while (!(options & dbAppendOnly) && (maxRecords <= 0 || static_cast<long>(rows->size()) < maxRecords)
           && select.step()) {
        Variant* row = rows->appendRow();
        for (int i = 0; i < width; ++i)
            row[i] = variantFromColumn(select, i, fields[i].type);
    }
    for (int i = 0; i < width; ++i) {
        FieldInfo& f = fields[i];
        if (f.type != 0)
            continue;
        const Variant* sample = rows->firstNonNull(static_cast<size_t>(i));
        settleType(f, sample ? jetTypeOfValue(*sample) : static_cast<int>(dbText));
    }
    RecordsetSettings settings;
    settings.name = source.text;
    settings.type = type == 0 ? dbOpenDynaset : type;
    settings.options = options;
    settings.lockEdit = lockEdit;
    settings.updatable = false; // a result held in memory: joins, grouping, snapshots, Access files
    settings.fromTable = source.table;
    settings.source = source;
    return Recordset::create(storage_, std::move(fields), std::move(rows), settings);
}

std::shared_ptr<Recordset> RecordsetFactory::openKeyset(const RecordsetSource& source, const sql::Statement& st,
                                                        const SqliteStatement& select,
                                                        const std::vector<FieldInfo>& fields, int options,
                                                        int lockEdit) const
{
    const auto editable = st.editable();
    if (!editable || editable->schema != "main" || storage_->readOnly() || fields.empty())
        return nullptr;
    auto schema = storage_->tableSchema("main", editable->table);
    if (!schema)
        return nullptr;
    for (int i = 0; i < select.columnCount(); ++i)
        if (select.originDatabase(i) != "main" || strcasecmp(select.originTable(i).c_str(), schema->name.c_str()) != 0
            || !schema->column(select.originColumn(i)))
            return nullptr;
    std::vector<std::int64_t> rowids;
    {
        SqliteStatement ids = storage_->prepare(storage_->keysetSql(st), st, source.values);
        while (!(options & dbAppendOnly) && ids.step()) // append-only: only the rows added through it
            rowids.push_back(ids.columnInt(0));
    }
    const std::string qualified = quoteIdentifier("main") + "." + quoteIdentifier(schema->name);
    RecordsetSettings settings;
    settings.name = source.text;
    settings.type = dbOpenDynaset;
    settings.options = options;
    settings.lockEdit = lockEdit;
    settings.updatable = !(options & dbReadOnly) && lockEdit != dbReadOnly;
    if (settings.updatable)
        settings.writeTable = qualified;
    settings.baseTable = schema->name;
    settings.fromTable = source.table;
    settings.source = source;
    std::vector<FieldInfo> out = fields;
    std::vector<int> types;
    std::string columns;
    for (int i = 0; i < select.columnCount(); ++i) {
        const ColumnSchema* c = schema->column(select.originColumn(i));
        if (settings.updatable && !c->autoIncrement())
            out[static_cast<size_t>(i)].attributes |= dbUpdatableField;
        types.push_back(out[static_cast<size_t>(i)].type);
        columns += (columns.empty() ? "" : ", ") + quoteIdentifier(select.originColumn(i));
    }
    SqliteStatement byRowid = storage_->statement("SELECT " + columns + " FROM " + qualified + " WHERE rowid = ?1");
    auto rows = std::make_unique<TableKeyset>(std::move(rowids), std::move(byRowid), std::move(types));
    return Recordset::create(storage_, std::move(out), std::move(rows), settings);
}

std::shared_ptr<Recordset> RecordsetFactory::openTable(const std::string& table, int type, int options,
                                                       int lockEdit) const
{
    auto rs = runTable(table, type, options, lockEdit);
    rs->setReopen([factory = *this, table, type, options, lockEdit] {
        return factory.runTable(table, type, options, lockEdit);
    });
    return rs;
}

std::shared_ptr<Recordset> RecordsetFactory::runTable(const std::string& table, int type, int options,
                                                      int lockEdit) const
{
    if (type == 0 && (options & dbAppendOnly))
        type = dbOpenDynaset; // a table name gives a table-type recordset, which cannot be append-only
    checkRecordsetArguments(type, options, lockEdit);
    if (options & dbForwardOnly)
        type = dbOpenForwardOnly;
    const Storage::Location loc = storage_->locate(sql::TableRef{table, {}, {}});
    auto schema = storage_->tableSchema(loc.schema, loc.table);
    if (!schema || Metadata::isMetadataTable(loc.table)) // a table type names an object, others an input
        throw type == dbOpenTable ? jet::objectNotFound(table) : jet::inputTableNotFound(table);
    const std::string qualified = quoteIdentifier(loc.schema) + "." + quoteIdentifier(schema->name);
    RecordsetSettings settings;
    settings.name = schema->name;
    settings.type = type == 0 ? dbOpenTable : type;
    settings.fromTable = true;
    settings.options = options;
    settings.lockEdit = lockEdit;
    settings.updatable = !storage_->readOnly() && loc.schema == "main" && (settings.type == dbOpenTable || settings.type == dbOpenDynaset)
                     && !(options & dbReadOnly) && lockEdit != dbReadOnly;
    if (settings.updatable)
        settings.writeTable = qualified;
    settings.sqliteTable = qualified;
    settings.schema = loc.schema;
    settings.source = RecordsetSource{schema->name, true, {}, {}};
    if (settings.type == dbOpenTable || settings.type == dbOpenDynaset)
        settings.baseTable = schema->name;
    std::vector<FieldInfo> fields;
    std::vector<int> types;
    std::string columns;
    for (const auto& c : schema->columns) {
        FieldInfo f = fieldOfColumn(c, schema->name);
        if (settings.updatable && !c.autoIncrement())
            f.attributes |= dbUpdatableField;
        types.push_back(c.type);
        fields.push_back(std::move(f));
        columns += (columns.empty() ? "" : ", ") + quoteIdentifier(c.name);
    }
    std::unique_ptr<RowSource> rows;
    if (settings.type == dbOpenTable || settings.type == dbOpenDynaset) {
        std::vector<std::int64_t> rowids;
        {
            SqliteStatement ids = storage_->statement("SELECT rowid FROM " + qualified + " ORDER BY rowid");
            while (!(options & dbAppendOnly) && ids.step()) // append-only: only the rows added through it
                rowids.push_back(ids.columnInt(0));
        }
        SqliteStatement byRowid = storage_->statement("SELECT " + columns + " FROM " + qualified + " WHERE rowid = ?1");
        rows = std::make_unique<TableKeyset>(std::move(rowids), std::move(byRowid), std::move(types));
    } else {
        auto data = std::make_unique<MaterializedRows>(types.size());
        SqliteStatement all = storage_->statement("SELECT " + columns + " FROM " + qualified + " ORDER BY rowid");
        while (all.step()) {
            Variant* row = data->appendRow();
            for (size_t i = 0; i < types.size(); ++i)
                row[i] = variantFromColumn(all, static_cast<int>(i), types[i]);
        }
        rows = std::move(data);
    }
    return Recordset::create(storage_, std::move(fields), std::move(rows), settings);
}

} // namespace dao
