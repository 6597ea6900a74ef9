#pragma once
// Copies of the catalogue by their number, read from the backup copy through
// the catalogue connection and joined with their titles as the catalogue
// checks join them, so that a copy the checks do not list is no copy here
// either.
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace dao {
class Database;
class QueryDef;
} // namespace dao

namespace capture {

struct CatalogueCopy {
    QString title;  // empty when the title record has none
    QString author;
    QString location; // EXEMPLAR.STANDORT, empty when the copy has none
};

class CatalogueLookup {
public:
    // Prepares the lookup, a query definition with the number as parameter,
    // on the open catalogue database.
    explicit CatalogueLookup(std::shared_ptr<dao::Database> catalogue);
    ~CatalogueLookup();
    CatalogueLookup(const CatalogueLookup&) = delete;
    CatalogueLookup& operator=(const CatalogueLookup&) = delete;

    // Whether the catalogue keeps its copies' locations (EXEMPLAR.STANDORT).
    bool HasLocations() const { return hasLocations_; }

    // The copy with that number; nothing when the catalogue lists none.
    std::optional<CatalogueCopy> Find(qint32 number);
    // The number of every copy the checks list, once per copy. Copies
    // without a number are left out: nobody can scan them. condition, a
    // piece " AND ..." of the WHERE clause, narrows them down (to the copies
    // of one location, say).
    std::vector<qint32> CopyNumbers(const QString& condition = {});

private:
    std::shared_ptr<dao::Database> catalogue_;
    std::shared_ptr<dao::QueryDef> lookup_;
    bool hasLocations_ = false;
};

} // namespace capture
