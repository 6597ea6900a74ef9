#include "app/InventoryDatabase.h"

#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/DaoError.h"
#include "engine/FileFormat.h"
#include "engine/sql/Quote.h"
#include "stocktaking/ListLocations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace inventory {
namespace {

std::string utf8(const QString& s) { return s.toUtf8().toStdString(); }

} // namespace

void CreateEmptyInventory(const QString& path)
{
    dao::DBEngine engine;
    auto db = engine.createDatabase(utf8(path), dao::dbLangGeneral);
    try {
        db->execute("CREATE TABLE inventurliste (IDX COUNTER PRIMARY KEY, Bezeichnung TEXT(50))", dao::dbFailOnError);
        db->execute("CREATE TABLE inventur (IDX COUNTER PRIMARY KEY, NR LONG, Inventurliste LONG)", dao::dbFailOnError);
        db->execute("CREATE INDEX ListeNr ON inventur (Inventurliste, NR)", dao::dbFailOnError);
        lists::CreateLocationTable(*db);
        db->close();
    } catch (...) {
        db->close();
        QFile::remove(path);
        throw;
    }
}

bool CarryForward(dao::Database& inventory)
{
    if (!inventory.updatable() || lists::HasLocationTable(inventory))
        return false;
    lists::CreateLocationTable(inventory);
    return true;
}

QString OriginalName(const QString& path)
{
    const QFileInfo info(path);
    const QString base = info.dir().filePath(info.completeBaseName() + QStringLiteral(" (Access-Original)"));
    QString candidate = base + QStringLiteral(".mdb");
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = base + QStringLiteral(" %1.mdb").arg(n);
    return candidate;
}

CarryOverResult CarryOverAccessInventory(const QString& path)
{
    CarryOverResult result;
    if (!QFileInfo(path).isFile() || dao::detectFileFormat(utf8(path)) != dao::FileFormat::Jet)
        return result;

    const QString fresh = path + QStringLiteral(".new");
    QFile::remove(fresh);
    CreateEmptyInventory(fresh);
    try {
        // Both tables in one statement each, read straight from the Access file (a statement
        // per entry took about 2 s for 100,000 entries, one statement about 0.3 s).
        dao::DBEngine engine;
        auto target = engine.openDatabase(utf8(fresh));
        const std::string source = " IN " + dao::sql::quoteString(utf8(path));
        target->beginTrans();
        target->execute("INSERT INTO inventurliste (IDX, Bezeichnung) SELECT IDX, Bezeichnung FROM inventurliste" +
                            source,
                        dao::dbFailOnError);
        result.lists = int(target->recordsAffected());
        target->execute("INSERT INTO inventur (IDX, NR, Inventurliste) SELECT IDX, NR, Inventurliste FROM inventur" +
                            source,
                        dao::dbFailOnError);
        result.entries = int(target->recordsAffected());
        target->commitTrans();
        target->close();
    } catch (...) {
        QFile::remove(fresh);
        throw;
    }

    result.originalKeptAs = OriginalName(path);
    if (!QFile::rename(path, result.originalKeptAs)) {
        QFile::remove(fresh);
        throw dao::DaoError(3051, "The inventory database '" + utf8(path) + "' cannot be renamed.");
    }
    if (!QFile::rename(fresh, path)) {
        QFile::rename(result.originalKeptAs, path);
        QFile::remove(fresh);
        throw dao::DaoError(3051, "The inventory database '" + utf8(path) + "' cannot be replaced.");
    }
    result.carriedOver = true;
    return result;
}

QString CarryOverMessage(const CarryOverResult& result)
{
    return QStringLiteral("Die Inventur-Datenbank lag noch im Access-Format vor. Ihre %1 Inventurlisten mit %2 "
                          "Buch-Nummern wurden übernommen.\r\nDie ursprüngliche Datei liegt unverändert unter:\r\n%3")
        .arg(result.lists)
        .arg(result.entries)
        .arg(QDir::toNativeSeparators(result.originalKeptAs));
}

} // namespace inventory
