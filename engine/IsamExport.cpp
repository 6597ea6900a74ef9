#include "engine/IsamExport.h"
#include "engine/IsamWriter.h"
#include "engine/ValueConversion.h"

namespace dao {

long exportToIsam(Storage& storage, const sql::Statement& st, const ParameterValues& values)
{
    SqliteStatement select = storage.prepare(st, values);
    std::vector<isam::Column> columns;
    std::vector<int> types;
    for (int i = 0; i < select.columnCount(); ++i) {
        // A column from no table (an expression) takes its values' own types.
        isam::Column c{select.columnName(i), sql::JetType::Text, 255};
        int type = 0;
        if (auto origin = storage.originColumn(select.originDatabase(i), select.originTable(i), select.originColumn(i))) {
            c.type = static_cast<sql::JetType>(origin->type);
            c.size = origin->size;
            type = origin->type;
        }
        columns.push_back(c);
        types.push_back(type);
    }
    auto writer = isam::openWriter(st.target.connect, st.target.externalPath, st.target.name, columns);
    long count = 0;
    std::vector<Variant> row(columns.size());
    while (select.step()) {
        for (size_t i = 0; i < columns.size(); ++i)
            row[i] = variantFromColumn(select, int(i), types[i]);
        writer->writeRow(row);
        ++count;
    }
    writer->finish();
    return count;
}

} // namespace dao
