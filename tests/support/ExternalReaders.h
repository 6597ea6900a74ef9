#pragma once
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QStringList>
#include <QString>

namespace testsupport {

// Files written by the program, read back by readers that share no code with
// it: Python's html.parser and csv modules, xlrd, the dbf and dbfread
// modules, and LibreOffice.

// Every table row of an HTML file as an array of cell texts (header row included),
// decoded in the character set the file declares.
QJsonArray htmlTableRows(const QString& path);
// The page title of an HTML file.
QString htmlTitle(const QString& path);
// Every record of a delimited text file, decoded with the Python codec named.
QJsonArray csvRows(const QString& path, const QString& delimiter = QStringLiteral(","),
                   const QString& codec = QStringLiteral("cp1252"));

// The rows of a query on a database file the engine wrote, run by Python's
// sqlite3 module (numbers, text and null as they are stored).
QJsonArray sqliteRows(const QString& path, const QString& sql);

// Every line of a fixed-width text file cut into fields of the given widths,
// each with its trailing blanks removed.
QJsonArray fixedWidthRows(const QString& path, const QList<int>& widths,
                          const QString& codec = QStringLiteral("cp1252"));

// A spreadsheet file as python3-xlrd reads it: {"biff": 30|40|50|70|80,
// "sheets": [names], "rows": [[cell, ...], ...]} of the first sheet, where a
// cell is null (empty), a number, a Boolean, a string, or {"date": "YYYY-MM-DD
// hh:mm:ss"} for a number with a date format; "sheetRows" and "lastRows"
// give every sheet's row count and last row.
QJsonObject xlrdWorkbook(const QString& path);

// A .dbf table with its memo file: {"reader": module, "version": first byte,
// "codepage": byte 29, "fields": [names], "rows": [[value, ...]]}, values null,
// numbers, Booleans, strings without trailing blanks, or {"date": "YYYY-MM-DD"}
// / {"date": "YYYY-MM-DD hh:mm:ss"}. python3-dbf reads the table types it
// knows (dBase III, FoxPro, Visual FoxPro); dBase IV/5.0 tables with memos
// are read by python3-dbfread.
QJsonObject dbfTable(const QString& path);

// Spreadsheet files converted to CSV (UTF-8) by LibreOffice in one headless
// run; the rows of each file's first sheet, by file path.
QMap<QString, QJsonArray> libreOfficeRows(const QStringList& files);

} // namespace testsupport
