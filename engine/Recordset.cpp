#include "engine/Recordset.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/Metadata.h"
#include "engine/RecordsetFactory.h"
#include "engine/SqliteErrors.h"
#include "engine/Storage.h"
#include "engine/ValueConversion.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <strings.h>
#include <sqlite3.h>
#include <unordered_set>

namespace dao {

std::shared_ptr<Recordset> Recordset::create(std::shared_ptr<Storage> storage, std::vector<FieldInfo> fields,
                                             std::unique_ptr<RowSource> rows, RecordsetSettings settings)
{
    return create(std::move(storage), std::move(fields), std::shared_ptr<RowSource>(std::move(rows)),
                  std::move(settings), true);
}

std::shared_ptr<Recordset> Recordset::create(std::shared_ptr<Storage> storage, std::vector<FieldInfo> fields,
                                             std::shared_ptr<RowSource> rows, RecordsetSettings settings,
                                             bool landOnFirst)
{
    std::shared_ptr<Recordset> rs(new Recordset);
    rs->storage_ = std::move(storage);
    rs->settings_ = std::move(settings);
    rs->rows_ = std::move(rows);
    rs->baseSize_ = rs->rows_->size();
    rs->pessimistic_ = rs->settings_.lockEdit == 0 || rs->settings_.lockEdit == dbPessimistic;
    int ordinal = 0;
    for (auto& info : fields)
        rs->fields_.append(std::make_shared<Field>(std::move(info), ordinal++, rs->weak_from_this()));
    if (landOnFirst) {
        const long first = rs->liveFrom(0, 1);
        if (first < static_cast<long>(rs->rows_->size()))
            rs->land(first); // OpenRecordset makes the first row current
    } else if (rs->rows_->size() > 0) {
        rs->eof_ = false; // before the first row: MoveNext and MoveFirst reach it
    }
    return rs;
}

Recordset::~Recordset()
{
    unlockRow();
}

void Recordset::checkOpen() const
{
    if (!open_ || !storage_->isOpen())
        throw jet::objectInvalid();
}

size_t Recordset::size() const
{
    checkOpen();
    return rows_->size();
}

RowSource& Recordset::rows() const
{
    checkOpen();
    return *rows_;
}

void Recordset::land(long slot)
{
    slot_ = slot;
    bof_ = eof_ = false;
    visited_ = std::max(visited_, slot + 1);
}

bool Recordset::bof() const
{
    checkOpen();
    return bof_;
}

bool Recordset::eof() const
{
    checkOpen();
    return eof_;
}

long Recordset::recordCount() const
{
    checkOpen();
    const size_t size = rows_->size();
    const size_t deleted = rows_->deletedBefore(SIZE_MAX);
    if (settings_.type == dbOpenTable)
        return static_cast<long>(size - deleted);
    // Rows visited so far of those present at open, plus every row added since, less own deletes among them.
    const size_t base = std::min(static_cast<size_t>(visited_), baseSize_);
    const size_t deletedCounted = rows_->deletedBefore(base) + (deleted - rows_->deletedBefore(baseSize_));
    return static_cast<long>(base + (size - baseSize_) - deletedCounted);
}

long Recordset::absolutePosition() const
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly || settings_.type == dbOpenTable)
        throw jet::notSupported();
    if (bof_ || eof_)
        return -1;
    if (rows_->deleted(static_cast<size_t>(slot_)))
        throw jet::recordDeleted();
    return slot_ - static_cast<long>(rows_->deletedBefore(static_cast<size_t>(slot_)));
}

double Recordset::percentPosition() const
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    const long count = recordCount();
    if (bof_ || eof_ || count == 0)
        return 0;
    const long position = slot_ - static_cast<long>(rows_->deletedBefore(static_cast<size_t>(slot_)));
    return 100.0 * static_cast<double>(position + 1) / static_cast<double>(count);
}

long Recordset::slotAtPosition(long position) const
{
    if (rows_->deletedBefore(SIZE_MAX) == 0)
        return position;
    // The first slot with position + 1 live slots up to and including it.
    size_t lo = 0, hi = rows_->size();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        const size_t live = mid + 1 - rows_->deletedBefore(mid + 1);
        if (live > static_cast<size_t>(position))
            hi = mid;
        else
            lo = mid + 1;
    }
    return static_cast<long>(lo);
}

