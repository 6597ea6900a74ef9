#pragma once
// Shared pieces of the file-based installable formats: target paths,
// schema.ini options, text encodings and the text of values.
#include "engine/IsamWriter.h"

#include <QByteArray>
#include <QString>

namespace dao::isam {

// Options of a schema.ini section, with Jet's defaults.
struct TextOptions {
    enum class Layout { CsvDelimited, TabDelimited, Delimited, FixedLength };
    Layout layout = Layout::CsvDelimited;
    QChar delimiter = ',';
    bool colNameHeader = true;
    QString characterSet = QStringLiteral("ANSI");
    bool characterSetGiven = false; // the section names a character set
    QString textDelimiter = QStringLiteral("\"");
    QString dateTimeFormat;
    QString decimalSymbol = QStringLiteral(".");
    QString fixedFormat;
    std::vector<int> widths; // from ColN "... Width n" entries, by column

    QString formatText() const;
};

// The file a table names inside folder ("liste#csv" -> <folder>/liste.csv;
// a name without extension takes defaultExtension, e.g. ".dbf").
// Raises 3044 when the folder does not exist, 3010 when the file does.
QString targetFile(const std::string& folder, const std::string& table, const QString& defaultExtension = {});

// Reads the section of fileName in folder's schema.ini; raises 3442 for an invalid entry.
TextOptions readSchemaIni(const QString& folder, const QString& fileName);

// Encodes text in a character set named as schema.ini names them (ANSI, OEM,
// UNICODE, UTF-8 or a code page number).
QByteArray encodeText(const QString& text, const QString& characterSet);
QString charsetLabel(const QString& characterSet); // for an HTML meta element

// The text of a value as the text formats write it (no quoting).
QString valueText(const Variant& value, const TextOptions& options);

// A schema.ini column type for a Jet column ("Integer", "Char Width 50" …).
QString schemaType(const Column& column);

} // namespace dao::isam
