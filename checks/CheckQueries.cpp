#include "checks/CheckQueries.h"

QString CatalogueJoinText()
{
    return QStringLiteral(" FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer");
}

QString CatalogueBaseText()
{
    return QStringLiteral(" SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS "
                          "AUTOR") +
           CatalogueJoinText();
}

QStringList SpecialCharacterPatterns()
{
    QStringList patterns{QStringLiteral("*[\"]*")};
    // A character followed by a blank, in a title that ends in a blank.
    for (QChar c : QStringLiteral("()!$%&/=?;,-_"))
        patterns << QStringLiteral("*[%1] * ").arg(c);
    // A character anywhere in the title.
    for (QChar c : QStringLiteral("+\\´`|><@~*°^²³{}[]§"))
        patterns << QStringLiteral("*[%1]*").arg(c);
    return patterns;
}

QString CheckQuery(CatalogueCheck check)
{
    const QString order = QStringLiteral(" ORDER BY EXEMPLAR.EXEMPLARNUMMER");
    switch (check) {
    case CatalogueCheck::AlleDaten: return CatalogueBaseText() + order;
    case CatalogueCheck::OhneTitel: return CatalogueBaseText() + QStringLiteral(" AND TITEL.HAUPTTITEL IS NULL") + order;
    case CatalogueCheck::OhneAutor:
        return CatalogueBaseText() + QStringLiteral(" AND TITEL.HAUPTEINTRAG IS NULL") + order;
    case CatalogueCheck::GleicherAutTit:
        return CatalogueBaseText() + QStringLiteral(" AND TITEL.HAUPTTITEL =  TITEL.HAUPTEINTRAG") + order;
    case CatalogueCheck::Sonderzeichen: {
        QStringList quoted;
        for (const QString& p : SpecialCharacterPatterns())
            quoted << '\'' + p + '\'';
        return CatalogueBaseText() + QStringLiteral(" AND (TITEL.HAUPTTITEL LIKE ") +
               quoted.join(QStringLiteral(" OR TITEL.HAUPTTITEL LIKE ")) + ')' + order;
    }
    }
    return {};
}

QString CheckTitle(CatalogueCheck check)
{
    switch (check) {
    case CatalogueCheck::AlleDaten: return QStringLiteral("Alle Bücher in einer Liste");
    case CatalogueCheck::OhneTitel: return QStringLiteral("Bücher ohne Titel");
    case CatalogueCheck::OhneAutor: return QStringLiteral("Bücher ohne Autor");
    case CatalogueCheck::GleicherAutTit: return QStringLiteral("Titel und Autor gleich");
    case CatalogueCheck::Sonderzeichen: return QStringLiteral("Bücher mit Sonderzeichen im Titel");
    }
    return {};
}
