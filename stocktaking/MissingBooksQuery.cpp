#include "stocktaking/MissingBooksQuery.h"

#include "checks/CheckQueries.h"

namespace {

const QString kOrder = QStringLiteral(" ORDER BY EXEMPLAR.EXEMPLARNUMMER");

// The numbers of the list, from the inventory database.
QString listNumbers(const QString& inventoryPath, const QString& listIdx)
{
    return QStringLiteral("(SELECT inventur.NR FROM inventur in ") + '\'' +
           QString(inventoryPath).replace('\'', QStringLiteral("''")) + '\'' +
           QStringLiteral(" WHERE inventur.inventurliste =") + listIdx + ')';
}

} // namespace

QString MissingBooksQuery(const QString& inventoryPath, const QString& listIdx)
{
    return MissingBooksQuery(inventoryPath, listIdx, {});
}

QString MissingBooksQuery(const QString& inventoryPath, const QString& listIdx, const lists::Location& location)
{
    return QStringLiteral(" SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS "
                          "AUTOR FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer AND "
                          "EXEMPLAR.EXEMPLARNUMMER NOT IN ") +
           listNumbers(inventoryPath, listIdx) + location.Condition() + kOrder;
}

QString MisplacedCopiesQuery(const QString& inventoryPath, const QString& listIdx, const lists::Location& location)
{
    return QStringLiteral(" SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS "
                          "AUTOR, EXEMPLAR.STANDORT AS STANDORT") +
           CatalogueJoinText() + QStringLiteral(" AND EXEMPLAR.EXEMPLARNUMMER IN ") +
           listNumbers(inventoryPath, listIdx) + location.ElsewhereCondition() + kOrder;
}
