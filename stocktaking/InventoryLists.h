#pragma once
// Inventory lists: creating one and removing the entries of the list about
// to be deleted.
#include <QString>

class TVoDaoTable;
class TDataSet;

namespace lists {

// Appends a list named name (as typed) to master and posts it; it becomes the
// active list. A name longer than the 50 characters of Bezeichnung is refused
// before anything is stored.
void CreateList(TVoDaoTable& master, const QString& name);

// Deletes every entry the detail dataset shows, one by one, from its first.
void DeleteAllEntries(TDataSet& entries);

// The question asked before a list is deleted.
QString DeleteQuestion(const QString& listName);

} // namespace lists
