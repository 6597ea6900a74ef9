// Sort and Filter (a new recordset over the refined statement), FindFirst/
// Last/Next/Previous, and Index and Seek on table-type recordsets.
#include "engine/Recordset.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/RecordsetFactory.h"
#include "engine/ValueConversion.h"
#include "engine/sql/Quote.h"

#include <set>
#include <strings.h>
#include <unordered_set>

namespace dao {

using sql::quoteIdentifier;

namespace {

// A row's values as one comparable text, for matching rows without identities.
std::string rowKey(const Variant* row, size_t width)
{
    std::string key;
    for (size_t i = 0; i < width; ++i) {
        const Variant& v = row[i];
        key += static_cast<char>('A' + static_cast<int>(v.type()));
        if (v.type() == VarType::Text || v.type() == VarType::Binary || v.type() == VarType::Guid)
            key += v.bytes();
        else if (!v.isNull())
            key += formatDouble(v.toDouble());
        key += '\x1f';
    }
    return key;
}

} // namespace

void Recordset::setSort(const std::string& sort)
{
    checkOpen();
    if (settings_.type == dbOpenTable || settings_.type == dbOpenForwardOnly)
        throw jet::notSupported(); // a table-type recordset sorts by its Index
    sort_ = sort;
}

void Recordset::setFilter(const std::string& filter)
{
    checkOpen();
    if (settings_.type == dbOpenTable)
        throw jet::notSupported();
    filter_ = filter;
}

std::shared_ptr<Recordset> Recordset::openRecordset(int type, int options)
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    if (type == 0)
        type = settings_.type == dbOpenTable ? static_cast<int>(dbOpenDynaset) : settings_.type;
    // The sorted or filtered copy runs the source's statement with the filter and sort put into it
    // (sql::refine), and locks its rows the way its source does.
    RecordsetSource source = settings_.source;
    if (!filter_.empty() || !sort_.empty())
        source.refinements.emplace_back(filter_, sort_);
    const int lockEdit = pessimistic_ ? dbPessimistic : dbOptimistic;
    return RecordsetFactory(storage_).openSource(source, type, options, lockEdit);
}

