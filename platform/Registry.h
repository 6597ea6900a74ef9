#pragma once
// Answers the questions the data-access layer would put to the Windows
// registry: which database engine versions are installed, which installable
// formats the engine offers, where the workgroup file lies, and which ODBC
// drivers and data sources exist (from unixODBC's configuration files).
#include <QString>
#include <QStringList>

namespace platform {

class Registry {
public:
    // ProgIDs of the engine: "DAO.DBEngine.35", "DAO.DBEngine.36" and their
    // "DAO.PrivateDBEngine" forms are installed.
    static bool progIdInstalled(const QString& progId);

    // Subkeys of SOFTWARE\Microsoft\JET\<jetVersion>\ISAM Formats in the
    // registry's (alphabetical) order: the formats the engine implements.
    // Empty for versions other than "3.5" and "4.0".
    static QStringList isamFormats(const QString& jetVersion);

    // Value SystemDB of SOFTWARE\Microsoft\JET\<jetVersion>\Engines: there is
    // no workgroup information file, so always empty.
    static QString jetSystemDb(const QString& jetVersion);

    // ODBC drivers (section names of odbcinst.ini) and data sources (section
    // names of the user's and the system's odbc.ini), each in file order.
    static QStringList odbcDrivers();
    static QStringList odbcUserDataSources();
    static QStringList odbcSystemDataSources();

    // Section names of an ini-style file, in file order ("ODBC Data Sources"
    // and "ODBC" are configuration sections, not entries, and are left out).
    static QStringList sectionNames(const QString& path);
};

} // namespace platform
