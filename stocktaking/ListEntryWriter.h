#pragma once
// Stores entries of one inventory list through one prepared statement: the
// way an import writes many numbers without a dataset round for each.
#include <QtGlobal>
#include <memory>

namespace dao {
class Database;
class Parameter;
class QueryDef;
} // namespace dao

namespace capture {

class ListEntryWriter {
public:
    // listIdx: the IDX of the list the entries belong to.
    ListEntryWriter(dao::Database& inventory, int listIdx);
    ~ListEntryWriter();
    ListEntryWriter(const ListEntryWriter&) = delete;
    ListEntryWriter& operator=(const ListEntryWriter&) = delete;

    // One new entry with this number; the database gives it its IDX.
    void Store(qint32 number);
    // IDX of the newest entry of the list (the one stored last); 0 for none.
    int NewestIdx() const;

private:
    dao::Database& inventory_;
    std::shared_ptr<dao::QueryDef> insert_;
    std::shared_ptr<dao::Parameter> number_;
    int listIdx_;
};

} // namespace capture
