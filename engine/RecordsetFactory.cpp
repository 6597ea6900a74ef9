#include "engine/RecordsetFactory.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/Metadata.h"
#include "engine/ValueConversion.h"

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
    checkRecordsetArguments(type, options, lockEdit);
    if (type == dbOpenTable)
        throw jet::illegalOperation(); // SQL never gives a table-type recordset
    if (options & dbForwardOnly)
        type = dbOpenForwardOnly;
    const sql::Statement st = storage_->translate(jetSql);
    if (st.kind != sql::StatementKind::Select)
        throw jet::illegalOperation();
    SqliteStatement select = storage_->prepare(st, values);
    std::vector<FieldInfo> fields = resultFields(select);
    const int width = select.columnCount();
    auto rows = std::make_unique<MaterializedRows>(static_cast<size_t>(width));
    while ((maxRecords <= 0 || static_cast<long>(rows->size()) < maxRecords) && select.step()) {
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
    settings.updatable = false; // read-only result; editable single-table dynasets come with the keyset editing
    return Recordset::create(storage_, std::move(fields), std::move(rows), settings);
}

std::shared_ptr<Recordset> RecordsetFactory::openTable(const std::string& table, int type, int options,
                                                       int lockEdit) const
{
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
    settings.options = options;
    settings.lockEdit = lockEdit;
    settings.updatable = !storage_->readOnly() && loc.schema == "main" && (settings.type == dbOpenTable || settings.type == dbOpenDynaset)
                     && !(options & dbReadOnly) && lockEdit != dbReadOnly;
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
        while (ids.step())
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
