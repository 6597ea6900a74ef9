#pragma once
#include <QString>

// The missing-books query: every copy of the catalogue whose number is not
// among the numbers of list listIdx in the inventory database at
// inventoryPath, by copy number. listIdx is the list's IDX as decimal text
// (empty when there is no active list, which the engine then refuses).
QString MissingBooksQuery(const QString& inventoryPath, const QString& listIdx);
