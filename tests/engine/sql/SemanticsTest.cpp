// Translated statements run on SQLite behave as Jet's do: text without regard
// to case, dates as days, booleans as -1/0, & and +, GUIDs, TOP with ties.
#include "SqlTestDb.h"

#include "engine/DaoError.h"

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<sqltest::Row>;

class Semantics : public testing::Test {
protected:
    void SetUp() override
    {
        db.exec("CREATE TABLE p (id INTEGER PRIMARY KEY, name TEXT COLLATE JETTEXT, d REAL, flag INTEGER, g BLOB, "
                "n INTEGER)");
    }
    sqltest::SqlTestDb db;
};

TEST_F(Semantics, TextComparesWithoutCaseForUmlautsToo)
{
    db.jet("INSERT INTO p (id, name) VALUES (1, 'Müller')");
    db.jet("INSERT INTO p (id, name) VALUES (2, 'MÜLLER')");
    db.jet("INSERT INTO p (id, name) VALUES (3, 'Mueller')");
    db.jet("INSERT INTO p (id, name) VALUES (4, 'Muller')");
    db.jet("INSERT INTO p (id, name) VALUES (5, 'müller')");
    EXPECT_EQ(db.jet("SELECT id FROM p WHERE name = 'mÜller' ORDER BY id"), (Rows{{"1"}, {"2"}, {"5"}}));
    EXPECT_EQ(db.jet("SELECT id FROM p WHERE name IN ('MUELLER', 'x') ORDER BY id"), (Rows{{"3"}}));
    EXPECT_EQ(db.jet("SELECT COUNT(*) FROM (SELECT DISTINCT name FROM p) AS q"), (Rows{{"3"}}));
    EXPECT_EQ(db.jet("SELECT COUNT(*) FROM p GROUP BY name ORDER BY COUNT(*)"), (Rows{{"1"}, {"1"}, {"3"}}));
    EXPECT_EQ(db.jet("SELECT id FROM p WHERE id < 5 ORDER BY name, id"), (Rows{{"3"}, {"4"}, {"1"}, {"2"}}));
    // Function results against literals compare the same way.
    EXPECT_EQ(db.jet("SELECT id FROM p WHERE LCASE(name) = 'MÜLLER' ORDER BY id"), (Rows{{"1"}, {"2"}, {"5"}}));
    EXPECT_EQ(db.jet("SELECT COUNT(*) FROM (SELECT DISTINCT UCASE(name) FROM p) AS q"), (Rows{{"3"}}));
    EXPECT_EQ(db.jet("SELECT COUNT(*) FROM p GROUP BY LCASE(name) HAVING COUNT(*) > 1"), (Rows{{"3"}}));
    EXPECT_EQ(db.jet("SELECT id FROM p WHERE name BETWEEN 'MUF' AND 'mua' ORDER BY id"), (Rows{{"3"}}));
}

TEST_F(Semantics, SharpSKeepsItsPlaceAfterDoubleS)
{
    db.jet("INSERT INTO p (id, name) VALUES (1, 'Straße')");
    db.jet("INSERT INTO p (id, name) VALUES (2, 'Strasse')");
    db.jet("INSERT INTO p (id, name) VALUES (3, 'Strassen')");
    EXPECT_EQ(db.jet("SELECT id FROM p WHERE name = 'STRAẞE'"), (Rows{{"1"}}));
    EXPECT_EQ(db.jet("SELECT id FROM p ORDER BY name"), (Rows{{"2"}, {"1"}, {"3"}}));
}

