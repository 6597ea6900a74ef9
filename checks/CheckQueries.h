#pragma once
// The five catalogue checks: each lists the copies (number, title, author)
// of one kind of faulty or noteworthy catalogue data, by copy number.
#include <QString>
#include <QStringList>

enum class CatalogueCheck { AlleDaten, OhneTitel, OhneAutor, GleicherAutTit, Sonderzeichen };

// The common start of every catalogue query: copies joined with their titles.
QString CatalogueBaseText();
// Its join alone, from " FROM" on: copies and their titles as the checks list them.
QString CatalogueJoinText();

// The LIKE patterns of the special-characters check, in the order they are tried.
QStringList SpecialCharacterPatterns();

QString CheckQuery(CatalogueCheck check);
// The caption the report window shows for a check's result.
QString CheckTitle(CatalogueCheck check);
