#pragma once
#include "stocktaking/Location.h"

#include <QString>

// The missing-books query: every copy of the catalogue whose number is not
// among the numbers of list listIdx in the inventory database at
// inventoryPath, by copy number. listIdx is the list's IDX as decimal text
// (empty when there is no active list, which the engine then refuses).
QString MissingBooksQuery(const QString& inventoryPath, const QString& listIdx);
// The same for the copies of one location; for every copy the text above.
QString MissingBooksQuery(const QString& inventoryPath, const QString& listIdx, const lists::Location& location);

// The copies recorded in list listIdx that stand elsewhere than at location
// by the catalogue, with their location (BUCHNR, TITEL, AUTOR, STANDORT), by
// copy number.
QString MisplacedCopiesQuery(const QString& inventoryPath, const QString& listIdx, const lists::Location& location);
