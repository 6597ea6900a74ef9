// Recordsets on texts that differ only in the numbers they compare with (one
// translation and prepared statement serve them all): each reads the rows of
// its own numbers, through Filter, Sort, Find, editing and requery, and
// numbers whose place or value could change the statement keep their meaning.
#include "EngineTestSupport.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace enginetest;

namespace {

class NumberSlots : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = engine.createDatabase(folder.file("slots.mdb").toStdString(), dao::dbLangGeneral);
        db->execute("CREATE TABLE inventur (IDX COUNTER PRIMARY KEY, NR LONG, Liste LONG)", dao::dbFailOnError);
        db->execute("CREATE INDEX ListeNr ON inventur (Liste, NR)", dao::dbFailOnError);
        for (const auto& [nr, liste] : std::vector<std::pair<int, int>>{{10, 1}, {20, 1}, {30, 1}, {10, 2}, {40, 2}})
            db->execute("INSERT INTO inventur (NR, Liste) VALUES (" + std::to_string(nr) + ", " + std::to_string(liste) +
                            ")",
                        dao::dbFailOnError);
    }
    std::shared_ptr<dao::Recordset> open(const std::string& sql) { return db->openRecordset(sql, dao::dbOpenDynaset); }
    QJsonArray rows(const std::string& sql) { return rowsOf(*open(sql)); }

    testsupport::TempFolder folder;
    dao::DBEngine engine;
    std::shared_ptr<dao::Database> db;
};

} // namespace

TEST_F(NumberSlots, EachTextReadsTheRowsOfItsOwnNumbers)
{
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE NR = 10 AND Liste =1"), (QJsonArray{QJsonArray{10}}));
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE NR = 40 AND Liste =1"), QJsonArray{});
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE NR = 40 AND Liste =2"), (QJsonArray{QJsonArray{40}}));
    EXPECT_EQ(rows("SELECT IDX FROM inventur WHERE Liste = 1 ORDER BY NR DESC"),
              (QJsonArray{QJsonArray{3}, QJsonArray{2}, QJsonArray{1}}));
    EXPECT_EQ(rows("SELECT IDX FROM inventur WHERE Liste = 2 ORDER BY NR DESC"), (QJsonArray{QJsonArray{5}, QJsonArray{4}}));
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE (NR >= 20) AND (NR < 40) ORDER BY NR"),
              (QJsonArray{QJsonArray{20}, QJsonArray{30}}));
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE (NR >= 0) AND (NR < 20) ORDER BY NR"),
              (QJsonArray{QJsonArray{10}, QJsonArray{10}}));
    // The same number twice, and a text that comes back after others.
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE NR = 10 AND Liste = 2"), (QJsonArray{QJsonArray{10}}));
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE NR = 10 AND Liste = 10"), QJsonArray{});
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE NR = 10 AND Liste =1"), (QJsonArray{QJsonArray{10}}));
}

TEST_F(NumberSlots, NumbersWhosePlaceOrValueMattersKeepTheirMeaning)
{
    // BETWEEN takes its bounds in either order.
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE Liste = 1 AND NR BETWEEN 15 AND 35 ORDER BY NR"),
              (QJsonArray{QJsonArray{20}, QJsonArray{30}}));
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE Liste = 1 AND NR BETWEEN 35 AND 15 ORDER BY NR"),
              (QJsonArray{QJsonArray{20}, QJsonArray{30}}));
    // A number in TOP is a count.
    EXPECT_EQ(rows("SELECT TOP 1 NR FROM inventur WHERE Liste = 1 ORDER BY NR"), (QJsonArray{QJsonArray{10}}));
    EXPECT_EQ(rows("SELECT TOP 2 NR FROM inventur WHERE Liste = 1 ORDER BY NR"), (QJsonArray{QJsonArray{10}, QJsonArray{20}}));
    // A comparison in the select list shows its own number's result.
    EXPECT_EQ(rows("SELECT NR = 10 AS Zehn FROM inventur WHERE NR = 10 AND Liste = 1"), (QJsonArray{QJsonArray{-1}}));
    EXPECT_EQ(rows("SELECT NR = 20 AS Zehn FROM inventur WHERE NR = 10 AND Liste = 1"), (QJsonArray{QJsonArray{0}}));
    // Beyond a Long, negative, with a fraction or in a subquery's TOP.
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE NR < 3000000000 AND Liste = 2 ORDER BY NR"),
              (QJsonArray{QJsonArray{10}, QJsonArray{40}}));
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE NR > -1 AND Liste = 2 AND NR <> 40.0"), (QJsonArray{QJsonArray{10}}));
    EXPECT_EQ(rows("SELECT NR FROM inventur WHERE NR IN (SELECT TOP 1 NR FROM inventur WHERE Liste = 2 ORDER BY NR DESC)"),
              (QJsonArray{QJsonArray{40}}));
}

TEST_F(NumberSlots, FilterSortAndFindWorkOnTheRowsOfEachNumber)
{
    for (const auto& [liste, sorted] : std::vector<std::pair<int, QJsonArray>>{
             {1, QJsonArray{QJsonArray{30}, QJsonArray{20}}}, {2, QJsonArray{QJsonArray{40}}}}) {
        auto base = open("SELECT NR FROM inventur WHERE Liste = " + std::to_string(liste));
        base->setFilter("NR > 15");
        base->setSort("NR DESC");
        EXPECT_EQ(rowsOf(*base->openRecordset()), sorted) << liste;

        base->findFirst("NR = 10");
        EXPECT_FALSE(base->noMatch());
        EXPECT_EQ(base->value("NR").toLong(), 10);
        base->findFirst("NR = 30");
        EXPECT_EQ(base->noMatch(), liste != 1);
    }
}

