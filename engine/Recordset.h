#pragma once
// A DAO Recordset over a keyset: the ordered row identities captured at open
// (RowSource), a cursor slot with BOF/EOF, and Fields whose values are read
// from the row the cursor is on. Editing, bookmarks, Find/Seek and
// Sort/Filter build on the slots.
#include "engine/Collection.h"
#include "engine/Field.h"
#include "engine/RowSource.h"

#include <memory>
#include <string>
#include <vector>

namespace dao {

class Storage;

struct RecordsetSettings {
    std::string name; // the source: table name or SQL text
    int type = 2;     // RecordsetTypeEnum
    int options = 0;
    int lockEdit = 0;
    bool updatable = false;
};

class Recordset : public std::enable_shared_from_this<Recordset> {
public:
    static std::shared_ptr<Recordset> create(std::shared_ptr<Storage> storage, std::vector<FieldInfo> fields,
                                             std::unique_ptr<RowSource> rows, RecordsetSettings settings);

    const std::string& name() const { return settings_.name; }
    int type() const { return settings_.type; }
    bool updatable() const { return settings_.updatable; }
    bool bookmarkable() const { return settings_.type != 8; }
    bool lockEdits() const { return settings_.lockEdit == 2 || settings_.lockEdit == 0; }
    int editMode() const { return 0; }

    bool bof() const;
    bool eof() const;
    // Table type: the rows of the table; other types: the rows visited so far, as DAO counts.
    long recordCount() const;
    // 0-based slot of the current row, -1 without one.
    long absolutePosition() const;
    double percentPosition() const;

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

    // The value of a column in the current row (3021 with no current row).
    const Variant& currentValue(int column) const;
    // The cursor slot, for bookmarks and editing built on top (-1 before the first, size() after the last).
    long slot() const { return slot_; }
    size_t size() const;
    RowSource& rows() const;

private:
    Recordset() = default;
    void checkOpen() const;
    void land(long slot);

    std::shared_ptr<Storage> storage_;
    RecordsetSettings settings_;
    std::unique_ptr<RowSource> rows_;
    Collection<Field> fields_;
    long slot_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    long visited_ = 0;
    bool open_ = true;
};

} // namespace dao
