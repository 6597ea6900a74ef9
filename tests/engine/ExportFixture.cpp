#include "tests/engine/ExportFixture.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"

#include <QDateTime>
#include <QJsonObject>
#include <cmath>

namespace exporttest {

const QString kLongNote = QStringLiteral("Über die Bücher des Jahres – Preise in € und Größen in m². ").repeated(7);

namespace {

const char* const kFields = "SELECT E.EXEMPLARNUMMER AS BUCHNR, T.HAUPTTITEL AS TITEL, T.HAUPTEINTRAG AS AUTOR, E.PREIS, "
                            "E.AUSGELIEHEN, T.ERFASST, T.JAHR, N.BEMERKUNG";
const char* const kFrom = " FROM (EXEMPLAR AS E INNER JOIN TITEL AS T ON E.TITEL = T.Buchungsnummer) LEFT JOIN "
                          "[notiz.mdb].[NOTIZ] AS N ON N.BUCHNR = E.EXEMPLARNUMMER ORDER BY E.EXEMPLARNUMMER";

} // namespace

CatalogueExport::CatalogueExport()
{
    const QString catalogue = dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb");
    {
        auto notes = engine.createDatabase(dir.file("notiz.mdb").toStdString(), dao::dbLangGeneral);
        notes->execute("CREATE TABLE NOTIZ (BUCHNR LONG, BEMERKUNG MEMO)", dao::dbFailOnError);
        notes->execute("INSERT INTO NOTIZ VALUES (4, '" + kLongNote.toStdString() + "')", dao::dbFailOnError);
        notes->execute("INSERT INTO NOTIZ VALUES (1010, 'Rabatt 5 € – „Sonderpreis“')", dao::dbFailOnError);
        notes->close();
    }
    db = engine.openDatabase(catalogue.toStdString());
}

std::string CatalogueExport::statement(const std::string& into) const
{
    // The notes' database is named relative to the folder of the test.
    std::string from = kFrom;
    from.replace(from.find("notiz.mdb"), 9, dir.file("notiz.mdb").toStdString());
    return std::string(kFields) + " INTO " + into + from;
}

long CatalogueExport::exportTo(const std::string& into)
{
    db->execute(statement(into), dao::dbFailOnError);
    return db->recordsAffected();
}

std::string CatalogueExport::select() const
{
    std::string s = statement("");
    return s.erase(s.find(" INTO "), 6);
}

std::vector<std::vector<dao::Variant>> CatalogueExport::expectedRows()
{
    auto rs = db->openRecordset(select(), dao::dbOpenSnapshot);
    std::vector<std::vector<dao::Variant>> rows;
    while (!rs->eof()) {
        std::vector<dao::Variant> row;
        for (int i = 0; i < rs->fields().count(); ++i)
            row.push_back(rs->value(i));
        rows.push_back(row);
        rs->moveNext();
    }
    return rows;
}

QStringList CatalogueExport::fieldNames()
{
    return {"BUCHNR", "TITEL", "AUTOR", "PREIS", "AUSGELIEHEN", "ERFASST", "JAHR", "BEMERKUNG"};
}

QJsonArray expectedJson(const std::vector<std::vector<dao::Variant>>& rows, const Reading& reading)
{
    using dao::VarType;
    QJsonArray out;
    for (const auto& row : rows) {
        QJsonArray r;
        for (size_t i = 0; i < row.size(); ++i) {
            const dao::Variant& v = row[i];
            const bool memo = i == 7;
            switch (v.type()) {
            case VarType::Null:
                r.append(reading.nullTextIsEmpty && (i == 1 || i == 2 || memo) ? QJsonValue(QString()) : QJsonValue());
                break;
            case VarType::Boolean:
                r.append(reading.booleansAsNumbers ? QJsonValue(v.toBool() ? 1.0 : 0.0) : QJsonValue(v.toBool()));
                break;
            case VarType::Date: {
                const double days = v.toDouble();
                const QDateTime t = QDateTime(QDate(1899, 12, 30).addDays(qint64(std::floor(days))), QTime(0, 0))
                                        .addSecs(std::lround((days - std::floor(days)) * 86400.0));
                r.append(QJsonObject{{"date", t.toString(reading.datesWithTime ? "yyyy-MM-dd HH:mm:ss" : "yyyy-MM-dd")}});
                break;
            }
            case VarType::Text: {
                QString text = QString::fromStdString(v.bytes());
                if (memo && reading.memoLimit >= 0)
                    text = text.left(reading.memoLimit);
                if (!reading.trailingBlanksKept && !memo)
                    while (text.endsWith(' '))
                        text.chop(1);
                r.append(text.isEmpty() && reading.emptyTextIsNull ? QJsonValue() : QJsonValue(text));
                break;
            }
            default: r.append(v.toDouble()); break;
            }
        }
        out.append(r);
    }
    return out;
}

} // namespace exporttest
