// The catalogue checks and the missing-books report, translated and run on the
// rows of the catalogue fixture, against the results documented with it.
#include "SqlTestDb.h"

#include "tests/support/Fixtures.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using sqltest::Row;

void insertRows(sqltest::SqlTestDb& db, const std::string& table, int columns, const std::vector<Row>& rows,
                const std::vector<bool>& numeric)
{
    std::string sql = "INSERT INTO " + table + " VALUES (";
    for (int i = 0; i < columns; ++i)
        sql += i ? ",?" : "?";
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db.handle(), (sql + ")").c_str(), -1, &stmt, nullptr), SQLITE_OK);
    for (const Row& row : rows) {
        ASSERT_EQ(static_cast<int>(row.size()), columns);
        for (int i = 0; i < columns; ++i) {
            if (!row[i])
                sqlite3_bind_null(stmt, i + 1);
            else if (numeric[i])
                sqlite3_bind_int64(stmt, i + 1, std::stoll(*row[i]));
            else
                sqlite3_bind_text(stmt, i + 1, row[i]->c_str(), -1, SQLITE_TRANSIENT);
        }
        ASSERT_EQ(sqlite3_step(stmt), SQLITE_DONE);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
}

std::vector<Row> jsonRows(const QJsonArray& rows)
{
    std::vector<Row> out;
    for (const auto& r : rows) {
        Row row;
        for (const auto& v : r.toArray()) {
            if (v.isNull())
                row.emplace_back(std::nullopt);
            else if (v.isString())
                row.emplace_back(v.toString().toStdString());
            else
                row.emplace_back(QString::number(static_cast<qint64>(v.toDouble())).toStdString());
        }
        out.push_back(std::move(row));
    }
    return out;
}

class CatalogueQueries : public testing::Test {
protected:
    void SetUp() override
    {
        db.exec("CREATE TABLE TITEL (Buchungsnummer INTEGER PRIMARY KEY, HAUPTTITEL TEXT COLLATE JETTEXT, "
                "HAUPTEINTRAG TEXT COLLATE JETTEXT, VERLAG TEXT COLLATE JETTEXT, JAHR INTEGER, ERFASST TEXT)");
        db.exec("CREATE TABLE EXEMPLAR (EXEMPLARNUMMER INTEGER, TITEL INTEGER, STANDORT TEXT COLLATE JETTEXT, "
                "PREIS TEXT, AUSGELIEHEN INTEGER)");
        insertRows(db, "TITEL", 6, sqltest::markdownRows("catalogue/veltrano.md", "## TITEL rows"),
                   {true, false, false, false, true, false});
        insertRows(db, "EXEMPLAR", 5, sqltest::markdownRows("catalogue/veltrano.md", "## EXEMPLAR rows"),
                   {true, true, false, false, true});
        QFile f(testsupport::fixturePath("catalogue/veltrano-expected.json"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        expected = QJsonDocument::fromJson(f.readAll()).object()["queries"].toObject();
    }

    void checkQuery(const char* name, bool asCp1252)
    {
        const QJsonObject q = expected[name].toObject();
        std::string sql = q["sql"].toString().toStdString();
        if (asCp1252)
            sql = sqltest::toCp1252(sql);
        const auto rows = db.jet(sql);
        EXPECT_EQ(static_cast<int>(rows.size()), q["count"].toInt()) << name;
        EXPECT_EQ(rows, jsonRows(q["rows"].toArray())) << name;
    }

    sqltest::SqlTestDb db;
    QJsonObject expected;
};

TEST_F(CatalogueQueries, AllCopies) { checkQuery("alle", false); }
TEST_F(CatalogueQueries, WithoutTitle) { checkQuery("ohne_titel", false); }
TEST_F(CatalogueQueries, WithoutAuthor) { checkQuery("ohne_autor", false); }
TEST_F(CatalogueQueries, TitleEqualsAuthorIgnoringCaseAndUmlautCase) { checkQuery("titel_gleich_autor", false); }
TEST_F(CatalogueQueries, SpecialCharactersAsUtf8) { checkQuery("sonderzeichen", false); }
TEST_F(CatalogueQueries, SpecialCharactersAsWindows1252Bytes) { checkQuery("sonderzeichen", true); }

class MissingBooks : public CatalogueQueries {
protected:
    void SetUp() override
    {
        CatalogueQueries::SetUp();
        db.attach(path, "inv");
        db.exec("CREATE TABLE inv.inventur (IDX INTEGER PRIMARY KEY, NR INTEGER, Inventurliste INTEGER)");
        insertRows(db, "inv.inventur", 3, sqltest::markdownRows("inventory/README.md", "### inventur ("),
                   {true, true, true});
    }

    std::vector<Row> missing(const std::string& list)
    {
        std::string quoted;
        for (char c : path)
            quoted += c == '\'' ? std::string("''") : std::string(1, c);
        return db.jet(" SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS "
                      "AUTOR FROM EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer AND "
                      "EXEMPLAR.EXEMPLARNUMMER NOT IN (SELECT inventur.NR FROM inventur in '"
                      + quoted + "' WHERE inventur.inventurliste =" + list + ") ORDER BY EXEMPLAR.EXEMPLARNUMMER");
    }

    const std::string path = "C:\\Inventur's\\db_inv.mdb";
};

TEST_F(MissingBooks, ListOneThroughTheExternalDatabase)
{
    EXPECT_EQ(missing("1"), sqltest::markdownRows("inventory/README.md", "### List 1"));
    ASSERT_FALSE(db.resolved.empty());
    EXPECT_EQ(db.resolved.back().name, "inventur");
    EXPECT_EQ(db.resolved.back().externalPath, path);
}

TEST_F(MissingBooks, ListTwoWithUnknownAndDuplicateNumbers)
{
    EXPECT_EQ(missing("2"), sqltest::markdownRows("inventory/README.md", "### List 2"));
}

TEST_F(MissingBooks, EmptyListGivesEveryJoinedCopy)
{
    EXPECT_EQ(missing("3"), jsonRows(expected["alle"].toObject()["rows"].toArray()));
}

} // namespace
