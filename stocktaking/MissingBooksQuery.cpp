#include "stocktaking/MissingBooksQuery.h"

QString MissingBooksQuery(const QString& inventoryPath, const QString& listIdx)
{
    return QStringLiteral(" SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS "
                          "AUTOR FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer AND "
                          "EXEMPLAR.EXEMPLARNUMMER NOT IN (SELECT inventur.NR FROM inventur in ") +
           '\'' + QString(inventoryPath).replace('\'', QStringLiteral("''")) + '\'' +
           QStringLiteral(" WHERE inventur.inventurliste =") + listIdx + ')' +
           QStringLiteral(" ORDER BY EXEMPLAR.EXEMPLARNUMMER");
}
