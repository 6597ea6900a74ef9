// Editing: AddNew, Edit, Update, CancelUpdate and Delete on table keysets. Update
// writes one statement; Edit+Update checks that nobody changed the row meanwhile.
#include "engine/Recordset.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/RowLocks.h"
#include "engine/Savepoint.h"
#include "engine/ValueConversion.h"
#include "engine/sql/Quote.h"

#include <optional>
#include <sqlite3.h>

namespace dao {

namespace {

std::optional<std::string> storedRow(Storage& storage, const std::string& table, std::int64_t rowid)
{
    SqliteStatement st = storage.statement("SELECT * FROM " + table + " WHERE rowid = ?1");
    st.bindInt(1, rowid);
    if (!st.step())
        return std::nullopt;
    std::string row;
    for (int i = 0; i < st.columnCount(); ++i) {
        const int storage = st.columnStorage(i);
        std::string bytes;
        if (storage == SQLITE_INTEGER) {
            bytes = std::to_string(st.columnInt(i));
        } else if (storage == SQLITE_FLOAT) {
            const double d = st.columnDouble(i);
            bytes.assign(reinterpret_cast<const char*>(&d), sizeof d);
        } else if (storage == SQLITE_TEXT) {
            bytes = st.columnText(i);
        } else if (storage == SQLITE_BLOB) {
            bytes = st.columnBlob(i);
        }
        row += std::to_string(storage) + ':' + std::to_string(bytes.size()) + ':' + bytes;
    }
    return row;
}

} // namespace

void Recordset::setLockEdits(bool pessimistic)
{
    checkOpen();
    pessimistic_ = pessimistic;
}

TableKeyset& Recordset::writableKeyset() const
{
    checkOpen();
    if (settings_.type == dbOpenSnapshot || settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    auto* keyset = dynamic_cast<TableKeyset*>(rows_.get());
    if (!settings_.updatable || !keyset || settings_.writeTable.empty() || storage_->readOnly())
        throw jet::readOnly();
    return *keyset;
}

void Recordset::discardEdit()
{
    if (!lockKey_.empty()) {
        rowlocks::release(lockKey_, this);
        lockKey_.clear();
    }
    editedRow_.clear();
    editMode_ = 0;
    editSlot_ = -1;
    buffer_.clear();
    dirty_.clear();
}

const std::vector<Variant>& Recordset::defaults()
{
    if (defaultsRead_)
        return defaults_;
    defaults_.assign(fields_.count(), Variant());
    for (int i = 0; i < fields_.count(); ++i) {
        const FieldInfo& f = fields_.item(i)->info();
        if (f.defaultValue.empty() || (f.attributes & dbAutoIncrField))
            continue;
        try { // the default is the SQL expression the table was created with
            SqliteStatement st(storage_->db(), "SELECT (" + f.defaultValue + ")");
            if (st.step())
                defaults_[static_cast<size_t>(i)] = variantFromColumn(st, 0, f.type);
        } catch (const DaoError&) {
            // an expression SQLite cannot evaluate alone is left to the INSERT
        }
    }
    defaultsRead_ = true;
    return defaults_;
}

void Recordset::addNew()
{
    writableKeyset();
    discardEdit(); // a second AddNew throws the first buffer away
    buffer_ = defaults();
    dirty_.assign(buffer_.size(), false);
    editMode_ = dbEditAdd;
}

void Recordset::edit()
{
    TableKeyset& keyset = writableKeyset();
    if (editMode_ != 0)
        throw jet::editAlreadyUsed();
    if (bof_ || eof_)
        throw jet::noCurrentRecord();
    const auto slot = static_cast<size_t>(slot_);
    if (keyset.deleted(slot))
        throw jet::recordDeleted();
    const std::int64_t rowid = keyset.rowid(slot);
    if (pessimistic_) { // 3188 while another recordset edits the row; optimistic locking waits for Update
        const std::string key = rowlocks::key(*storage_, settings_.writeTable, rowid);
        rowlocks::take(key, this);
        lockKey_ = key;
    }
    try {
        // Edit starts from the row as it is now, which others may have changed since it was read.
        std::optional<std::string> stored = storedRow(*storage_, settings_.writeTable, rowid);
        if (!stored)
            throw jet::recordDeleted();
        buffer_ = keyset.readRow(slot);
        editedRow_ = std::move(*stored);
    } catch (...) {
        discardEdit();
        throw;
    }
    keyset.refresh();
    dirty_.assign(buffer_.size(), false);
    editSlot_ = slot_;
    editMode_ = dbEditInProgress;
}

void Recordset::setValue(int index, const Variant& value)
{
    checkOpen();
    if (index < 0 || index >= fields_.count())
        throw jet::itemNotFound();
    if (editMode_ == 0)
        throw jet::noEditPending();
    const FieldInfo& f = fields_.item(index)->info();
    if (f.attributes & dbAutoIncrField)
        throw jet::fieldNotUpdatable();
    buffer_[static_cast<size_t>(index)] = convertForField(f, value);
    dirty_[static_cast<size_t>(index)] = true;
}

void Recordset::setValue(const std::string& name, const Variant& value)
{
    setValue(field(name)->ordinalPosition(), value);
}

void Recordset::update()
{
    checkOpen();
    if (editMode_ == 0)
        throw jet::noEditPending();
    TableKeyset& keyset = writableKeyset();
    sqlite3* db = storage_->db();
    std::vector<size_t> changed;
    for (size_t i = 0; i < dirty_.size(); ++i)
        if (dirty_[i])
            changed.push_back(i);
    auto column = [&](size_t i) { return sql::quoteIdentifier(fields_.item(static_cast<int>(i))->sourceField()); };
    // One statement: SQLite runs it as its own transaction (or inside the caller's BeginTrans).
    if (editMode_ == dbEditAdd) {
        std::string sql = "INSERT INTO " + settings_.writeTable;
        if (changed.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            std::string names, marks;
            for (size_t n = 0; n < changed.size(); ++n) {
                names += (n ? ", " : "") + column(changed[n]);
                marks += (n ? ", ?" : "?") + std::to_string(n + 1);
            }
            sql += " (" + names + ") VALUES (" + marks + ")";
        }
        SqliteStatement insert = storage_->statement(sql);
        for (size_t n = 0; n < changed.size(); ++n)
            insert.bind(static_cast<int>(n + 1), buffer_[changed[n]]);
        insert.step();
        keyset.append(sqlite3_last_insert_rowid(db));
        lastModified_ = static_cast<long>(keyset.size()) - 1;
        if (eof_) // the cursor stays past the end, which has moved
            slot_ = static_cast<long>(keyset.size());
        if (bof_ && eof_) // the first row of an empty set: BOF goes, EOF stays
            bof_ = false;
    } else {
        const std::int64_t rowid = keyset.rowid(static_cast<size_t>(editSlot_));
        rowlocks::checkFree(*storage_, settings_.writeTable, rowid, this);
        if (!changed.empty()) {
            Savepoint transaction(db, "jet_update", Savepoint::Start::Immediate);
            // The row must still be as Edit read it: a change by another recordset or program meanwhile
            // stops the Update (the edit stays pending; Move 0 shows the other change and drops this one).
            const std::optional<std::string> stored = storedRow(*storage_, settings_.writeTable, rowid);
            if (!stored)
                throw jet::recordDeleted();
            if (*stored != editedRow_)
                throw jet::dataChanged();
            std::string sql = "UPDATE " + settings_.writeTable + " SET ";
            for (size_t n = 0; n < changed.size(); ++n)
                sql += (n ? ", " : "") + column(changed[n]) + " = ?" + std::to_string(n + 1);
            sql += " WHERE rowid = ?" + std::to_string(changed.size() + 1);
            SqliteStatement upd = storage_->statement(sql);
            for (size_t n = 0; n < changed.size(); ++n)
                upd.bind(static_cast<int>(n + 1), buffer_[changed[n]]);
            upd.bindInt(static_cast<int>(changed.size() + 1), rowid);
            upd.step();
            if (sqlite3_changes(db) == 0)
                throw jet::recordDeleted(); // deleted by someone else meanwhile
            transaction.commit();
        }
        lastModified_ = editSlot_;
    }
    discardEdit();
}

void Recordset::cancelUpdate()
{
    checkOpen();
    if (editMode_ == 0)
        throw jet::noEditPending();
    discardEdit();
}

void Recordset::deleteCurrent()
{
    TableKeyset& keyset = writableKeyset();
    if (bof_ || eof_)
        throw jet::noCurrentRecord();
    const auto slot = static_cast<size_t>(slot_);
    if (keyset.deleted(slot))
        throw jet::recordDeleted();
    rowlocks::checkFree(*storage_, settings_.writeTable, keyset.rowid(slot), this);
    discardEdit();
    sqlite3* db = storage_->db();
    SqliteStatement del = storage_->statement("DELETE FROM " + settings_.writeTable + " WHERE rowid = ?1");
    del.bindInt(1, keyset.rowid(slot));
    del.step();
    if (sqlite3_changes(db) == 0)
        throw jet::recordDeleted();
    keyset.markDeleted(slot);
}

} // namespace dao
