#include "daoui/ExportTypes.h"

#include "platform/CodePages.h"

namespace {

QString filterFor(const QString& description, const QString& extension)
{
    return QStringLiteral("%1(*.%2)|*.%2|All files (*.*)|*.*").arg(description, extension);
}

} // namespace

QList<TExportType> ExportTypes(const QString& engineVersion)
{
    using K = TExportKind;
    const bool paradox7 = engineVersion == QLatin1String("3.6");
    // The descriptions are written as they always were, blank before the
    // parenthesis or not.
    return {
        {"MS Excel 3.0", "xls", filterFor("MS Excel 3.0 files", "xls"), K::Excel, 3},
        {"MS Excel 4.0", "xls", filterFor("MS Excel 4.0 files ", "xls"), K::Excel, 4},
        {"MS Excel 5.0", "xls", filterFor("MS Excel 5.0 files ", "xls"), K::Excel, 5},
        {"MS Excel 8.0", "xls", filterFor("MS Excel 8.0 files ", "xls"), K::Excel, 8},
        {"Paradox 3.X", "db", filterFor("Paradox 3.0 files ", "db"), K::Paradox, 3},
        {"Paradox 4.X", "db", filterFor("Paradox 4.0 files ", "db"), K::Paradox, 4},
        {"Paradox 5.X", "db", filterFor("Paradox 5.0 files ", "db"), K::Paradox, 5},
        paradox7 ? TExportType{"Paradox 7.X", "db", filterFor("Paradox 7.0 files", "db"), K::Paradox, 7}
                 : TExportType{"FoxPro 3.X", "dbf", filterFor("FoxPro 3.0 files ", "dbf"), K::FoxPro, 30},
        {"dBase III", "dbf", filterFor("dBase III files", "dbf"), K::DBase, 3},
        {"dBase IV", "dbf", filterFor("dBase IV files", "dbf"), K::DBase, 4},
        {"dBase 5.0", "dbf", filterFor("dBase 5.0 files", "dbf"), K::DBase, 5},
        {"HTML", "htm", filterFor("HTML files", "htm"), K::Html},
        {"Text", "txt", filterFor("Text files", "txt"), K::Text},
        {"MS Access", "mdb", filterFor("MS Access files", "mdb"), K::Access},
    };
}

QStringList ExportCodePages()
{
    return {QStringLiteral("ANSI"), QStringLiteral("OEM"), QString::number(platform::kAnsiCodePage),
            QString::number(platform::kOemCodePage)};
}

QStringList ExportFormats()
{
    return {QStringLiteral("Semicolon Delimited"), QStringLiteral("Tab Delimited"), QStringLiteral("CSV Delimited"),
            QStringLiteral("Fixed Length")};
}

QString SchemaFormat(int formatIndex, bool html)
{
    if (html)
        return QStringLiteral("HTML");
    static const char* const formats[] = {"Delimited(;)", "TabDelimited", "CSVDelimited", "FixedLength"};
    return formatIndex >= 0 && formatIndex < 4 ? QString::fromLatin1(formats[formatIndex]) : QString();
}
