#pragma once
// The rows the export tests write: the catalogue's copies joined to their
// titles as the check queries join them, with price, loan flag, entry date,
// year and a note from an engine database (a memo, one of them over 300
// characters with umlauts and the euro sign).
#include "engine/DBEngine.h"
#include "engine/Variant.h"
#include "tests/support/TempFolder.h"

#include <QJsonArray>
#include <QString>
#include <memory>
#include <string>
#include <vector>

namespace exporttest {

extern const QString kLongNote;

// How a format and its reader give values back.
struct Reading {
    bool datesWithTime = true;     // false: the date alone ("YYYY-MM-DD")
    bool trailingBlanksKept = true; // false: fixed-width text fields (not memos) lose them
    bool emptyTextIsNull = false;  // "" reads as null
    bool nullTextIsEmpty = false;  // null text and memos read as ""
    bool booleansAsNumbers = false;
    int memoLimit = -1;            // characters a memo keeps, -1: all
};

// Rows as JSON the way the external readers give them: null, numbers,
// Booleans, strings, {"date": "…"}.
QJsonArray expectedJson(const std::vector<std::vector<dao::Variant>>& rows, const Reading& reading);

struct CatalogueExport {
    CatalogueExport();

    // The export statement: the join with " INTO <target>" in its place.
    std::string statement(const std::string& into) const;
    // The join alone.
    std::string select() const;
    // Runs it; returns the rows written.
    long exportTo(const std::string& into);
    // The engine's own rows of the join: what every export must hold.
    std::vector<std::vector<dao::Variant>> expectedRows();
    static QStringList fieldNames();

    testsupport::TempFolder dir;
    dao::DBEngine engine;
    std::shared_ptr<dao::Database> db;
};

} // namespace exporttest
