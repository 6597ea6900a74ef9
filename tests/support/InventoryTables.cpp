#include "tests/support/InventoryTables.h"

#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"

namespace testsupport {

void createInventoryTables(const QString& path)
{
    dao::DBEngine engine;
    auto db = engine.createDatabase(path.toStdString(), dao::dbLangGeneral);
    for (const char* sql : {"CREATE TABLE inventurliste (IDX COUNTER PRIMARY KEY, Bezeichnung TEXT(50))",
                            "CREATE TABLE inventur (IDX COUNTER PRIMARY KEY, NR LONG, Inventurliste LONG)",
                            "CREATE INDEX ListeNr ON inventur (Inventurliste, NR)"})
        db->execute(sql, dao::dbFailOnError);
    db->close();
}

} // namespace testsupport
