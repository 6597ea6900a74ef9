#pragma once
// A DAO Recordset over a keyset: the ordered row identities captured at open
// (RowSource), a cursor slot with BOF/EOF, and Fields whose values are read
// from the row the cursor is on. Editing, bookmarks, Find/Seek and
// Sort/Filter build on the slots.
//
// The class is kept in files by job: Recordset.cpp (opening, fields, clone,
// requery), RecordsetNavigation.cpp (moves, positions, bookmarks),
// RecordsetEditing.cpp (the edit buffer and its writes, with RowLocks for
// pessimistic locking and a Savepoint for the write's transaction),
// RecordsetSearch.cpp (Sort/Filter, Find, Index and Seek); the conversions of
// assigned values live in ValueConversion.
#include "engine/Collection.h"
#include "engine/Field.h"
#include "engine/RowSource.h"
#include "engine/Storage.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace dao {

class TableKeyset;

// Where a recordset's rows come from, so that Requery and OpenRecordset can build
// its statement again: SQL text or a table, with the Filter and Sort of each
// OpenRecordset on the way (applied in turn), and the parameter values it ran with.
struct RecordsetSource {
    std::string text;   // SQL text, or the table's name
    bool table = false; // text names a table
    std::vector<std::pair<std::string, std::string>> refinements; // (Filter, Sort)
    ParameterValues values;
};

struct RecordsetSettings {
    std::string name; // the source: table name or SQL text
    int type = 2;     // RecordsetTypeEnum
    int options = 0;
    int lockEdit = 0;
    bool updatable = false;
    bool fromTable = false;  // name is a table (else SQL text)
    std::string baseTable;   // the one table a keyset's rows come from (table and single-table query keysets)
    std::string sqliteTable; // table-opened recordsets: the quoted, schema-qualified SQLite table
    std::string schema;      // table-opened recordsets: where the table lives ("main" or an attachment)
    std::string writeTable;  // the quoted, schema-qualified SQLite table that edits go to (table keysets)
    RecordsetSource source;
};

class Recordset : public std::enable_shared_from_this<Recordset> {
public:
    static std::shared_ptr<Recordset> create(std::shared_ptr<Storage> storage, std::vector<FieldInfo> fields,
                                             std::unique_ptr<RowSource> rows, RecordsetSettings settings);
    static std::shared_ptr<Recordset> create(std::shared_ptr<Storage> storage, std::vector<FieldInfo> fields,
                                             std::shared_ptr<RowSource> rows, RecordsetSettings settings,
                                             bool landOnFirst);

    const std::string& name() const { return settings_.name; }
    int type() const { return settings_.type; }
    bool updatable() const { return settings_.updatable; }
    bool bookmarkable() const { return settings_.type != 8; }
    // True for pessimistic locking (dbPessimistic, DAO's default): Edit locks the row against the other
    // recordsets of this program until Update. Either way Update refuses with 3197 a row that someone
    // else changed after Edit read it.
    bool lockEdits() const { return pessimistic_; }
    void setLockEdits(bool pessimistic);
    int editMode() const { return editMode_; } // EditModeEnum: 0 none, 1 Edit, 2 AddNew

    bool bof() const;
    bool eof() const;
    // Table type: the rows of the table; other types: the rows visited so far, as DAO counts.
    long recordCount() const;
    // 0-based slot of the current row, -1 without one.
    long absolutePosition() const;
    // Makes the row at a 0-based position among the rows counted so far current (3001 outside them).
    void setAbsolutePosition(long position);
    // 0-100 relative to RecordCount; setting it moves to the nearest row.
    double percentPosition() const;
    void setPercentPosition(double percent);

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    void move(long rows);

    const Collection<Field>& fields() const;
    std::shared_ptr<Field> field(int index) const { return fields().item(index); }
    std::shared_ptr<Field> field(const std::string& name) const { return fields().item(name); }
    const Variant& value(int index) const { return currentValue(index); }
    Variant value(const std::string& name) const { return field(name)->value(); }

    void close();
    bool isOpen() const { return open_; }
    ~Recordset(); // frees a row held by a pending pessimistic Edit

    // Bookmarks: 4 bytes, little-endian: the keyset slot + 1 with the keyset's family in the high byte;
    // clones share them, those of any other recordset are refused.
    std::string bookmark() const;           // 3021 without a current row
    void setBookmark(const std::string& bm); // 3159 for a wrong size or slot, 3167 for a deleted row
    std::string lastModified() const;       // the row this recordset last added or changed (3021 if none)

