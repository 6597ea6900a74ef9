#include "engine/TableDef.h"

#include "engine/DaoConstants.h"
#include "engine/Metadata.h"
#include "engine/ResultFields.h"
#include "engine/Storage.h"

namespace dao {

TableDef::TableDef(std::shared_ptr<Storage> storage, TableSchema schema)
    : storage_(std::move(storage)), schema_(std::move(schema))
{
    const bool writable = !storage_->readOnly();
    int ordinal = 0;
    for (const auto& c : schema_.columns) {
        FieldInfo f = fieldOfColumn(c, schema_.name);
        if (writable && !c.autoIncrement())
            f.attributes |= dbUpdatableField;
        fields_.append(std::make_shared<Field>(std::move(f), ordinal++));
    }
    for (const auto& x : schema_.indexes)
        indexes_.append(std::make_shared<Index>(x));
}

bool TableDef::updatable() const { return !storage_->readOnly() && !(schema_.attributes & dbSystemObject); }

long TableDef::recordCount() const
{
    const std::string qualified = storage_->resolveTable(sql::TableRef{schema_.name, {}, {}}).sql;
    SqliteStatement s(storage_->db(), "SELECT count(*) FROM " + qualified);
    s.step();
    return static_cast<long>(s.columnInt(0));
}

} // namespace dao
