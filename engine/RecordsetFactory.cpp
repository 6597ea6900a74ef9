#include "engine/RecordsetFactory.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/Metadata.h"
#include "engine/ValueConversion.h"

#include <cctype>

namespace dao {

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

namespace {

FieldInfo infoFrom(const ColumnSchema& c)
{
    FieldInfo f;
    f.name = c.name;
    f.type = c.type;
    f.size = c.size;
    f.attributes = c.attributes;
    f.required = c.required;
    f.allowZeroLength = c.allowZeroLength;
    f.defaultValue = c.defaultValue;
    f.properties = c.properties;
    return f;
}

} // namespace

std::vector<FieldInfo> RecordsetFactory::resultFields(const SqliteStatement& select) const
{
    std::vector<FieldInfo> fields;
    for (int i = 0; i < select.columnCount(); ++i) {
        FieldInfo f;
        const std::string table = select.originTable(i);
        if (auto origin = storage_->originColumn(select.originDatabase(i), table, select.originColumn(i))) {
            f = infoFrom(*origin);
            f.sourceTable = table;
            f.sourceField = origin->name;
        } else {
            f.type = 0; // settled from the values below
        }
        f.name = select.columnName(i);
        fields.push_back(std::move(f));
    }
    return fields;
}

std::shared_ptr<Recordset> RecordsetFactory::openQuery(const std::string& jetSql, const ParameterValues& values,
                                                       int type, int options, int lockEdit, long maxRecords) const
{
    auto rs = runQuery(jetSql, values, type, options, lockEdit, maxRecords);
    RecordsetFactory factory(storage_);
    rs->setReopen([factory, jetSql, values, type, options, lockEdit, maxRecords] {
        return factory.runQuery(jetSql, values, type, options, lockEdit, maxRecords);
    });
    return rs;
}

std::shared_ptr<Recordset> RecordsetFactory::runQuery(const std::string& jetSql, const ParameterValues& values,
                                                      int type, int options, int lockEdit, long maxRecords) const
{
    checkRecordsetArguments(type, options, lockEdit);
    if (type == dbOpenTable)
        throw jet::illegalOperation(); // SQL never gives a table-type recordset
    if (options & dbDenyRead)
        throw jet::invalidArgument();
    if (options & dbForwardOnly)
        type = dbOpenForwardOnly;
    const sql::Statement st = storage_->translate(jetSql);
    if (st.kind != sql::StatementKind::Select)
        throw jet::illegalOperation();
    SqliteStatement select = storage_->prepare(st, values);
    std::vector<FieldInfo> fields = resultFields(select);
    if (type != dbOpenSnapshot && type != dbOpenForwardOnly && maxRecords <= 0)
        if (auto keyset = openQueryKeyset(jetSql, st, values, select, fields, options, lockEdit))
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
        f.type = sample ? jetTypeOfValue(*sample) : static_cast<int>(dbText);
        f.size = f.type == dbText ? 255 : fixedSizeOf(f.type);
        f.attributes = fixedSizeOf(f.type) ? dbFixedField : dbVariableField;
    }
    RecordsetSettings settings;
    settings.name = jetSql;
    settings.type = type == 0 ? dbOpenDynaset : type;
    settings.options = options;
    settings.lockEdit = lockEdit;
    settings.updatable = false; // a result held in memory: joins, grouping, snapshots, Access files
    return Recordset::create(storage_, std::move(fields), std::move(rows), settings);
}