    // Editing (table keysets only; others raise 3251 for snapshot types, else 3027).
    void addNew();        // buffer of field defaults; a pending AddNew/Edit is discarded
    void edit();          // copies the current row; 3023 while an AddNew/Edit is pending
    void update();        // writes the buffer in one statement; a failure leaves the edit pending
    void cancelUpdate();  // 3020 without a pending edit
    void deleteCurrent(); // DAO's Delete: the deleted row stays current (3167) until the cursor moves
    // A second cursor over the same keyset: bookmarks are shared; no current row until it moves.
    std::shared_ptr<Recordset> clone() const;
    // Runs the source again: the first row becomes current and RecordCount starts over.
    void requery();
    // How requery reopens the source (set by the factory that opened the recordset).
    void setReopen(std::function<std::shared_ptr<Recordset>()> reopen) { reopen_ = std::move(reopen); }

    // Sort and Filter apply to the next openRecordset on this recordset (Jet ORDER BY / WHERE bodies
    // naming the recordset's fields).
    void setSort(const std::string& sort);
    void setFilter(const std::string& filter);
    const std::string& sort() const { return sort_; }
    const std::string& filter() const { return filter_; }
    // A new recordset over the same source with Filter and Sort (type 0: dynaset from a table, else the same type).
    std::shared_ptr<Recordset> openRecordset(int type = 0, int options = 0);

    // Find*: the criteria is a Jet WHERE body run as SQL; a miss sets noMatch and leaves the cursor.
    void findFirst(const std::string& criteria);
    void findLast(const std::string& criteria);
    void findNext(const std::string& criteria);
    void findPrevious(const std::string& criteria);
    bool noMatch() const { return noMatch_; }

    // Table-type only: Index orders the rows by one of the table's indexes (3015 for an unknown name);
    // Seek finds the first row in that order for "=", ">=", ">" and the last for "<", "<=".
    void setIndex(const std::string& name);
    const std::string& index() const { return index_; }
    void seek(const std::string& comparison, const std::vector<Variant>& keys);

    // Sets a field of the edit buffer with Jet's conversions (3020 outside AddNew/Edit, 3164 auto-increment).
    void setValue(int index, const Variant& value);
    void setValue(const std::string& name, const Variant& value);

    // The value of a column in the current row (3021 with no current row).
    const Variant& currentValue(int column) const;
    // The cursor slot, for bookmarks and editing built on top (-1 before the first, size() after the last).
    long slot() const { return slot_; }
    size_t size() const;
    RowSource& rows() const;

private:
    Recordset() = default;
    void checkOpen() const;
    void checkCurrentRow() const; // 3021 without a current row, 3167 on a row deleted here

    // Navigation (RecordsetNavigation.cpp).
    void land(long slot);
    void moveToEnd(int step); // MoveFirst (+1), MoveLast (-1)
    // The first slot from `from` in direction step (+1/-1) whose row was not deleted here; -1 or size() if none.
    long liveFrom(long from, int step) const;
    // The slot of the row at a 0-based position among the rows not deleted here.
    long slotAtPosition(long position) const;
    std::string bookmarkOf(long slot) const;

    // Editing (RecordsetEditing.cpp).
    TableKeyset& writableKeyset() const; // 3251 / 3027 when the recordset takes no edits
    void discardEdit();
    const std::vector<Variant>& defaults();

    // Search (RecordsetSearch.cpp).
    void find(const std::string& criteria, long from, int step);
    void applyIndexOrder();

    std::shared_ptr<Storage> storage_;
    RecordsetSettings settings_;
    std::shared_ptr<RowSource> rows_;
    Collection<Field> fields_;
    std::function<std::shared_ptr<Recordset>()> reopen_;
    bool open_ = true;

    // The cursor.
    long slot_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    long visited_ = 0;
    size_t baseSize_ = 0; // keyset size at open; rows added later count in RecordCount at once

    // The edit buffer.
    int editMode_ = 0;
    long editSlot_ = -1;
    long lastModified_ = -1;
    std::vector<Variant> buffer_;
    std::vector<bool> dirty_;
    std::string editedRow_; // the whole table row as Edit read it, to see others' changes at Update
    std::string lockKey_;   // the row this recordset holds locked, empty if none
    bool pessimistic_ = true;
    std::vector<Variant> defaults_;
    bool defaultsRead_ = false;

    // Search.
    std::string sort_;
    std::string filter_;
    bool noMatch_ = false;
    std::string index_;
    std::vector<std::pair<std::string, bool>> indexFields_; // column, descending
};

} // namespace dao
