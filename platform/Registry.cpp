#include "platform/Registry.h"
#include "platform/CodePages.h"

#include <QDir>
#include <QFile>

namespace platform {

bool Registry::progIdInstalled(const QString& progId)
{
    static const QStringList installed = {"DAO.DBEngine.35", "DAO.DBEngine.36", "DAO.PrivateDBEngine.35",
                                          "DAO.PrivateDBEngine.36"};
    return installed.contains(progId, Qt::CaseInsensitive);
}

QStringList Registry::isamFormats(const QString& jetVersion)
{
    if (jetVersion != "3.5" && jetVersion != "4.0")
        return {};
    return {"dBase 5.0",   "dBase III",   "dBase IV",    "Excel 3.0",   "Excel 4.0",   "Excel 5.0",
            "Excel 8.0",   "FoxPro 2.0",  "FoxPro 2.5",  "FoxPro 2.6",  "FoxPro 3.0",  "HTML Export",
            "Paradox 3.X", "Paradox 4.X", "Paradox 5.X", "Paradox 7.X", "Text"};
}

QString Registry::jetSystemDb(const QString&) { return {}; }

QStringList Registry::sectionNames(const QString& path)
{
    QFile file(path);
    QStringList names;
    if (!file.open(QIODevice::ReadOnly))
        return names;
    while (!file.atEnd()) {
        const QString line = fromUtf8OrCp1252(file.readLine()).trimmed();
        if (!line.startsWith('[') || !line.endsWith(']'))
            continue;
        const QString name = line.mid(1, line.size() - 2).trimmed();
        if (name.isEmpty() || name.compare("ODBC Data Sources", Qt::CaseInsensitive) == 0 ||
            name.compare("ODBC", Qt::CaseInsensitive) == 0 || names.contains(name, Qt::CaseInsensitive))
            continue;
        names << name;
    }
    return names;
}

namespace {

QString systemConfigFolder()
{
    const QString env = qEnvironmentVariable("ODBCSYSINI");
    return env.isEmpty() ? QStringLiteral("/etc") : env;
}

} // namespace

QStringList Registry::odbcDrivers() { return sectionNames(systemConfigFolder() + "/odbcinst.ini"); }

QStringList Registry::odbcUserDataSources()
{
    const QString env = qEnvironmentVariable("ODBCINI");
    return sectionNames(env.isEmpty() ? QDir::homePath() + "/.odbc.ini" : env);
}

QStringList Registry::odbcSystemDataSources() { return sectionNames(systemConfigFolder() + "/odbc.ini"); }

} // namespace platform
