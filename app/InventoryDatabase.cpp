#include "app/InventoryDatabase.h"

#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/DaoError.h"
#include "engine/Field.h"
#include "engine/FileFormat.h"
#include "engine/Recordset.h"
#include "stocktaking/ListLocations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace inventory {
namespace {

std::string utf8(const QString& s) { return s.toUtf8().toStdString(); }

QString sqlText(const std::string& text)
{
    return '\'' + QString::fromStdString(text).replace('\'', QStringLiteral("''")) + '\'';
}

QString sqlNumber(const dao::Variant& v) { return v.isNull() ? QStringLiteral("Null") : QString::number(v.toInt64()); }

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
        dao::DBEngine engine;
        auto source = engine.openDatabase(utf8(path), 0, true);
        auto target = engine.openDatabase(utf8(fresh));
        target->beginTrans();
        auto lists = source->openRecordset("SELECT IDX, Bezeichnung FROM inventurliste ORDER BY IDX", 4);
        for (; !lists->eof(); lists->moveNext(), ++result.lists) {
            const dao::Variant name = lists->value(1);
            target->execute(utf8(QStringLiteral("INSERT INTO inventurliste (IDX, Bezeichnung) VALUES (%1, %2)")
                                     .arg(sqlNumber(lists->value(0)),
                                          name.isNull() ? QStringLiteral("Null") : sqlText(name.toText()))),
                            dao::dbFailOnError);
        }
        auto entries = source->openRecordset("SELECT IDX, NR, Inventurliste FROM inventur ORDER BY IDX", 4);
        for (; !entries->eof(); entries->moveNext(), ++result.entries)
            target->execute(utf8(QStringLiteral("INSERT INTO inventur (IDX, NR, Inventurliste) VALUES (%1, %2, %3)")
                                     .arg(sqlNumber(entries->value(0)), sqlNumber(entries->value(1)),
                                          sqlNumber(entries->value(2)))),
                            dao::dbFailOnError);
        target->commitTrans();
        target->close();
        source->close();
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
