#pragma once
// The database types the export dialog offers, with what each needs of the
// save dialog and which export of the dataset writes it; the code page and
// format lists of text and HTML targets. No widgets.
#include <QList>
#include <QString>
#include <QStringList>

enum class TExportKind { Excel, Paradox, DBase, FoxPro, Html, Text, Access };

struct TExportType {
    QString Entry;     // the text in the type list
    QString Extension; // the save dialog's default extension, without the dot
    QString Filter;    // the save dialog's filter, "Description|*.ext|..." pairs
    TExportKind Kind;
    int Version = 0; // the version argument of the export (Excel, Paradox, dBase, FoxPro)
};

// The fourteen types in list order. Entry 7 depends on the engine version
// of the connection: Paradox 7.X with "3.6", FoxPro 3.0 with any other.
QList<TExportType> ExportTypes(const QString& engineVersion);

// "ANSI", "OEM" and the numbers of the system's ANSI and OEM code pages.
QStringList ExportCodePages();

// The layouts of a text target, in list order; the last is "Fixed Length".
QStringList ExportFormats();
inline constexpr int kFixedLengthFormat = 3;

// The "Format" entry of schema.ini for a format list index; HTML targets
// always get "HTML".
QString SchemaFormat(int formatIndex, bool html);
