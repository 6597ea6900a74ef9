#include "stocktaking/ListLocations.h"

#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"

namespace lists {

namespace {

std::string utf8(const QString& text) { return text.toUtf8().toStdString(); }

std::string sqlText(const QString& text) { return utf8('\'' + QString(text).replace('\'', QStringLiteral("''")) + '\''); }

} // namespace

void CreateLocationTable(dao::Database& inventory)
{
    inventory.execute(std::string("CREATE TABLE ") + kLocationTable +
                          " (Inventurliste LONG CONSTRAINT PrimaryKey PRIMARY KEY, Standort TEXT(30))",
                      dao::dbFailOnError);
}

bool HasLocationTable(dao::Database& inventory) { return inventory.tableDefs().contains(kLocationTable); }

Location StoredLocation(dao::Database& inventory, int listIdx)
{
    const auto row = inventory.openRecordset(std::string("SELECT Standort FROM ") + kLocationTable +
                                                 " WHERE Inventurliste = " + std::to_string(listIdx),
                                             dao::dbOpenForwardOnly);
    if (row->eof())
        return {};
    const dao::Variant& name = row->value(0);
    return name.isNull() ? Location::Without() : Location::Named(QString::fromStdString(name.toText()));
}

void StoreLocation(dao::Database& inventory, int listIdx, const Location& location)
{
    const std::string list = std::to_string(listIdx);
    inventory.beginTrans();
    try {
        inventory.execute(std::string("DELETE FROM ") + kLocationTable + " WHERE Inventurliste = " + list,
                          dao::dbFailOnError);
        if (!location.IsAll())
            inventory.execute(std::string("INSERT INTO ") + kLocationTable + " (Inventurliste, Standort) VALUES (" +
                                  list + ", " +
                                  (location.kind() == Location::Kind::Named ? sqlText(location.Name()) : "Null") + ")",
                              dao::dbFailOnError);
        inventory.commitTrans();
    } catch (...) {
        inventory.rollback();
        throw;
    }
}

} // namespace lists
