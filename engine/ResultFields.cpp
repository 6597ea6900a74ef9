#include "engine/ResultFields.h"

#include "engine/DaoConstants.h"
#include "engine/SqliteStatement.h"
#include "engine/Storage.h"

namespace dao {

FieldInfo fieldOfColumn(const ColumnSchema& c, const std::string& table)
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
    f.sourceTable = table;
    f.sourceField = c.name;
    return f;
}

void settleType(FieldInfo& f, int type)
{
    f.type = type;
    f.size = type == dbText ? 255 : fixedSizeOf(type);
    f.attributes = fixedSizeOf(type) ? dbFixedField : dbVariableField;
}

std::vector<FieldInfo> resultFields(Storage& storage, const SqliteStatement& select, const sql::Statement& st)
{
    // The structure's columns stand beside SQLite's when both count the same.
    const bool typed = st.columns.size() == static_cast<size_t>(select.columnCount());
    std::vector<FieldInfo> fields;
    for (int i = 0; i < select.columnCount(); ++i) {
        FieldInfo f;
        const std::string table = select.originTable(i);
        if (auto origin = storage.originColumn(select.originDatabase(i), table, select.originColumn(i))) {
            f = fieldOfColumn(*origin, table);
        } else if (typed && st.columns[static_cast<size_t>(i)].type) {
            settleType(f, static_cast<int>(*st.columns[static_cast<size_t>(i)].type));
        } else {
            f.type = 0; // settled from the values
        }
        f.name = select.columnName(i);
        fields.push_back(std::move(f));
    }
    return fields;
}

} // namespace dao