void Recordset::setAbsolutePosition(long position)
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly || settings_.type == dbOpenTable)
        throw jet::notSupported();
    if (position < 0 || position >= recordCount()) // only rows counted so far can be reached
        throw jet::invalidArgument();
    discardEdit();
    land(slotAtPosition(position));
}

void Recordset::setPercentPosition(double percent)
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    if (!(percent >= 0 && percent <= 100))
        throw jet::invalidArgument();
    const long count = recordCount();
    if (count == 0)
        throw jet::noCurrentRecord();
    // The row whose own percentage (position + 1) / count lies nearest.
    const long position = std::clamp(std::lround(percent * static_cast<double>(count) / 100.0) - 1, 0L, count - 1);
    discardEdit();
    land(slotAtPosition(position));
}

long Recordset::liveFrom(long from, int step) const
{
    const long size = static_cast<long>(rows_->size());
    for (long s = from; s >= 0 && s < size; s += step)
        if (!rows_->deleted(static_cast<size_t>(s)))
            return s;
    return step > 0 ? size : -1;
}

void Recordset::moveFirst()
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    if (rows_->size() == 0)
        throw jet::noCurrentRecord();
    discardEdit();
    const long first = liveFrom(0, 1);
    if (first >= static_cast<long>(rows_->size())) { // every row deleted: no row to land on
        slot_ = -1;
        bof_ = eof_ = true;
        return;
    }
    land(first);
}

void Recordset::moveLast()
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    if (rows_->size() == 0)
        throw jet::noCurrentRecord();
    discardEdit();
    const long last = liveFrom(static_cast<long>(rows_->size()) - 1, -1);
    visited_ = std::max(visited_, static_cast<long>(rows_->size())); // MoveLast populates the whole set
    if (last < 0) {
        slot_ = -1;
        bof_ = eof_ = true;
        return;
    }
    land(last);
}

void Recordset::moveNext()
{
    checkOpen();
    if (eof_ && (!bof_ || rows_->size() == 0 || slot_ < 0))
        throw jet::noCurrentRecord();
    discardEdit();
    const long next = liveFrom(bof_ ? 0 : slot_ + 1, 1);
    if (next >= static_cast<long>(rows_->size())) {
        slot_ = static_cast<long>(rows_->size());
        visited_ = std::max(visited_, slot_);
        eof_ = true;
        bof_ = false;
        return;
    }
    land(next);
}

void Recordset::movePrevious()
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    if (bof_)
        throw jet::noCurrentRecord();
    discardEdit();
    const long prev = liveFrom(slot_ - 1, -1);
    if (prev < 0) {
        slot_ = -1;
        bof_ = true;
        eof_ = false;
        return;
    }
    land(prev);
}

void Recordset::move(long n)
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly && n <= 0)
        throw jet::notSupported();
    const long size = static_cast<long>(rows_->size());
    if (size == 0 || (n == 0 && (bof_ || eof_)) || (n < 0 && bof_) || (n > 0 && eof_))
        throw jet::noCurrentRecord();
    discardEdit();
    if (n == 0)
        rows_->refresh(); // Move 0 shows what others changed in the row
    long target = (bof_ ? -1 : slot_) + n;
    if (rows_->deletedBefore(SIZE_MAX) > 0) { // step row by row over deleted slots
        target = bof_ ? -1 : slot_;
        const int step = n > 0 ? 1 : -1;
        for (long i = 0; i != n && target >= 0 && target < size; i += step)
            target = liveFrom(target + step, step);
        if (n == 0 && rows_->deleted(static_cast<size_t>(target)))
            throw jet::recordDeleted();
    }
    if (target < 0) {
        slot_ = -1;
        bof_ = true;
        eof_ = false;
    } else if (target >= size) {
        slot_ = size;
        eof_ = true;
        bof_ = false;
    } else {
        land(target);
    }
}

const Collection<Field>& Recordset::fields() const
{
    checkOpen();
    return fields_;
}