TEST_F(Semantics, DatesAreDaysSince1899)
{
    db.jet("INSERT INTO p (id, d) VALUES (1, #1/15/2003 13:05:30#)");
    db.jet("INSERT INTO p (id, d) VALUES (2, #12/30/1899#)");
    db.jet("INSERT INTO p (id, d) VALUES (3, #2/29/2024#)");
    EXPECT_EQ(db.jet("SELECT Year(d), Month(d), Day(d), Hour(d), Minute(d), Second(d), Weekday(d) FROM p WHERE id = 1"),
              (Rows{{"2003", "1", "15", "13", "5", "30", "4"}}));
    EXPECT_EQ(db.jet("SELECT d FROM p WHERE id = 2"), (Rows{{"0.0"}}));
    EXPECT_EQ(db.jet("SELECT id FROM p WHERE d BETWEEN #1/1/2003# AND #1/16/2003# "), (Rows{{"1"}}));
    EXPECT_EQ(db.jet("SELECT Format(DateAdd('m', 1, #1/31/2003#), 'yyyy-mm-dd'), DateDiff('d', #1/1/2003#, d), "
                     "Format(d, 'dd.mm.yyyy hh:nn:ss'), DatePart('q', d) FROM p WHERE id = 1"),
              (Rows{{"2003-02-28", "14", "15.01.2003 13:05:30", "1"}}));
    EXPECT_EQ(db.jet("SELECT Format(DateSerial(2024, 3, 0), 'yyyy-mm-dd'), Format(CDate('15.01.2003'), 'm/d/yyyy') FROM p "
                     "WHERE id = 3"),
              (Rows{{"2024-02-29", "1/15/2003"}}));
    EXPECT_EQ(db.jet("SELECT DateDiff('yyyy', #12/31/2002#, #1/1/2003#), DateDiff('ww', #1/4/2003#, #1/5/2003#) FROM p "
                     "WHERE id = 1"),
              (Rows{{"1", "1"}}));
}

TEST_F(Semantics, BooleansAreMinusOneAndZero)
{
    db.jet("INSERT INTO p (id, flag, n) VALUES (1, True, 5)");
    db.jet("INSERT INTO p (id, flag, n) VALUES (2, False, 0)");
    EXPECT_EQ(db.jet("SELECT id FROM p WHERE flag = Yes"), (Rows{{"1"}}));
    EXPECT_EQ(db.jet("SELECT id FROM p WHERE NOT flag"), (Rows{{"2"}}));
    EXPECT_EQ(db.jet("SELECT n > 1, flag, IsNull(name), n = 0 AND flag = False FROM p ORDER BY id"),
              (Rows{{"-1", "-1", "-1", "0"}, {"0", "0", "-1", "-1"}}));
    EXPECT_EQ(db.jet("SELECT IIf(n > 1, 'big', 'small'), IIf(name, 'x', 'null is false') FROM p WHERE id = 1"),
              (Rows{{"big", "null is false"}}));
}

TEST_F(Semantics, ConcatenationAndPlus)
{
    db.jet("INSERT INTO p (id, name, n) VALUES (1, 'a', 2)");
    EXPECT_EQ(db.jet("SELECT name & Null & n & 1.5, Null & Null, name + Null, name + 'b', '1' + n, n + n FROM p"),
              (Rows{{"a21.5", std::nullopt, std::nullopt, "ab", "3", "4"}}));
}

TEST_F(Semantics, ArithmeticOperators)
{
    EXPECT_EQ(db.jet("SELECT 7 / 2, 7 \\ 2, -7 MOD 3, 7.5 MOD 2, 2 ^ 10, -2 ^ 2, 5.5 \\ 2"),
              (Rows{{"3.5", "3", "-1", "0", "1024.0", "-4.0", "3"}}));
    EXPECT_NE(db.jetError("SELECT 1 \\ 0").find("(error 11)"), std::string::npos);
}

TEST_F(Semantics, GuidLiteralUsesMicrosoftsByteOrder)
{
    db.jet("INSERT INTO p (id, g) VALUES (1, {guid {12345678-90AB-CDEF-1234-567890ABCDEF}})");
    EXPECT_EQ(db.query("SELECT hex(g) FROM p"), (Rows{{"78563412AB90EFCD1234567890ABCDEF"}}));
    EXPECT_EQ(db.jet("SELECT id FROM p WHERE g = {GUID{12345678-90ab-cdef-1234-567890abcdef}}"), (Rows{{"1"}}));
}

