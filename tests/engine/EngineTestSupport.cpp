#include "engine/DaoError.h"
#include "EngineTestSupport.h"

#include "tests/support/Fixtures.h"

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <stdexcept>

namespace enginetest {

std::string baseQuery()
{
    return " SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS AUTOR FROM "
           "EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer";
}

std::string missingBooksQuery(const std::string& inventoryPath, const std::string& listIdx)
{
    std::string quoted;
    for (char c : inventoryPath) {
        if (c == '\'')
            quoted += '\'';
        quoted += c;
    }
    return baseQuery() + " AND EXEMPLAR.EXEMPLARNUMMER NOT IN (SELECT inventur.NR FROM inventur in " + "'" + quoted
           + "'" + " WHERE inventur.inventurliste =" + listIdx + ")" + " ORDER BY EXEMPLAR.EXEMPLARNUMMER";
}

std::string captureQuery(const std::string& number, const std::string& listIdx)
{
    return std::string(" SELECT NR FROM inventur WHERE NR = ") + number + " AND inventur.inventurliste =" + listIdx;
}

QJsonObject expectedQueries()
{
    QFile f(testsupport::fixturePath("catalogue/veltrano-expected.json"));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("veltrano-expected.json missing");
    return QJsonDocument::fromJson(f.readAll()).object().value("queries").toObject();
}

QJsonArray expectedMissingBooks(int list)
{
    QFile f(testsupport::fixturePath("inventory/README.md"));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("inventory README missing");
    const QString text = QString::fromUtf8(f.readAll());
    const QString heading = QStringLiteral("### List %1 (IDX %1)").arg(list);
    const qsizetype start = text.indexOf(heading);
    const qsizetype open = text.indexOf("```", start);
    const qsizetype close = text.indexOf("```", open + 3);
    QJsonArray rows;
    const QString block = text.mid(open + 3, close - open - 3);
    for (const QString& line : block.split('\n', Qt::SkipEmptyParts))
        rows.append(QJsonDocument::fromJson(line.trimmed().toUtf8()).array());
    return rows;
}

QJsonArray rowsOf(dao::Recordset& rs)
{
    QJsonArray rows;
    if (rs.bof() && rs.eof())
        return rows;
    rs.moveFirst();
    while (!rs.eof()) {
        QJsonArray row;
        for (int i = 0; i < rs.fields().count(); ++i) {
            const dao::Variant v = rs.value(i);
            if (v.isNull())
                row.append(QJsonValue::Null);
            else if (v.isNumeric())
                row.append(v.toDouble());
            else
                row.append(QString::fromStdString(v.toText()));
        }
        rows.append(row);
        rs.moveNext();
    }
    return rows;
}

void makeSampleInventory(dao::DBEngine& engine, const std::string& path)
{
    auto db = engine.createDatabase(path, dao::dbLangGeneral);
    db->execute("CREATE TABLE inventurliste (IDX COUNTER PRIMARY KEY, Bezeichnung TEXT(50))", dao::dbFailOnError);
    db->execute("CREATE TABLE inventur (IDX COUNTER PRIMARY KEY, NR LONG, Inventurliste LONG)", dao::dbFailOnError);
    db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Inventur vom: 01.07.2025')", dao::dbFailOnError);
    db->execute("INSERT INTO inventurliste (Bezeichnung) VALUES ('Inventur vom: 15.08.2026')", dao::dbFailOnError);
    const int list1[] = {4711, 1, 2, 3, 5, 8, 9, 10, 11, 12, 21, 22, 1000, 1001, 1002,
                         1003, 1004, 2147483647, 37, 2000, 2001, 2002, 2003, 500, 501, 24, 25, 26, 13, 14};
    const int list2[] = {4711, 999999, 8, 1003, 8};
    for (int nr : list1)
        db->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (" + std::to_string(nr) + ", 1)",
                    dao::dbFailOnError);
    for (int nr : list2)
        db->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (" + std::to_string(nr) + ", 2)",
                    dao::dbFailOnError);
    db->close();
}

long errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const dao::DaoError& e) {
        return e.number();
    }
    return 0;
}

ScratchDatabase::ScratchDatabase(std::initializer_list<const char*> statements)
    : db(engine.createDatabase(folder.file("scratch.mdb").toStdString(), dao::dbLangGeneral))
{
    for (const char* sql : statements)
        db->execute(sql, dao::dbFailOnError);
}

} // namespace enginetest