void Recordset::find(const std::string& criteria, long from, int step)
{
    checkOpen();
    if (settings_.type == dbOpenTable || settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    const long size = static_cast<long>(rows_->size());
    auto* keyset = dynamic_cast<TableKeyset*>(rows_.get());
    bool plainNames = keyset && !settings_.baseTable.empty();
    for (int i = 0; plainNames && i < fields_.count(); ++i)
        plainNames = fields_.item(i)->name() == fields_.item(i)->sourceField();
    std::function<bool(long)> matches;
    std::unordered_set<std::int64_t> rowids;
    std::unordered_set<std::string> rowsFound;
    const RecordsetFactory factory(storage_);
    if (plainNames) {
        // The criteria runs on the table: the rowids it selects mark the matching slots.
        RecordsetSource table{settings_.baseTable, true, {{criteria, ""}}, settings_.source.values};
        const sql::Statement st = factory.statementOf(table);
        SqliteStatement select = storage_->prepare(storage_->keysetSql(st, false), st, table.values);
        while (select.step())
            rowids.insert(select.columnInt(0));
        matches = [&](long slot) { return rowids.count(keyset->rowid(static_cast<size_t>(slot))) > 0; };
    } else {
        // The criteria runs on the source; a slot matches when its values equal a row it selected.
        RecordsetSource source = settings_.source;
        source.refinements.emplace_back(criteria, "");
        const sql::Statement st = factory.statementOf(source);
        SqliteStatement select = storage_->prepare(st, source.values);
        const size_t width = rows_->width();
        std::vector<Variant> values(width);
        while (select.step()) {
            for (size_t i = 0; i < width && static_cast<int>(i) < select.columnCount(); ++i)
                values[i] = variantFromColumn(select, static_cast<int>(i), fields_.item(static_cast<int>(i))->type());
            rowsFound.insert(rowKey(values.data(), width));
        }
        matches = [&](long slot) {
            return rowsFound.count(rowKey(rows_->row(static_cast<size_t>(slot)), rows_->width())) > 0;
        };
    }
    for (long s = from; s >= 0 && s < size; s += step) {
        if (rows_->deleted(static_cast<size_t>(s)))
            continue;
        bool hit = false;
        try {
            hit = matches(s);
        } catch (const DaoError& e) {
            if (e.number() != 3167) // a row deleted meanwhile cannot match
                throw;
        }
        if (hit) {
            discardEdit();
            noMatch_ = false;
            land(s);
            return;
        }
    }
    noMatch_ = true; // the cursor stays where it was
}

void Recordset::findFirst(const std::string& criteria)
{
    find(criteria, 0, 1);
}

void Recordset::findLast(const std::string& criteria)
{
    checkOpen();
    visited_ = std::max(visited_, static_cast<long>(rows_->size())); // FindLast populates the set
    find(criteria, static_cast<long>(rows_->size()) - 1, -1);
}

void Recordset::findNext(const std::string& criteria)
{
    checkOpen();
    find(criteria, bof_ ? 0 : eof_ ? static_cast<long>(rows_->size()) : slot_ + 1, 1);
}

void Recordset::findPrevious(const std::string& criteria)
{
    checkOpen();
    find(criteria, bof_ ? -1 : eof_ ? static_cast<long>(rows_->size()) - 1 : slot_ - 1, -1);
}

void Recordset::applyIndexOrder()
{
    std::string order;
    for (const auto& [column, descending] : indexFields_)
        order += quoteIdentifier(column) + (descending ? " DESC, " : ", ");
    std::vector<std::int64_t> rowids;
    SqliteStatement ids(storage_->db(), "SELECT rowid FROM " + settings_.sqliteTable + " ORDER BY " + order + "rowid");
    while (ids.step())
        rowids.push_back(ids.columnInt(0));
    std::string columns;
    std::vector<int> types;
    for (int i = 0; i < fields_.count(); ++i) {
        columns += (i ? ", " : "") + quoteIdentifier(fields_.item(i)->sourceField());
        types.push_back(fields_.item(i)->type());
    }
    SqliteStatement byRowid(storage_->db(),
                            "SELECT " + columns + " FROM " + settings_.sqliteTable + " WHERE rowid = ?1");
    const std::uint8_t family = rows_->family();
    rows_ = std::make_shared<TableKeyset>(std::move(rowids), std::move(byRowid), std::move(types));
    rows_->setFamily(family);
    baseSize_ = rows_->size();
    lastModified_ = -1;
    slot_ = -1;
    bof_ = eof_ = true;
    if (rows_->size() > 0)
        land(0);
}

void Recordset::setIndex(const std::string& name)
{
    checkOpen();
    if (settings_.type != dbOpenTable || settings_.sqliteTable.empty())
        throw jet::notSupported();
    auto schema = storage_->tableSchema("main", settings_.name);
    const IndexSchema* found = nullptr;
    if (schema)
        for (const auto& x : schema->indexes)
            if (strcasecmp(x.name.c_str(), name.c_str()) == 0)
                found = &x;
    if (!found || settings_.schema != "main")
        throw jet::notAnIndex(name);
    discardEdit();
    index_ = found->name;
    indexFields_ = found->fields;
    applyIndexOrder();
}

void Recordset::seek(const std::string& comparison, const std::vector<Variant>& keys)
{
    checkOpen();
    if (settings_.type != dbOpenTable)
        throw jet::notSupported();
    if (index_.empty())
        throw jet::noCurrentIndex();
    static const std::set<std::string> ops{"=", ">=", ">", "<=", "<"};
    if (!ops.count(comparison) || keys.empty() || keys.size() > indexFields_.size() || keys.size() > 13)
        throw jet::invalidArgument();
    auto* keyset = dynamic_cast<TableKeyset*>(rows_.get());
    if (!keyset)
        throw jet::notSupported();
    // Keys left out count as Null. Null is the smallest value: first in an ascending
    // field, last in a descending one, and equal to Null. The row sought is the
    // first (forward) or last (backward) whose key, compared field by field in
    // index order, stands after (before) the keys, or equals them when inclusive.
    std::vector<Variant> full = keys;
    full.resize(indexFields_.size());
    const bool forward = comparison[0] != '<';
    const bool inclusive = comparison.find('=') != std::string::npos;
    auto column = [&](size_t i) { return quoteIdentifier(indexFields_[i].first); };
    auto param = [](size_t i) { return "?" + std::to_string(i + 1); };
    auto same = [&](size_t i) { return column(i) + " IS " + param(i); };
    // The field's value lies beyond the key in the direction sought.
    auto beyond = [&](size_t i) -> std::string {
        const bool greater = forward != indexFields_[i].second; // in value order
        if (full[i].isNull())
            return greater ? column(i) + " IS NOT NULL" : "0";
        return greater ? column(i) + " > " + param(i) : "(" + column(i) + " IS NULL OR " + column(i) + " < " + param(i) + ")";
    };
    std::string where;
    if (comparison == "=") {
        for (size_t i = 0; i < full.size(); ++i)
            where += (i ? " AND " : "") + same(i);
    } else {
        for (size_t i = 0; i < full.size(); ++i) {
            std::string term;
            for (size_t j = 0; j < i; ++j)
                term += same(j) + " AND ";
            where += (i ? " OR (" : "(") + term + beyond(i) + ")";
        }
        if (inclusive) {
            where += " OR (";
            for (size_t i = 0; i < full.size(); ++i)
                where += (i ? " AND " : "") + same(i);
            where += ")";
        }
    }
    std::string order;
    for (const auto& [name, descending] : indexFields_)
        order += quoteIdentifier(name) + ((descending != !forward) ? " DESC, " : ", ");
    order += forward ? "rowid" : "rowid DESC";
    SqliteStatement select(storage_->db(), "SELECT rowid FROM " + settings_.sqliteTable + " WHERE " + where
                                               + " ORDER BY " + order + " LIMIT 1");
    for (size_t i = 0; i < full.size(); ++i) {
        const auto f = fields_.find(indexFields_[i].first);
        select.bind(static_cast<int>(i + 1), f && !full[i].isNull() ? convertForField(f->info(), full[i]) : full[i]);
    }
    discardEdit();
    if (select.step()) {
        const std::int64_t rowid = select.columnInt(0);
        for (size_t s = 0; s < keyset->size(); ++s) {
            if (keyset->rowid(s) == rowid && !keyset->deleted(s)) {
                noMatch_ = false;
                land(static_cast<long>(s));
                return;
            }
        }
    }
    noMatch_ = true;
}

} // namespace dao
