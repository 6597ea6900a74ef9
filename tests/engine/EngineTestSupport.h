#pragma once
// Shared helpers of the engine tests: the program's query texts, expected rows
// from the fixtures' documentation, an engine-made inventory database.
#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "tests/support/TempFolder.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace enginetest {

// The base text shared by the catalogue checks and the missing-books query.
std::string baseQuery();
// The missing-books query exactly as the report builds it (path quoted, quotes doubled).
std::string missingBooksQuery(const std::string& inventoryPath, const std::string& listIdx);
// The duplicate test of the capture ("SELECT NR FROM inventur WHERE NR = …").
std::string captureQuery(const std::string& number, const std::string& listIdx);

// The "queries" object of veltrano-expected.json.
QJsonObject expectedQueries();
// Rows [BUCHNR, TITEL, AUTOR] as listed in the inventory README for a list (1 or 2).
QJsonArray expectedMissingBooks(int list);

// All rows of a recordset (first to last) as JSON arrays of numbers, strings and nulls.
QJsonArray rowsOf(dao::Recordset& rs);

// Creates an engine-made inventory database holding the sample lists and entries
// of db_inv-sample.mdb.
void makeSampleInventory(dao::DBEngine& engine, const std::string& path);

// The Jet error number an action raises; 0 when it raises none.
long errorOf(const std::function<void()>& action);

// A new engine database in a folder of its own, made by the given statements.
struct ScratchDatabase {
    explicit ScratchDatabase(std::initializer_list<const char*> statements);
    testsupport::TempFolder folder;
    dao::DBEngine engine;
    std::shared_ptr<dao::Database> db;
};

} // namespace enginetest