const Variant& Recordset::currentValue(int column) const
{
    checkOpen();
    if (column < 0 || column >= static_cast<int>(rows_->width()))
        throw jet::itemNotFound();
    if (editMode_ != 0) // during AddNew/Edit fields read the edit buffer
        return buffer_[static_cast<size_t>(column)];
    if (bof_ || eof_)
        throw jet::noCurrentRecord();
    if (rows_->deleted(static_cast<size_t>(slot_)))
        throw jet::recordDeleted();
    return rows_->row(static_cast<size_t>(slot_))[column];
}

void Recordset::close()
{
    discardEdit();
    open_ = false;
    rows_.reset();
}

std::shared_ptr<Recordset> Recordset::clone() const
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    std::vector<FieldInfo> fields;
    for (int i = 0; i < fields_.count(); ++i)
        fields.push_back(fields_.item(i)->info());
    auto copy = create(storage_, std::move(fields), rows_, settings_, false);
    copy->baseSize_ = baseSize_;
    copy->reopen_ = reopen_;
    return copy;
}

void Recordset::requery()
{
    checkOpen();
    if (!reopen_)
        throw jet::illegalOperation();
    auto fresh = reopen_();
    discardEdit();
    fresh->rows_->setFamily(rows_->family()); // bookmarks stay valid
    rows_ = fresh->rows_;
    baseSize_ = rows_->size();
    visited_ = 0;
    lastModified_ = -1;
    slot_ = -1;
    bof_ = eof_ = true;
    const long first = liveFrom(0, 1);
    if (first < static_cast<long>(rows_->size()))
        land(first);
    if (!index_.empty())
        applyIndexOrder();
}

// ---- Bookmarks -------------------------------------------------------------

std::string Recordset::bookmark() const
{
    checkOpen();
    if (!bookmarkable())
        throw jet::notSupported();
    if (bof_ || eof_)
        throw jet::noCurrentRecord();
    if (rows_->deleted(static_cast<size_t>(slot_)))
        throw jet::recordDeleted();
    const std::uint32_t v = static_cast<std::uint32_t>(slot_ + 1) | (std::uint32_t{rows_->family()} << 24);
    std::string bm(4, '\0');
    for (int i = 0; i < 4; ++i)
        bm[static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xff);
    return bm;
}

void Recordset::setBookmark(const std::string& bm)
{
    checkOpen();
    if (!bookmarkable())
        throw jet::notSupported();
    if (bm.size() != 4)
        throw jet::invalidBookmark();
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bm[static_cast<size_t>(i)])) << (8 * i);
    if ((v >> 24) != rows_->family() || (v & 0xffffff) < 1 || (v & 0xffffff) > rows_->size())
        throw jet::invalidBookmark(); // of another recordset, or no slot of this one
    const size_t slot = (v & 0xffffff) - 1;
    if (rows_->deleted(slot))
        throw jet::recordDeleted();
    discardEdit();
    land(static_cast<long>(slot));
}

std::string Recordset::lastModified() const
{
    checkOpen();
    if (lastModified_ < 0 || rows_->deleted(static_cast<size_t>(lastModified_)))
        throw jet::noCurrentRecord();
    const std::uint32_t v = static_cast<std::uint32_t>(lastModified_ + 1) | (std::uint32_t{rows_->family()} << 24);
    std::string bm(4, '\0');
    for (int i = 0; i < 4; ++i)
        bm[static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xff);
    return bm;
}

// ---- Editing -----------------------------------------------------------------

namespace {

size_t utf8Length(const std::string& s)
{
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xc0) != 0x80)
            ++n;
    return n;
}

// Parses "yyyy-mm-dd[ hh:mm[:ss]]" and "m/d/yyyy[ hh:mm[:ss]]" (Jet's US order).
bool parseDateText(const std::string& text, double& days)
{
    int a = 0, b = 0, c = 0, h = 0, mi = 0;
    double sec = 0;
    char sep1 = 0, sep2 = 0;
    int used = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c%d%n", &a, &sep1, &b, &sep2, &c, &used) < 5 || sep1 != sep2
        || (sep1 != '-' && sep1 != '/'))
        return false;
    const char* rest = text.c_str() + used;
    while (*rest == ' ' || *rest == 'T')
        ++rest;
    if (*rest && std::sscanf(rest, "%d:%d:%lf", &h, &mi, &sec) < 2)
        return false;
    int year = a, month = b, day = c;
    if (sep1 == '/') {
        month = a;
        day = b;
        year = c;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || h < 0 || h > 23 || mi < 0 || mi > 59)
        return false;
    days = jetDateFromParts(year, month, day, h, mi, sec);
    return true;
}

