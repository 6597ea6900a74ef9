#pragma once
#include <QJsonArray>
#include <QString>

namespace testsupport {

// Files written by the program, read back by readers that share no code with
// it: Python's html.parser and csv modules.

// Every table row of an HTML file as an array of cell texts (header row included).
QJsonArray htmlTableRows(const QString& path);
// The page title of an HTML file.
QString htmlTitle(const QString& path);
// Every record of a delimited text file, decoded with the Python codec named.
QJsonArray csvRows(const QString& path, const QString& delimiter = QStringLiteral(","),
                   const QString& codec = QStringLiteral("cp1252"));

// Every line of a fixed-width text file cut into fields of the given widths,
// each with its trailing blanks removed.
QJsonArray fixedWidthRows(const QString& path, const QList<int>& widths,
                          const QString& codec = QStringLiteral("cp1252"));

} // namespace testsupport
