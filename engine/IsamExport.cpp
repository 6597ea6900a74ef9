#include "engine/IsamExport.h"
#include "engine/IsamWriter.h"
#include "engine/ValueConversion.h"

#include <sqlite3.h>

namespace dao {

namespace {

// The Jet type of a column from no table (an expression), from its first value.
sql::JetType typeOfValue(const SqliteStatement& select, int i, bool haveRow)
{
    switch (haveRow ? select.columnStorage(i) : SQLITE_NULL) {
    case SQLITE_INTEGER: {
        const long long v = select.columnInt(i);
        return v >= INT32_MIN && v <= INT32_MAX ? sql::JetType::Long : sql::JetType::Double;
    }
    case SQLITE_FLOAT: return sql::JetType::Double;
    case SQLITE_BLOB: return sql::JetType::LongBinary;
    default: return sql::JetType::Text;
    }
}

} // namespace

long exportToIsam(Storage& storage, const sql::Statement& st, const ParameterValues& values)
{
    SqliteStatement select = storage.prepare(st, values);
    // The first row is read before the writer opens: formats with typed fields
    // take an expression's type from it.
    bool haveRow = select.step();
    std::vector<isam::Column> columns;
    std::vector<int> types;
    for (int i = 0; i < select.columnCount(); ++i) {
        // A column from no table (an expression) takes its values' own types.
        isam::Column c{select.columnName(i), typeOfValue(select, i, haveRow), 255};
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
    for (; haveRow; haveRow = select.step()) {
        for (size_t i = 0; i < columns.size(); ++i)
            row[i] = variantFromColumn(select, int(i), types[i]);
        writer->writeRow(row);
        ++count;
    }
    writer->finish();
    return count;
}

} // namespace dao