TEST_F(Semantics, TopKeepsTiesOnlyWithOrderBy)
{
    for (int i = 1; i <= 6; ++i)
        db.exec("INSERT INTO p (id, n) VALUES (" + std::to_string(i) + ", " + std::to_string(i <= 4 ? i / 2 : 9) + ")");
    // n: 0, 1, 1, 2, 9, 9
    EXPECT_EQ(db.jet("SELECT TOP 2 n FROM p ORDER BY n").size(), 3u);
    EXPECT_EQ(db.jet("SELECT TOP 1 n FROM p ORDER BY n DESC").size(), 2u);
    EXPECT_EQ(db.jet("SELECT TOP 2 n FROM p").size(), 2u);
    EXPECT_EQ(db.jet("SELECT TOP 50 PERCENT id FROM p ORDER BY n").size(), 3u);
    EXPECT_EQ(db.jet("SELECT TOP 34 PERCENT id FROM p ORDER BY n").size(), 3u); // 2.04 rows round up to 3
    EXPECT_EQ(db.jet("SELECT TOP 10 PERCENT id FROM p").size(), 1u);
    EXPECT_EQ(db.jet("SELECT DISTINCT TOP 2 n FROM p ORDER BY p.n"), (Rows{{"0"}, {"1"}}));
    EXPECT_EQ(db.jet("SELECT TOP 1 n, COUNT(*) FROM p GROUP BY n ORDER BY COUNT(*) DESC, n"),
              (Rows{{"1", "2"}}));
}

TEST_F(Semantics, ExternalTablesGoThroughTheResolver)
{
    db.attach("C:\\x\\db.mdb", "x1");
    db.exec("CREATE TABLE x1.inventur (NR INTEGER, name TEXT COLLATE JETTEXT)");
    db.jet("INSERT INTO inventur IN 'C:\\x\\db.mdb' (NR, name) VALUES (4711, 'Zauberberg')");
    EXPECT_EQ(db.jet("SELECT inventur.NR FROM inventur IN 'C:\\x\\db.mdb' WHERE inventur.name = 'ZAUBERBERG'"),
              (Rows{{"4711"}}));
    EXPECT_EQ(db.jet("SELECT i.NR FROM [C:\\x\\db.mdb].[inventur] AS i"), (Rows{{"4711"}}));
    EXPECT_THROW(db.jet("SELECT * FROM inventur IN 'C:\\missing.mdb'"), dao::DaoError);
}

TEST_F(Semantics, UpdateAndDeleteWithJoins)
{
    db.exec("CREATE TABLE q (k INTEGER, v TEXT COLLATE JETTEXT)");
    db.exec("INSERT INTO p (id, name) VALUES (1, 'a'), (2, 'b'), (3, 'c')");
    db.exec("INSERT INTO q VALUES (1, 'x'), (2, 'y')");
    db.jet("UPDATE p INNER JOIN q ON p.id = q.k SET p.name = q.v WHERE q.v = 'Y'");
    EXPECT_EQ(db.jet("SELECT name FROM p ORDER BY id"), (Rows{{"a"}, {"y"}, {"c"}}));
    db.jet("UPDATE p LEFT JOIN q ON p.id = q.k SET p.n = 7 WHERE q.k IS NULL");
    EXPECT_EQ(db.jet("SELECT id FROM p WHERE n = 7"), (Rows{{"3"}}));
    db.jet("DELETE p.* FROM p INNER JOIN q ON p.id = q.k WHERE q.v = 'x'");
    EXPECT_EQ(db.jet("SELECT id FROM p ORDER BY id"), (Rows{{"2"}, {"3"}}));
    db.jet("DELETE * FROM p WHERE name = 'C'");
    EXPECT_EQ(db.jet("SELECT id FROM p"), (Rows{{"2"}}));
}

