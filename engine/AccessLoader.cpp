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
#include <optional>
#include <sqlite3.h>
#include <strings.h>

namespace dao {

using sql::quoteIdentifier;

namespace {

// Stores rows of a fixed width many to a statement: one run of SQLite's
// program per batch instead of one per row. The values are bound without
// copying, so each row must stay in place until its batch is stored.
class RowInserter {
public:
    RowInserter(sqlite3* db, std::string head, size_t width) : db_(db), head_(std::move(head)), width_(width)
    {
        const auto parameters = static_cast<size_t>(sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, -1));
        batch_ = std::clamp<size_t>(parameters / std::max<size_t>(width, 1), 1, 64);
        pending_.reserve(batch_);
    }
    size_t batch() const { return batch_; }
    void add(const Variant* row)
    {
        pending_.push_back(row);
        if (pending_.size() == batch_)
            flush();
    }
    void flush()
    {
        if (pending_.empty())
            return;
        SqliteStatement& insert = statementFor(pending_.size());
        int index = 0;
        for (const Variant* row : pending_)
            for (size_t i = 0; i < width_; ++i)
                insert.bind(++index, row[i], false);
        insert.step();
        sqlite3_reset(insert.handle());
        pending_.clear();
    }

private:
    SqliteStatement& statementFor(size_t rows)
    {
        const bool full = rows == batch_;
        std::optional<SqliteStatement>& kept = full ? full_ : rest_;
        if (!kept || keptRows_[full] != rows) {
            std::string sql = head_ + " VALUES ";
            for (size_t r = 0; r < rows; ++r) {
                sql += r ? ", (" : "(";
                for (size_t i = 0; i < width_; ++i)
                    sql += i ? ", ?" : "?";
                sql += ")";
            }
            kept.reset();
            kept.emplace(db_, sql);
            keptRows_[full] = rows;
        }
        return *kept;
    }

    sqlite3* db_;
    std::string head_;
    size_t width_;
    size_t batch_ = 1;
    std::vector<const Variant*> pending_;
    std::optional<SqliteStatement> full_, rest_; // the batch's statement, the last short batch's
    size_t keptRows_[2] = {0, 0};
};

} // namespace

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
        if (!std::is_sorted(order.begin(), order.end())) // files written in key order need no sort
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
        RowInserter insert(db_, "INSERT INTO " + quoteIdentifier(schema_) + "." + quoteIdentifier(ts.name), width);
        // The reader refills its row: without a key each row is moved to a place
        // that lasts until its batch is stored.
        std::vector<Variant> kept(key < 0 ? insert.batch() * width : 0);
        if (key < 0) {
            size_t next = 0;
            mdb.readRows(ts.name, [&](std::vector<Variant>& row) {
                Variant* place = kept.data() + next * width;
                std::move(row.begin(), row.end(), place);
                insert.add(place);
                next = (next + 1) % insert.batch();
            });
        }
        // The rows are visited in key order, the file's order at random: fetch a
        // few rows ahead into the cache while the current ones are bound.
        constexpr size_t ahead = 16;
        const size_t rowBytes = width * sizeof(Variant);
        for (size_t j = 0; j < order.size(); ++j) {
            if (j + ahead < order.size()) {
                const char* next = reinterpret_cast<const char*>(cells.data() + order[j + ahead].second * width);
                for (size_t b = 0; b < rowBytes; b += 64)
                    __builtin_prefetch(next + b);
            }
            insert.add(cells.data() + order[j].second * width);
        }
        insert.flush();
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
