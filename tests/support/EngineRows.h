#pragma once
// Runs a query through the engine and gives its rows as JSON values, to
// compare with the documented results of the fixtures.
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace testsupport {

// Rows of sql on the database at path: numbers as doubles, text as strings, null as null.
QJsonArray queryRows(const QString& databasePath, const QString& sql);

// A new engine database at path with the statements run in it, in order.
void createDatabase(const QString& path, const QStringList& statements);

// The documented queries of the small catalogue (veltrano-expected.json), by key.
QJsonObject expectedCatalogueQueries();

} // namespace testsupport
