#include "engine/AccessLoader.h"

#include "engine/DaoConstants.h"
#include "engine/DaoError.h"
#include "engine/MdbFile.h"
#include "engine/Metadata.h"
#include "engine/Savepoint.h"
#include "engine/SqliteStatement.h"
#include "engine/TableBuilder.h"
#include "engine/sql/Quote.h"

#include <algorithm>
#include <cmath>
#include <sqlite3.h>
#include <strings.h>

namespace dao {

using sql::quoteIdentifier;

int AccessLoader::sortColumn(const TableSchema& ts)
{
    auto numericColumn = [&](const std::string& name) {
        for (size_t i = 0; i < ts.columns.size(); ++i)
            if (strcasecmp(ts.columns[i].name.c_str(), name.c_str()) == 0) {
                const int type = ts.columns[i].type;
                const bool numeric = type == dbByte || type == dbInteger || type == dbLong || type == dbCurrency
                                     || type == dbSingle || type == dbDouble || type == dbDate;
                return numeric ? static_cast<int>(i) : -1;
            }
        return -1;
    };
    for (bool primaryOnly : {true, false})
        for (const auto& x : ts.indexes)
            if (!x.foreign && x.unique && x.fields.size() == 1 && !x.fields[0].second && (x.primary || !primaryOnly))
                if (const int column = numericColumn(x.fields[0].first); column >= 0)
                    return column;
    return -1;
}

void AccessLoader::load(MdbFile& mdb, const std::string& table) const
{
    TableSchema ts = mdb.schema(table);
    const size_t width = ts.columns.size();
    const int key = sortColumn(ts);
    // With a key: all rows first, width values each in the file's order, and the
    // key (nulls first) with each row's place, sorted. Rows in key order append to
    // the copy instead of landing at random, and a scan along the key visits the
    // copy's pages in order.
    std::vector<Variant> cells;
    std::vector<std::pair<double, size_t>> order;
    const ColumnSchema* rowid = nullptr;
    if (key >= 0) {
        const size_t rows = mdb.rowCount(ts.name);
        cells.reserve(rows * width);
        order.reserve(rows);
        mdb.readRows(ts.name, [&](std::vector<Variant>& row) {
            const Variant& k = row[key];
            order.emplace_back(k.isNull() ? -HUGE_VAL : k.toDouble(), order.size());
            for (auto& v : row)
                cells.push_back(std::move(v));
        });
        std::sort(order.begin(), order.end());
        // A whole-number key without nulls or repeats becomes the copy's rowid:
        // the rows are stored by it and it needs no index of its own.
        const int type = ts.columns[key].type;
        bool distinct = type == dbByte || type == dbInteger || type == dbLong;
        for (size_t i = 0; i < order.size() && distinct; ++i)
            distinct = order[i].first != -HUGE_VAL && (i == 0 || order[i].first != order[i - 1].first);
        if (distinct)
            rowid = &ts.columns[key];
    }
    Savepoint loading(db_, "jet_load");
    {
        TableBuilder builder(db_, schema_);
        builder.createTable(ts, false, rowid);
        std::string sql = "INSERT INTO " + quoteIdentifier(schema_) + "." + quoteIdentifier(ts.name) + " VALUES (";
        for (size_t i = 0; i < width; ++i)
            sql += i ? ", ?" : "?";
        sql += ")";
        SqliteStatement insert(db_, sql);
        auto insertRow = [&](const Variant* row) {
            for (size_t i = 0; i < width; ++i)
                insert.bind(static_cast<int>(i) + 1, row[i], false); // the row outlives the step
            insert.step();
            sqlite3_reset(insert.handle());
        };
        if (key < 0)
            mdb.readRows(ts.name, [&](std::vector<Variant>& row) { insertRow(row.data()); });
        for (const auto& entry : order)
            insertRow(cells.data() + entry.second * width);
        // Indexes after the rows: one sorted build each instead of a b-tree insert per row.
        for (const auto& x : ts.indexes) {
            if (x.foreign || (rowid && x.fields.size() == 1 && x.fields[0].first == rowid->name))
                continue; // lookups and scans along the rowid need no index
            try {
                builder.createIndex(ts.name, x);
            } catch (const DaoError&) {
                IndexSchema plain = x; // data that breaks a unique index still gets a usable one
                plain.unique = plain.primary = false;
                builder.createIndex(ts.name, plain);
            }
        }
        Metadata(db_, schema_).writeTable(ts);
    }
    loading.commit();
}

} // namespace dao