// The value a field of type f holds after assigning v to it, as DAO converts it.
Variant convertForField(const FieldInfo& f, const Variant& v)
{
    if (v.isNull())
        return v;
    try {
        switch (f.type) {
        case dbText: case dbChar: case dbMemo: {
            std::string text = v.type() == VarType::Text ? v.bytes() : v.toText();
            if (f.type != dbMemo && f.size > 0 && utf8Length(text) > static_cast<size_t>(f.size))
                throw jet::fieldTooSmall();
            return Variant(std::move(text));
        }
        case dbBoolean:
            return Variant(v.toBool());
        case dbByte: case dbInteger: case dbLong: {
            const std::int64_t x = v.toInt64();
            const std::int64_t lo = f.type == dbByte ? 0 : f.type == dbInteger ? -32768 : INT32_MIN;
            const std::int64_t hi = f.type == dbByte ? 255 : f.type == dbInteger ? 32767 : INT32_MAX;
            if (x < lo || x > hi)
                throw jet::conversionError();
            if (f.type == dbByte)
                return Variant::byte(static_cast<std::uint8_t>(x));
            if (f.type == dbInteger)
                return Variant::integer(static_cast<std::int16_t>(x));
            return Variant::longValue(static_cast<std::int32_t>(x));
        }
        case dbBigInt:
            return Variant(static_cast<double>(v.toInt64()));
        case dbCurrency:
            return Variant::currency(std::round(v.toDouble() * 10000.0) / 10000.0);
        case dbSingle: {
            const double d = v.toDouble();
            if (std::fabs(d) > FLT_MAX)
                throw jet::conversionError();
            return Variant::single(static_cast<float>(d));
        }
        case dbDouble: case dbNumeric: case dbDecimal: case dbFloat:
            return Variant(v.toDouble());
        case dbDate: case dbTime: case dbTimeStamp: {
            if (v.type() == VarType::Date)
                return v;
            if (v.type() == VarType::Text) {
                double days = 0;
                if (parseDateText(v.bytes(), days))
                    return Variant::date(days);
            }
            return Variant::date(v.toDouble());
        }
        case dbBinary: case dbVarBinary: case dbLongBinary:
            if (v.type() == VarType::Text || v.type() == VarType::Binary || v.type() == VarType::Guid)
                return Variant::binary(v.bytes());
            throw jet::conversionError();
        case dbGUID:
            if (v.type() == VarType::Guid || (v.type() == VarType::Binary && v.bytes().size() == 16))
                return Variant::guid(v.bytes());
            throw jet::conversionError();
        default:
            return v;
        }
    } catch (const DaoError& e) {
        if (e.number() == 3163)
            throw;
        throw jet::conversionError(); // text into a number, a number out of the field's range
    }
}

std::string quoted(const std::string& name)
{
    std::string q = "\"";
    for (char c : name) {
        q += c;
        if (c == '"')
            q += '"';
    }
    return q + "\"";
}

// Rows that pessimistic Edits hold, by file, table and rowid: SQLite locks whole files, so the
// row locks Jet takes at Edit are kept here, between the recordsets of this program.
std::mutex rowLocksMutex;
std::map<std::string, const void*>& rowLocks()
{
    static std::map<std::string, const void*> locks;
    return locks;
}

std::string rowLockKey(const Storage& storage, const std::string& table, std::int64_t rowid)
{
    std::error_code ec;
    const auto file = std::filesystem::weakly_canonical(storage.path(), ec);
    return (ec ? storage.path() : file.string()) + '\x1f' + table + '\x1f' + std::to_string(rowid);
}

// 3188 when another recordset holds the row.
void checkNotLockedByOther(const Storage& storage, const std::string& table, std::int64_t rowid, const void* self)
{
    {
        std::lock_guard<std::mutex> guard(rowLocksMutex);
        if (rowLocks().empty())
            return;
    }
    const std::string key = rowLockKey(storage, table, rowid);
    std::lock_guard<std::mutex> guard(rowLocksMutex);
    const auto at = rowLocks().find(key);
    if (at != rowLocks().end() && at->second != self)
        throw jet::lockedBySession();
}

