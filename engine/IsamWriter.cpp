#include "engine/IsamWriter.h"
#include "engine/HtmlIsam.h"
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

} // namespace

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
    const QString f = QString::fromStdString(format);
    if (f.compare(QStringLiteral("Text"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TextWriter>(where, table, columns);
    if (f.compare(QStringLiteral("HTML Export"), Qt::CaseInsensitive) == 0)
        return std::make_unique<HtmlWriter>(where, table, columns);
    throw jet::isamNotFound(format);
}

} // namespace dao::isam
