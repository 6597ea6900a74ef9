#pragma once
// How far the active list has come: the copies of the catalogue whose number
// it records, against all copies. The catalogue is counted once, each list
// once when it becomes the one counted; after that the counts follow the
// entries posted and deleted, so no scan asks the database again.
//
// The counts match the missing-books report: a copy counts as recorded when
// its number is among the list's numbers, a number recorded twice counts
// once, and numbers the catalogue does not list count for nothing. So
// Missing() is the report's row count. (Copies without a number are no part
// of the counts; the report shows such copies only for a list without any entry.)
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace dao {
class Database;
}

namespace capture {

class CaptureProgress {
public:
    // The number of each copy counted, once per copy: every copy of the
    // catalogue, or those of the location the list counts.
    void SetCatalogue(const std::vector<qint32>& copyNumbers);
    // Whether a copy counted has that number.
    bool HasCopy(qint32 number) const { return catalogue_.contains(number); }
    // The numbers recorded in the list with that IDX, once per entry.
    void SetList(int listIdx, const std::vector<qint32>& numbers);
    // Whose entries the counts follow; nothing before SetList or after ForgetList.
    std::optional<int> CountedList() const { return list_; }
    void ForgetList();

    // An entry of the counted list was stored or deleted.
    void EntryAdded(qint32 number);
    void EntryRemoved(qint32 number);

    int Copies() const { return copies_; }
    int Recorded() const { return recorded_; }
    int Missing() const { return copies_ - recorded_; }
    // "erfasst: <recorded> von <copies> Exemplaren — fehlen noch: <missing>"
    QString Text() const;

private:
    QHash<qint32, int> catalogue_; // copies per number
    QHash<qint32, int> entries_;   // entries per number in the counted list
    std::optional<int> list_;
    int copies_ = 0;
    int recorded_ = 0;
};

// The numbers of the entries of list listIdx in the inventory database.
std::vector<qint32> ListNumbers(dao::Database& inventory, int listIdx);

} // namespace capture