// Every column of a table row as stored, so that any change by someone else shows; nullopt when the row is gone.
std::optional<std::string> storedRow(sqlite3* db, const std::string& table, std::int64_t rowid)
{
    SqliteStatement st(db, "SELECT * FROM " + table + " WHERE rowid = ?1");
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

// The write of an Update with its check: its own transaction, or a savepoint inside the caller's
// BeginTrans. Rolled back unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db) : db_(db), own_(sqlite3_get_autocommit(db) != 0)
    {
        // IMMEDIATE takes the write lock before the row is compared, so that nobody writes in between.
        run(own_ ? "BEGIN IMMEDIATE" : "SAVEPOINT quillstock_update");
    }
    ~WriteTransaction()
    {
        if (done_)
            return;
        if (own_) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        } else {
            sqlite3_exec(db_, "ROLLBACK TO quillstock_update", nullptr, nullptr, nullptr);
            sqlite3_exec(db_, "RELEASE quillstock_update", nullptr, nullptr, nullptr);
        }
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit()
    {
        run(own_ ? "COMMIT" : "RELEASE quillstock_update");
        done_ = true;
    }

private:
    void run(const char* sql)
    {
        const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw sqliteError(db_, rc);
    }
    sqlite3* db_;
    bool own_;
    bool done_ = false;
};

} // namespace

void Recordset::setLockEdits(bool pessimistic)
{
    checkOpen();
    pessimistic_ = pessimistic;
}

void Recordset::lockRow(std::int64_t rowid)
{
    const std::string key = rowLockKey(*storage_, settings_.writeTable, rowid);
    std::lock_guard<std::mutex> guard(rowLocksMutex);
    const auto [at, added] = rowLocks().emplace(key, this);
    if (!added && at->second != this)
        throw jet::lockedBySession();
    lockKey_ = key;
}

