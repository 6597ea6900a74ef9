#pragma once
// Inventory lists: creating one and removing the entries of the list about
// to be deleted.
#include <QString>

class TVoDaoTable;

namespace dao {
class Database;
}

namespace lists {

// Appends a list named name (as typed) to master and posts it; it becomes the
// active list. A name longer than the 50 characters of Bezeichnung is refused
// before anything is stored.
void CreateList(TVoDaoTable& master, const QString& name);

// Deletes every entry of the list with that IDX in one statement, written at
// once: all of them or, when it fails, none.
void DeleteListEntries(dao::Database& inventory, int listIdx);

// The question asked before a list is deleted.
QString DeleteQuestion(const QString& listName);

} // namespace lists