TEST_F(Semantics, JoinsNestedAsAccessWritesThem)
{
    db.exec("CREATE TABLE a (k INTEGER, x TEXT COLLATE JETTEXT)");
    db.exec("CREATE TABLE b (k INTEGER, y TEXT COLLATE JETTEXT)");
    db.exec("CREATE TABLE c (k INTEGER, z TEXT COLLATE JETTEXT)");
    db.exec("INSERT INTO a VALUES (1, 'a1'), (2, 'a2'), (3, 'a3')");
    db.exec("INSERT INTO b VALUES (1, 'b1'), (2, 'b2')");
    db.exec("INSERT INTO c VALUES (1, 'c1')");
    EXPECT_EQ(db.jet("SELECT a.x, b.y, c.z FROM ((a INNER JOIN b ON a.k = b.k) LEFT JOIN c ON b.k = c.k) "
                     "INNER JOIN p ON p.id = a.k ORDER BY a.x"),
              Rows{});
    db.exec("INSERT INTO p (id) VALUES (1), (2)");
    EXPECT_EQ(db.jet("SELECT a.x, b.y, c.z FROM ((a INNER JOIN b ON a.k = b.k) LEFT JOIN c ON b.k = c.k) "
                     "INNER JOIN p ON p.id = a.k ORDER BY a.x"),
              (Rows{{"a1", "b1", "c1"}, {"a2", "b2", std::nullopt}}));
    EXPECT_EQ(db.jet("SELECT a.x FROM b RIGHT JOIN a ON a.k = b.k WHERE b.k IS NULL"), (Rows{{"a3"}}));
}

TEST_F(Semantics, DistinctRowKeepsEqualRecordsApart)
{
    db.exec("CREATE TABLE o (pid INTEGER, item TEXT)");
    db.exec("INSERT INTO p (id, name) VALUES (1, 'Meier'), (2, 'meier'), (3, 'Kunz')");
    db.exec("INSERT INTO o VALUES (1, 'x'), (1, 'y'), (2, 'z')");
    // Two customers of the same name stay two rows; the two orders of one give one row.
    EXPECT_EQ(db.jet("SELECT DISTINCTROW p.name FROM p INNER JOIN o ON p.id = o.pid ORDER BY p.id"),
              (Rows{{"Meier"}, {"meier"}}));
    EXPECT_EQ(db.jet("SELECT DISTINCT p.name FROM p INNER JOIN o ON p.id = o.pid").size(), 1u);
    EXPECT_EQ(db.jet("SELECT p.name FROM p INNER JOIN o ON p.id = o.pid").size(), 3u);
}

TEST_F(Semantics, UnionAndSubqueries)
{
    db.exec("INSERT INTO p (id, name) VALUES (1, 'Öl'), (2, 'öl'), (3, 'Bad')");
    const auto merged = db.jet("SELECT name FROM p WHERE id = 1 UNION SELECT name FROM p WHERE id > 1 ORDER BY p.name");
    ASSERT_EQ(merged.size(), 2u); // Öl and öl are one value
    EXPECT_EQ(merged[0][0], "Bad");
    EXPECT_EQ(db.jet("SELECT id FROM p WHERE name IN (SELECT name FROM p WHERE id = 2) ORDER BY id"),
              (Rows{{"1"}, {"2"}}));
    EXPECT_EQ(db.jet("SELECT id, (SELECT COUNT(*) FROM p AS o WHERE o.name = p.name) FROM p ORDER BY id"),
              (Rows{{"1", "2"}, {"2", "2"}, {"3", "1"}}));
}

TEST_F(Semantics, ParametersBindInDeclaredOrder)
{
    db.exec("INSERT INTO p (id, name) VALUES (1, 'a'), (2, 'b')");
    const auto st = dao::sql::translate("PARAMETERS [Which Name] Text(10); SELECT id FROM p WHERE name = [which name]",
                                        db.resolver());
    ASSERT_EQ(st.parameters.size(), 1u);
    EXPECT_EQ(st.parameters[0].type, dao::sql::JetType::Text);
    EXPECT_NE(st.sql.find("?1"), std::string::npos);
}

} // namespace
