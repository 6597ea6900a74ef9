#include "engine/IsamExport.h"
#include "engine/IsamWriter.h"
#include "engine/ResultFields.h"
#include "engine/ValueConversion.h"

namespace dao {

long exportToIsam(Storage& storage, const sql::Statement& st, const ParameterValues& values)
{
    SqliteStatement select = storage.prepare(st, values);
    std::vector<isam::Column> columns;
    std::vector<int> types;
    for (const FieldInfo& f : resultFields(storage, select, st)) {
        // A column of open type (its values decide each time) is written as text.
        columns.push_back(f.type ? isam::Column{f.name, static_cast<sql::JetType>(f.type), f.size}
                                 : isam::Column{f.name, sql::JetType::Text, 255});
        types.push_back(f.type);
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
