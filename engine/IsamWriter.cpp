#include "engine/IsamWriter.h"
#include "engine/DbfIsam.h"
#include "engine/EngineTableIsam.h"
#include "engine/HtmlIsam.h"
#include "engine/ParadoxIsam.h"
#include "engine/SpreadsheetIsam.h"
#include "engine/TextIsam.h"

#include <QString>
#include <QStringList>
#include "engine/JetErrors.h"

namespace dao::isam {
namespace {

// The value of "DATABASE=" in a connect part.
std::string databaseOption(const std::string& connect)
{
    for (const QString& part : QString::fromStdString(connect).split(';')) {
        const QString p = part.trimmed();
        if (p.startsWith(QStringLiteral("DATABASE="), Qt::CaseInsensitive))
            return p.mid(9).toStdString();
    }
    return {};
}

enum class Family { Text, Html, Spreadsheet, Paradox, Dbf };

struct Format {
    const char* name;
    Family family;
    int version; // BIFF or Paradox version, or the DbfFlavour
};

// Every format that writes, by the name its connect part gives.
const Format kFormats[] = {
    {"dBase 5.0", Family::Dbf, int(DbfFlavour::DBase5)},
    {"dBase III", Family::Dbf, int(DbfFlavour::DBase3)},
    {"dBase IV", Family::Dbf, int(DbfFlavour::DBase4)},
    {"Excel 3.0", Family::Spreadsheet, 3},
    {"Excel 4.0", Family::Spreadsheet, 4},
    {"Excel 5.0", Family::Spreadsheet, 5},
    {"Excel 8.0", Family::Spreadsheet, 8},
    {"FoxPro 2.0", Family::Dbf, int(DbfFlavour::FoxPro20)},
    {"FoxPro 2.5", Family::Dbf, int(DbfFlavour::FoxPro25)},
    {"FoxPro 2.6", Family::Dbf, int(DbfFlavour::FoxPro26)},
    {"FoxPro 3.0", Family::Dbf, int(DbfFlavour::VisualFoxPro)},
    {"HTML Export", Family::Html, 0},
    {"Paradox 3.X", Family::Paradox, 3},
    {"Paradox 4.X", Family::Paradox, 4},
    {"Paradox 5.X", Family::Paradox, 5},
    {"Paradox 7.X", Family::Paradox, 7},
    {"Text", Family::Text, 0},
};

} // namespace

std::vector<std::string> writableFormats()
{
    std::vector<std::string> names;
    for (const Format& f : kFormats)
        names.emplace_back(f.name);
    return names;
}

std::string formatName(const std::string& connect)
{
    const auto semicolon = connect.find(';');
    return QString::fromStdString(connect.substr(0, semicolon)).trimmed().toStdString();
}

std::unique_ptr<TableWriter> openWriter(const std::string& connect, const std::string& folder,
                                        const std::string& table, const std::vector<Column>& columns)
{
    const std::string format = formatName(connect);
    const std::string where = folder.empty() ? databaseOption(connect) : folder;
    const QString name = QString::fromStdString(format);
    // No format, or Jet's own: a table of a new engine database.
    if (name.isEmpty() || name.compare(QStringLiteral("MS Access"), Qt::CaseInsensitive) == 0
        || name.compare(QStringLiteral("Jet"), Qt::CaseInsensitive) == 0)
        return std::make_unique<EngineTableWriter>(where, table, columns);
    for (const Format& f : kFormats) {
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) != 0)
            continue;
        switch (f.family) {
        case Family::Text: return std::make_unique<TextWriter>(where, table, columns);
        case Family::Html: return std::make_unique<HtmlWriter>(where, table, columns);
        case Family::Spreadsheet: return openSpreadsheet(biff::Version(f.version), where, table, columns);
        case Family::Paradox: return openParadox(f.version, where, table, columns);
        case Family::Dbf: return openDbf(DbfFlavour(f.version), where, table, columns);
        }
    }
    throw jet::isamNotFound(format);
}

} // namespace dao::isam