TEST_F(NumberSlots, EditingAndRequeryKeepTheNumbersOfTheirText)
{
    auto list2 = open("SELECT * FROM inventur WHERE Liste = 2");
    auto list1 = open("SELECT * FROM inventur WHERE Liste = 1");
    list2->addNew();
    list2->setValue("NR", dao::Variant::longValue(50));
    list2->setValue("Liste", dao::Variant::longValue(2));
    list2->update();
    list1->edit();
    list1->setValue("NR", dao::Variant::longValue(11));
    list1->update();

    list2->requery();
    list1->requery();
    list2->moveLast();
    EXPECT_EQ(list2->recordCount(), 3);
    std::vector<int> numbers;
    for (list1->moveFirst(); !list1->eof(); list1->moveNext())
        numbers.push_back(list1->value("NR").toLong());
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<int>{11, 20, 30}));
}

TEST_F(NumberSlots, ParametersAndNumbersAreBoundEachToItsOwnValue)
{
    auto query = db->createQueryDef({}, "PARAMETERS [L] Long; SELECT NR FROM inventur WHERE Liste = [L] AND NR > 15");
    for (const auto& [liste, expected] :
         std::vector<std::pair<int, QJsonArray>>{{1, QJsonArray{QJsonArray{30}, QJsonArray{20}}}, {2, QJsonArray{QJsonArray{40}}}}) {
        query->parameter("L")->setValue(dao::Variant::longValue(liste));
        auto rs = query->openRecordset(dao::dbOpenDynaset);
        rs->setSort("NR DESC");
        rs->setFilter("NR <> 25");
        EXPECT_EQ(rowsOf(*rs->openRecordset()), expected) << liste;
    }
}

TEST(NumberSlotsGenerated, ATextGivesTheSameRowsWhetherItsShapeWasKeptFromAnotherOrNot)
{
    // Pairs of texts of one shape with other numbers: the second read through the
    // shape the first left (its numbers bound), and in a fresh connection
    // (translated for itself). The rows must be the same.
    testsupport::TempFolder folder;
    const std::string path = folder.file("generated.mdb").toStdString();
    {
        dao::DBEngine engine;
        auto db = engine.createDatabase(path, dao::dbLangGeneral);
        db->execute("CREATE TABLE t (IDX COUNTER PRIMARY KEY, A LONG, B LONG, C TEXT(10), D DOUBLE)", dao::dbFailOnError);
        for (int i = 0; i < 40; ++i)
            db->execute("INSERT INTO t (A, B, C, D) VALUES (" + std::to_string(i % 13) + ", " + std::to_string((i * 7) % 17) +
                            ", '" + std::string(1, char('a' + i % 5)) + std::to_string(i % 3) + "', " +
                            std::to_string(i * 0.5) + ")",
                        dao::dbFailOnError);
    }
    std::mt19937 random(20261206);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    // A condition with its numbers as "#" holes.
    auto condition = [&](auto& self, int depth) -> std::string {
        static const char* const columns[] = {"A", "B", "D", "IDX"};
        static const char* const ops[] = {"=", "<>", "<", ">", "<=", ">="};
        const std::string col = columns[pick(4)];
        switch (depth > 1 ? pick(7) : pick(10)) {
        case 0: return col + " BETWEEN # AND #";
        case 1: return "B IN (#, #)";
        case 2: return "IIf(A > #, B, A) = #";
        case 3: return "A + # = #";
        case 4: return "NOT (" + col + " " + ops[pick(6)] + " #)";
        case 5: return "C LIKE '" + std::string(1, char('a' + pick(5))) + "*' AND A < #";
        case 6: return "A IN (SELECT B FROM t WHERE B > #)";
        case 7: return "(" + self(self, depth + 1) + " OR " + self(self, depth + 1) + ")";
        default: return "(" + col + " " + ops[pick(6)] + " #)";
        }
    };
    auto fill = [&](const std::string& shape) {
        std::string text;
        for (const char c : shape)
            text += c == '#' ? std::to_string(pick(4) == 0 ? pick(3000) : pick(20)) : std::string(1, c);
        return text;
    };
    dao::DBEngine engine;
    auto kept = engine.openDatabase(path);
    int compared = 0;
    for (int i = 0; i < 150; ++i) {
        std::string shape = "SELECT " + std::string(pick(3) == 0 ? "TOP 5 " : "") + "IDX, A, B FROM t WHERE " +
                            condition(condition, 0);
        for (int more = pick(3); more > 0; --more)
            shape += (pick(2) ? " AND " : " OR ") + condition(condition, 0);
        shape += " ORDER BY IDX";
        const std::string first = fill(shape), second = fill(shape);
        rowsOf(*kept->openRecordset(first, dao::dbOpenDynaset));
        const QJsonArray throughShape = rowsOf(*kept->openRecordset(second, dao::dbOpenDynaset));
        dao::DBEngine freshEngine;
        auto fresh = freshEngine.openDatabase(path);
        EXPECT_EQ(throughShape, rowsOf(*fresh->openRecordset(second, dao::dbOpenDynaset))) << first << "\n" << second;
        ++compared;
    }
    EXPECT_EQ(compared, 150);
}