namespace {

std::string upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

size_t occurrences(const std::string& text, const std::string& word)
{
    size_t n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

} // namespace

std::shared_ptr<Recordset> RecordsetFactory::openQueryKeyset(const std::string& jetSql, const sql::Statement& st,
                                                             const ParameterValues& values,
                                                             const SqliteStatement& select,
                                                             const std::vector<FieldInfo>& fields, int options,
                                                             int lockEdit) const
{
    // A dynaset over the plain columns of one local table is a keyset of that table's rowids in the
    // query's order, so that it can be edited. Grouping, DISTINCT, unions, joins and subqueries stay
    // read-only results (a word in a text literal may make a query read-only too: the safe side).
    if (storage_->readOnly() || fields.empty())
        return nullptr;
    const std::string table = select.originTable(0);
    for (int i = 0; i < select.columnCount(); ++i)
        if (select.originDatabase(i) != "main" || select.originTable(i) != table || select.originColumn(i).empty())
            return nullptr;
    const std::string text = upper(st.sql);
    if (text.rfind("SELECT ", 0) != 0 || occurrences(text, " FROM ") != 1 || occurrences(text, "SELECT") != 1)
        return nullptr;
    for (const char* word : {" GROUP BY ", " DISTINCT", " UNION", " HAVING ", " JOIN ", " INTERSECT", " EXCEPT"})
        if (text.find(word) != std::string::npos)
            return nullptr;
    const size_t from = text.find(" FROM ");
    const std::string source = quoteIdentifier("main") + "." + quoteIdentifier(table) + " AS ";
    if (upper(st.sql.substr(from + 6, source.size())) != upper(source))
        return nullptr;
    const size_t aliasAt = from + 6 + source.size();
    if (aliasAt >= st.sql.size() || st.sql[aliasAt] != '"')
        return nullptr;
    size_t aliasEnd = aliasAt + 1;
    while (aliasEnd < st.sql.size() && !(st.sql[aliasEnd] == '"' && (aliasEnd + 1 >= st.sql.size() || st.sql[aliasEnd + 1] != '"')))
        aliasEnd += st.sql[aliasEnd] == '"' ? 2 : 1;
    if (aliasEnd >= st.sql.size())
        return nullptr;
    const std::string rest = st.sql.substr(aliasEnd + 1);
    if (!rest.empty() && rest.rfind(" WHERE ", 0) != 0 && rest.rfind(" ORDER BY ", 0) != 0 && rest.rfind(" LIMIT ", 0) != 0)
        return nullptr; // a second table after a comma, or something else not understood
    const std::string alias = st.sql.substr(aliasAt, aliasEnd + 1 - aliasAt);
    auto schema = storage_->tableSchema("main", table);
    if (!schema)
        return nullptr;

    std::vector<std::int64_t> rowids;
    try {
        sql::Statement ids = st;
        ids.sql = "SELECT " + alias + ".rowid" + st.sql.substr(from);
        if (text.find(" ORDER BY ") == std::string::npos) {
            // Without an order the rows come in the table's order, as the full result would
            // (a bare rowid scan could otherwise walk a covering index instead).
            const size_t limit = upper(ids.sql).find(" LIMIT ");
            ids.sql.insert(limit == std::string::npos ? ids.sql.size() : limit, " ORDER BY " + alias + ".rowid");
        }
        SqliteStatement idSelect = storage_->prepare(ids, values);
        while (!(options & dbAppendOnly) && idSelect.step()) // append-only: only the rows added through it
            rowids.push_back(idSelect.columnInt(0));
    } catch (const DaoError&) {
        return nullptr; // parameters only in the column list, or rowid not reachable: keep the result read-only
    }
    const std::string qualified = quoteIdentifier("main") + "." + quoteIdentifier(table);
    RecordsetSettings settings;
    settings.name = jetSql;
    settings.type = dbOpenDynaset;
    settings.options = options;
    settings.lockEdit = lockEdit;
    settings.updatable = !(options & dbReadOnly) && lockEdit != dbReadOnly;
    if (settings.updatable)
        settings.writeTable = qualified;
    settings.baseTable = table;
    std::vector<FieldInfo> out = fields;
    std::vector<int> types;
    std::string columns;
    for (int i = 0; i < select.columnCount(); ++i) {
        const ColumnSchema* c = schema->column(select.originColumn(i));
        if (!c)
            return nullptr;
        if (settings.updatable && !c->autoIncrement())
            out[static_cast<size_t>(i)].attributes |= dbUpdatableField;
        types.push_back(out[static_cast<size_t>(i)].type);
        columns += (columns.empty() ? "" : ", ") + quoteIdentifier(select.originColumn(i));
    }
    SqliteStatement byRowid(storage_->db(), "SELECT " + columns + " FROM " + qualified + " WHERE rowid = ?1");
    auto rows = std::make_unique<TableKeyset>(std::move(rowids), std::move(byRowid), std::move(types));
    return Recordset::create(storage_, std::move(out), std::move(rows), settings);
}

std::shared_ptr<Recordset> RecordsetFactory::openTable(const std::string& table, int type, int options,
                                                       int lockEdit) const
{
    auto rs = runTable(table, type, options, lockEdit);
    RecordsetFactory factory(storage_);
    rs->setReopen([factory, table, type, options, lockEdit] { return factory.runTable(table, type, options, lockEdit); });
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
    if (settings.type == dbOpenTable || settings.type == dbOpenDynaset)
        settings.baseTable = schema->name;
    std::vector<FieldInfo> fields;
    std::vector<int> types;
    std::string columns;
    for (const auto& c : schema->columns) {
        FieldInfo f = infoFrom(c);
        f.sourceTable = schema->name;
        f.sourceField = c.name;
        if (settings.updatable && !c.autoIncrement())
            f.attributes |= dbUpdatableField;
        types.push_back(c.type);
        fields.push_back(std::move(f));
        columns += (columns.empty() ? "" : ", ") + quoteIdentifier(c.name);
    }
    std::unique_ptr<RowSource> rows;
    sqlite3* db = storage_->db();
    if (settings.type == dbOpenTable || settings.type == dbOpenDynaset) {
        std::vector<std::int64_t> rowids;
        SqliteStatement ids(db, "SELECT rowid FROM " + qualified + " ORDER BY rowid");
        while (!(options & dbAppendOnly) && ids.step()) // append-only: only the rows added through it
            rowids.push_back(ids.columnInt(0));
        SqliteStatement byRowid(db, "SELECT " + columns + " FROM " + qualified + " WHERE rowid = ?1");
        rows = std::make_unique<TableKeyset>(std::move(rowids), std::move(byRowid), std::move(types));
    } else {
        auto data = std::make_unique<MaterializedRows>(types.size());
        SqliteStatement all(db, "SELECT " + columns + " FROM " + qualified + " ORDER BY rowid");
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
