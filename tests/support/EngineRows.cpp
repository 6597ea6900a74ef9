#include "tests/support/EngineRows.h"
#include "tests/support/Fixtures.h"

#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"

#include <QFile>
#include <QJsonDocument>

namespace testsupport {

QJsonArray queryRows(const QString& databasePath, const QString& sql)
{
    dao::DBEngine engine;
    auto db = engine.openDatabase(databasePath.toStdString());
    auto rs = db->openRecordset(sql.toStdString(), 4);
    QJsonArray rows;
    for (; !rs->eof(); rs->moveNext()) {
        QJsonArray row;
        for (int i = 0; i < rs->fields().count(); ++i) {
            const dao::Variant v = rs->value(i);
            if (v.isNull())
                row.append(QJsonValue::Null);
            else if (v.isNumeric())
                row.append(double(v.toInt64()));
            else
                row.append(QString::fromStdString(v.toText()));
        }
        rows.append(row);
    }
    db->close();
    return rows;
}

void createDatabase(const QString& path, const QStringList& statements)
{
    dao::DBEngine engine;
    auto db = engine.createDatabase(path.toStdString(), dao::dbLangGeneral);
    for (const QString& statement : statements)
        db->execute(statement.toStdString());
    db->close();
}

QJsonObject expectedCatalogueQueries()
{
    QFile file(fixturePath("catalogue/veltrano-expected.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object()["queries"].toObject();
}

} // namespace testsupport