void Recordset::unlockRow()
{
    if (lockKey_.empty())
        return;
    std::lock_guard<std::mutex> guard(rowLocksMutex);
    const auto at = rowLocks().find(lockKey_);
    if (at != rowLocks().end() && at->second == this)
        rowLocks().erase(at);
    lockKey_.clear();
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
    unlockRow();
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
    if (pessimistic_)
        lockRow(rowid); // 3188 while another recordset edits the row; optimistic locking waits for Update
    try {
        // Edit starts from the row as it is now, which others may have changed since it was read.
        std::optional<std::string> stored = storedRow(storage_->db(), settings_.writeTable, rowid);
        if (!stored)
            throw jet::recordDeleted();
        buffer_ = keyset.readRow(slot);
        editedRow_ = std::move(*stored);
    } catch (...) {
        unlockRow();
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
    auto column = [&](size_t i) { return quoted(fields_.item(static_cast<int>(i))->sourceField()); };
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
        SqliteStatement insert(db, sql);
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
        checkNotLockedByOther(*storage_, settings_.writeTable, rowid, this);
        if (!changed.empty()) {
            WriteTransaction transaction(db);
            // The row must still be as Edit read it: a change by another recordset or program meanwhile
            // stops the Update (the edit stays pending; Move 0 shows the other change and drops this one).
            const std::optional<std::string> stored = storedRow(db, settings_.writeTable, rowid);
            if (!stored)
                throw jet::recordDeleted();
            if (*stored != editedRow_)
                throw jet::dataChanged();
            std::string sql = "UPDATE " + settings_.writeTable + " SET ";
            for (size_t n = 0; n < changed.size(); ++n)
                sql += (n ? ", " : "") + column(changed[n]) + " = ?" + std::to_string(n + 1);
            sql += " WHERE rowid = ?" + std::to_string(changed.size() + 1);
            SqliteStatement upd(db, sql);
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
    checkNotLockedByOther(*storage_, settings_.writeTable, keyset.rowid(slot), this);
    discardEdit();
    sqlite3* db = storage_->db();
    SqliteStatement del(db, "DELETE FROM " + settings_.writeTable + " WHERE rowid = ?1");
    del.bindInt(1, keyset.rowid(slot));
    del.step();
    if (sqlite3_changes(db) == 0)
        throw jet::recordDeleted();
    keyset.markDeleted(slot);
}

// ---- Sort, Filter, Find, Index, Seek -----------------------------------------

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

std::string bracketed(const std::string& name)
{
    return "[" + name + "]";
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

namespace {

// The query text with the filter joined to its WHERE and the sort in place of its ORDER BY; empty when
// the query has clauses (GROUP BY, UNION, ...) that a WHERE cannot simply be added to.
std::string spliceFilterAndSort(const std::string& jetSql, const std::string& filter, const std::string& sort)
{
    std::string text = jetSql;
    while (!text.empty() && (std::isspace(static_cast<unsigned char>(text.back())) || text.back() == ';'))
        text.pop_back();
    size_t where = std::string::npos, orderBy = std::string::npos, orderBody = 0;
    int depth = 0;
    auto wordAt = [&](size_t i, const char* word) {
        const size_t n = std::strlen(word);
        return strncasecmp(text.c_str() + i, word, n) == 0
               && (i + n >= text.size() || !(std::isalnum(static_cast<unsigned char>(text[i + n])) || text[i + n] == '_'));
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\'' || c == '"' || c == '[') { // literals and bracketed names
            const char close = c == '[' ? ']' : c;
            for (++i; i < text.size() && text[i] != close; ++i) {
            }
            continue;
        }
        if (c == '(') {
            ++depth;
            continue;
        }
        if (c == ')') {
            --depth;
            continue;
        }
        if (depth != 0 || (i > 0 && (std::isalnum(static_cast<unsigned char>(text[i - 1])) || text[i - 1] == '_')))
            continue;
        for (const char* w : {"GROUP", "HAVING", "UNION", "TRANSFORM", "PIVOT", "PARAMETERS", "INTO"})
            if (wordAt(i, w))
                return {};
        if (wordAt(i, "WHERE") && where == std::string::npos && orderBy == std::string::npos) {
            where = i;
        } else if (wordAt(i, "ORDER")) {
            size_t j = i + 5;
            while (j < text.size() && std::isspace(static_cast<unsigned char>(text[j])))
                ++j;
            if (wordAt(j, "BY")) {
                orderBy = i;
                orderBody = j + 2;
            }
        }
    }
    const size_t end = orderBy == std::string::npos ? text.size() : orderBy;
    std::string sql = text.substr(0, where == std::string::npos ? end : where);
    std::string condition = where == std::string::npos ? "" : "(" + text.substr(where + 5, end - where - 5) + ")";
    if (!filter.empty())
        condition += (condition.empty() ? "(" : " AND (") + filter + ")";
    if (!condition.empty())
        sql += " WHERE " + condition;
    if (!sort.empty())
        sql += " ORDER BY " + sort;
    else if (orderBy != std::string::npos)
        sql += " ORDER BY " + text.substr(orderBody);
    return sql;
}

} // namespace

std::shared_ptr<Recordset> Recordset::openRecordset(int type, int options)
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    if (type == 0)
        type = settings_.type == dbOpenTable ? static_cast<int>(dbOpenDynaset) : settings_.type;
    RecordsetFactory factory(storage_);
    // The sorted or filtered copy locks its rows the way its source does.
    const int lockEdit = pessimistic_ ? dbPessimistic : dbOptimistic;
    // The filter and sort go straight onto the source's own clauses where they can, so that SQLite
    // uses its indexes and a single-table source stays an editable keyset; otherwise they wrap it.
    if (settings_.fromTable) {
        std::string sql = "SELECT * FROM " + bracketed(settings_.name);
        if (!filter_.empty())
            sql += " WHERE (" + filter_ + ")";
        if (!sort_.empty())
            sql += " ORDER BY " + sort_;
        return factory.openQuery(sql, {}, type, options, lockEdit);
    }
    const std::string spliced = spliceFilterAndSort(settings_.name, filter_, sort_);
    if (!spliced.empty()) {
        try {
            return factory.openQuery(spliced, {}, type, options, lockEdit);
        } catch (const DaoError&) {
            // names of the result (aliases) that only the wrapped form knows: try that below
        }
    }
    std::string sql = "SELECT * FROM (" + settings_.name + ") AS [qs_source]";
    if (!filter_.empty())
        sql += " WHERE (" + filter_ + ")";
    if (!sort_.empty())
        sql += " ORDER BY " + sort_;
    return factory.openQuery(sql, {}, type, options, lockEdit);
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
    if (plainNames) {
        // The criteria runs on the table: the rowids it selects mark the matching slots.
        sql::Statement st = storage_->translate("SELECT * FROM " + bracketed(settings_.baseTable) + " WHERE ("
                                                + criteria + ")");
        const size_t at = st.sql.find(" FROM ");
        st.sql = "SELECT rowid" + st.sql.substr(at);
        SqliteStatement select = storage_->prepare(st);
        while (select.step())
            rowids.insert(select.columnInt(0));
        matches = [&](long slot) { return rowids.count(keyset->rowid(static_cast<size_t>(slot))) > 0; };
    } else {
        // The criteria runs on the source; a slot matches when its values equal a row it selected.
        const std::string source
            = settings_.fromTable ? bracketed(settings_.name) : "(" + settings_.name + ") AS [qs_source]";
        sql::Statement st = storage_->translate("SELECT * FROM " + source + " WHERE (" + criteria + ")");
        SqliteStatement select = storage_->prepare(st);
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
    const std::string schemaName = settings_.sqliteTable.rfind("\"main\".", 0) == 0 ? "main" : "";
    auto schema = storage_->tableSchema("main", settings_.name);
    const IndexSchema* found = nullptr;
    if (schema)
        for (const auto& x : schema->indexes)
            if (strcasecmp(x.name.c_str(), name.c_str()) == 0)
                found = &x;
    if (!found || schemaName.empty())
        throw DaoError(3015, "'" + name + "' isn't an index in this table.  Look in the Indexes collection of the "
                                          "TableDef object to determine the valid index names.");
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
        throw DaoError(3019, "Operation invalid without a current index.");
    static const std::set<std::string> ops{"=", ">=", ">", "<=", "<"};
    if (!ops.count(comparison) || keys.empty() || keys.size() > indexFields_.size() || keys.size() > 13)
        throw jet::invalidArgument();
    auto* keyset = dynamic_cast<TableKeyset*>(rows_.get());
    if (!keyset)
        throw jet::notSupported();
    // The lexicographic comparison in index order over the keys given (a descending field turns > into <).
    const bool forward = comparison[0] != '<';
    const bool inclusive = comparison.find('=') != std::string::npos;
    auto column = [&](size_t i) { return quoteIdentifier(indexFields_[i].first); };
    auto param = [](size_t i) { return "?" + std::to_string(i + 1); };
    std::string where;
    if (comparison == "=") {
        for (size_t i = 0; i < keys.size(); ++i)
            where += (i ? " AND " : "") + column(i) + " = " + param(i);
    } else {
        for (size_t i = 0; i < keys.size(); ++i) {
            std::string term;
            for (size_t j = 0; j < i; ++j)
                term += column(j) + " = " + param(j) + " AND ";
            const bool greater = forward != indexFields_[i].second;
            term += column(i) + (greater ? " > " : " < ") + param(i);
            where += (i ? " OR (" : "(") + term + ")";
        }
        if (inclusive) {
            where += " OR (";
            for (size_t i = 0; i < keys.size(); ++i)
                where += (i ? " AND " : "") + column(i) + " = " + param(i);
            where += ")";
        }
    }
    std::string order;
    for (const auto& [name, descending] : indexFields_)
        order += quoteIdentifier(name) + ((descending != !forward) ? " DESC, " : ", ");
    order += forward ? "rowid" : "rowid DESC";
    SqliteStatement select(storage_->db(), "SELECT rowid FROM " + settings_.sqliteTable + " WHERE " + where
                                               + " ORDER BY " + order + " LIMIT 1");
    for (size_t i = 0; i < keys.size(); ++i) {
        const auto f = fields_.find(indexFields_[i].first);
        select.bind(static_cast<int>(i + 1), f ? convertForField(f->info(), keys[i]) : keys[i]);
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
