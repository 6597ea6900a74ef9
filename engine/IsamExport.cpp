#include "engine/IsamExport.h"
#include "engine/IsamWriter.h"
#include "engine/ResultFields.h"
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
    for (const FieldInfo& f : resultFields(storage, select, st)) {
        // A column of open type (an expression Jet's rules give no type) takes
        // the type of its first value.
        const int i = int(columns.size());
        columns.push_back(f.type ? isam::Column{f.name, static_cast<sql::JetType>(f.type), f.size}
                                 : isam::Column{f.name, typeOfValue(select, i, haveRow), 255});
        types.push_back(f.type);
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
