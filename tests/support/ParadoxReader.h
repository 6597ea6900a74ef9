#pragma once
// A Paradox table read back through pxlib, independently of the writer: the
// fields and their types, every record's values as JSON (null, numbers,
// Booleans, text, {"date": "…"}), and the header's version facts.
#include <QJsonArray>
#include <QString>
#include <QStringList>

namespace testsupport {

struct ParadoxTable {
    int fileVersion = 0; // as pxlib understands the header: 30, 40, 50 or 70
    QStringList fields;
    QList<int> types;    // pxlib's field types (pxfAlpha …)
    QJsonArray rows;
};

// mb: the .mb file of the memos, or empty. Text is decoded from Windows-1252.
ParadoxTable readParadox(const QString& db, const QString& mb = {});

} // namespace testsupport
