#include "stocktaking/InventoryLists.h"

#include "daodata/TVoDaoTable.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"

namespace lists {

void CreateList(TVoDaoTable& master, const QString& name)
{
    TField* field = nullptr;
    if (master.Active())
        field = master.FieldByName(QStringLiteral("Bezeichnung"));
    if (field && field->Size() > 0 && name.size() > field->Size())
        DatabaseError(QStringLiteral("Der Name der Inventurliste ist %1 Zeichen lang; erlaubt sind höchstens %2 Zeichen")
                          .arg(name.size())
                          .arg(field->Size()));
    master.Append();
    master.FieldByName(QStringLiteral("Bezeichnung"))->SetAsString(name);
    master.Post();
}

void DeleteListEntries(dao::Database& inventory, int listIdx)
{
    inventory.execute("DELETE FROM inventur WHERE Inventurliste = " + std::to_string(listIdx), dao::dbFailOnError);
}

QString DeleteQuestion(const QString& listName)
{
    return QStringLiteral("Datensatz \"") + listName + QStringLiteral("\" wirklich löschen?");
}

} // namespace lists
