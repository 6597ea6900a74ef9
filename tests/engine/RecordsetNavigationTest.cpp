// Clone, Requery, Sort/Filter with OpenRecordset, Find* and Index/Seek.
#include "EngineTestSupport.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

using enginetest::errorOf;

namespace {

class RecordsetNavigation : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = engine.createDatabase(folder.file("nav.mdb").toStdString(), dao::dbLangGeneral);
        db->execute("CREATE TABLE inventur (IDX COUNTER PRIMARY KEY, NR LONG, Inventurliste LONG, Titel TEXT(50))",
                    dao::dbFailOnError);
        db->execute("CREATE INDEX ListeNr ON inventur (Inventurliste, NR DESC)", dao::dbFailOnError);
        const char* rows[] = {"101, 1, 'Faust'", "102, 1, 'Ilias'", "201, 2, 'Odyssee'", "103, 1, 'Aeneis'",
                              "202, 2, 'faust II'"};
        for (const char* r : rows)
            db->execute(std::string("INSERT INTO inventur (NR, Inventurliste, Titel) VALUES (") + r + ")",
                        dao::dbFailOnError);
    }

    testsupport::TempFolder folder;
    dao::DBEngine engine;
    std::shared_ptr<dao::Database> db;
};


} // namespace

TEST_F(RecordsetNavigation, ClonesShareBookmarksAndRequeryStartsOver)
{
    auto rs = db->openRecordset("inventur", dao::dbOpenDynaset);
    auto copy = rs->clone();
    EXPECT_TRUE(copy->bof());
    EXPECT_EQ(errorOf([&] { copy->value("NR"); }), 3021) << "a clone has no current row until it moves";
    copy->moveLast();
    rs->setBookmark(copy->bookmark());
    EXPECT_EQ(rs->value("NR").toLong(), 202);
    rs->close();
    copy->moveFirst();
    EXPECT_EQ(copy->value("NR").toLong(), 101) << "closing one leaves the other open";

    auto again = db->openRecordset("inventur", dao::dbOpenDynaset);
    again->moveNext();
    const std::string second = again->bookmark();
    db->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (301, 3)", dao::dbFailOnError);
    again->moveLast();
    EXPECT_EQ(again->recordCount(), 5) << "rows others add stay out until Requery";
    again->requery();
    EXPECT_EQ(again->absolutePosition(), 0);
    EXPECT_EQ(again->recordCount(), 1);
    again->moveLast();
    EXPECT_EQ(again->recordCount(), 6);
    again->setBookmark(second);
    EXPECT_EQ(again->value("NR").toLong(), 102) << "bookmarks survive a Sort-free Requery";
}

TEST_F(RecordsetNavigation, SortAndFilterApplyToTheNextRecordset)
{
    auto rs = db->openRecordset("inventur", dao::dbOpenDynaset);
    rs->setFilter("Inventurliste = 1 AND Titel LIKE '*a*'");
    rs->setSort("[NR] DESC");
    EXPECT_EQ(rs->value("NR").toLong(), 101) << "the recordset itself is unchanged";
    auto sorted = rs->openRecordset();
    EXPECT_EQ(sorted->type(), dao::dbOpenDynaset);
    std::vector<long> numbers;
    for (; !sorted->eof(); sorted->moveNext())
        numbers.push_back(sorted->value("NR").toLong());
    EXPECT_EQ(numbers, (std::vector<long>{103, 102, 101}));
    EXPECT_TRUE(sorted->updatable()) << "filtering one table keeps it editable";

    auto query = db->openRecordset("SELECT NR, Titel FROM inventur WHERE Inventurliste = 2", dao::dbOpenSnapshot);
    query->setSort("Titel");
    auto bySnapshot = query->openRecordset();
    EXPECT_EQ(bySnapshot->type(), dao::dbOpenSnapshot);
    EXPECT_EQ(bySnapshot->value("Titel").toText(), "faust II");

    // A query over one table keeps its own condition, takes the filter beside it and stays editable.
    auto list1 = db->openRecordset("SELECT * FROM inventur WHERE (Inventurliste = 1) ORDER BY NR;");
    list1->setFilter("Titel <> 'Ilias'");
    auto narrowed = list1->openRecordset();
    EXPECT_TRUE(narrowed->updatable());
    narrowed->moveLast();
    EXPECT_EQ(narrowed->recordCount(), 2);
    EXPECT_EQ(narrowed->value("NR").toLong(), 103) << "the query's own order stays without a Sort";
    // Names only the result knows (aliases) filter and sort it too, and a renamed column stays editable.
    auto aliased = db->openRecordset("SELECT NR AS Nummer FROM inventur WHERE Inventurliste = 2 ORDER BY Nummer");
    aliased->setFilter("Nummer > 201");
    aliased->setSort("Nummer DESC");
    auto byAlias = aliased->openRecordset();
    byAlias->moveLast();
    EXPECT_EQ(byAlias->recordCount(), 1);
    EXPECT_EQ(byAlias->value("Nummer").toLong(), 202);
    EXPECT_TRUE(byAlias->updatable());
    EXPECT_TRUE(aliased->updatable());
    auto grouped = db->openRecordset("SELECT Inventurliste, count(*) AS n FROM inventur GROUP BY Inventurliste");
    grouped->setFilter("n = 3");
    EXPECT_EQ(grouped->openRecordset()->value("Inventurliste").toLong(), 1);

    auto table = db->openRecordset("inventur", dao::dbOpenTable);
    EXPECT_EQ(errorOf([&] { table->setSort("NR"); }), 3251);
    rs->setFilter("NR = = 1");
    EXPECT_EQ(errorOf([&] { rs->openRecordset(); }), 3075);
    // A name the source lacks is a parameter without a value, as in a query's ORDER BY.
    rs->setFilter("");
    rs->setSort("[Signatur] DESC");
    EXPECT_EQ(errorOf([&] { rs->openRecordset(); }), 3061);
    EXPECT_EQ(errorOf([&] { db->openRecordset("SELECT * FROM inventur ORDER BY Signatur"); }), 3061);
}

TEST_F(RecordsetNavigation, FindMovesToMatchesAndNoMatchLeavesTheCursor)
{
    for (const char* source : {"inventur", "SELECT NR AS Nummer, Titel FROM inventur"}) {
        SCOPED_TRACE(source);
        const std::string nr = std::string(source) == "inventur" ? "NR" : "Nummer";
        for (int type : {dao::dbOpenDynaset, dao::dbOpenSnapshot}) {
            auto rs = db->openRecordset(source, type);
            EXPECT_FALSE(rs->noMatch());
            rs->findFirst("Titel LIKE 'faust*'");
            EXPECT_FALSE(rs->noMatch());
            EXPECT_EQ(rs->value(nr).toLong(), 101);
            rs->findNext("Titel LIKE 'faust*'");
            EXPECT_EQ(rs->value(nr).toLong(), 202);
            rs->findNext("Titel LIKE 'faust*'");
            EXPECT_TRUE(rs->noMatch()) << "after the last match";
            EXPECT_EQ(rs->value(nr).toLong(), 202) << "the cursor stays where it was";
            rs->findPrevious("Titel = 'Ilias'");
            EXPECT_EQ(rs->value(nr).toLong(), 102);
            rs->findLast("Titel IS NOT NULL");
            EXPECT_EQ(rs->value(nr).toLong(), 202);
            EXPECT_EQ(rs->recordCount(), 5) << "FindLast populates the set";
            EXPECT_NE(errorOf([&] { rs->findFirst("Titel = = 'x'"); }), 0);
        }
    }
    auto table = db->openRecordset("inventur", dao::dbOpenTable);
    EXPECT_EQ(errorOf([&] { table->findFirst("NR = 1"); }), 3251);
}

TEST_F(RecordsetNavigation, SeekUsesTheCurrentIndexOfATableTypeRecordset)
{
    auto rs = db->openRecordset("inventur", dao::dbOpenTable);
    EXPECT_EQ(errorOf([&] { rs->seek("=", {dao::Variant(1)}); }), 3019);
    EXPECT_EQ(errorOf([&] { rs->setIndex("Nope"); }), 3015);
    rs->setIndex("ListeNr");
    EXPECT_EQ(rs->index(), "ListeNr");
    EXPECT_EQ(rs->value("NR").toLong(), 103) << "rows in index order: list ascending, NR descending";
    rs->seek(">=", {dao::Variant(1), dao::Variant(102)});
    EXPECT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->value("NR").toLong(), 102);
    rs->seek(">=", {dao::Variant(1), dao::Variant(100)});
    EXPECT_EQ(rs->value("Inventurliste").toLong(), 2) << "past list 1 in index order";
    EXPECT_EQ(rs->value("NR").toLong(), 202);
    rs->seek("<", {dao::Variant(2)});
    EXPECT_EQ(rs->value("NR").toLong(), 201) << "the missing key is Null, which the descending NR puts last";
    rs->seek(">", {dao::Variant(1), dao::Variant(102)});
    EXPECT_EQ(rs->value("NR").toLong(), 101) << "after 102 in list 1 comes the smaller number";
    rs->seek("<=", {dao::Variant(1), dao::Variant(102)});
    EXPECT_EQ(rs->value("NR").toLong(), 102);
    rs->seek("<=", {dao::Variant(1)});
    EXPECT_EQ(rs->value("NR").toLong(), 101) << "a missing trailing key: the end of list 1";
    rs->seek("=", {dao::Variant(3)});
    EXPECT_TRUE(rs->noMatch());
    rs->setIndex("PrimaryKey");
    rs->seek("=", {dao::Variant("3")});
    EXPECT_EQ(rs->value("NR").toLong(), 201);
    EXPECT_EQ(errorOf([&] { rs->seek("~", {dao::Variant(1)}); }), 3001);
    auto dynaset = db->openRecordset("inventur", dao::dbOpenDynaset);
    EXPECT_EQ(errorOf([&] { dynaset->setIndex("PrimaryKey"); }), 3251);
    EXPECT_EQ(errorOf([&] { dynaset->seek("=", {dao::Variant(1)}); }), 3251);
}

TEST_F(RecordsetNavigation, EmptySetsAndMovesPastEitherEnd)
{
    auto empty = db->openRecordset("SELECT * FROM inventur WHERE NR < 0", dao::dbOpenDynaset);
    EXPECT_TRUE(empty->bof() && empty->eof());
    EXPECT_EQ(empty->recordCount(), 0);
    EXPECT_EQ(errorOf([&] { empty->moveNext(); }), 3021);
    EXPECT_EQ(errorOf([&] { (void)empty->value(0); }), 3021);

    auto rs = db->openRecordset("SELECT * FROM inventur ORDER BY NR", dao::dbOpenDynaset);
    rs->move(100);
    EXPECT_TRUE(rs->eof());
    EXPECT_EQ(errorOf([&] { (void)rs->value(0); }), 3021);
    rs->move(-100);
    EXPECT_TRUE(rs->bof());
    rs->moveNext();
    EXPECT_EQ(rs->value("NR").toLong(), 101);
}

TEST_F(RecordsetNavigation, CriteriaWithSyntaxErrorsGiveJetsError)
{
    auto rs = db->openRecordset("inventur", dao::dbOpenDynaset);
    const long number = errorOf([&] { rs->findFirst("NR = = 3"); });
    EXPECT_EQ(number, 3075);
    EXPECT_EQ(errorOf([&] { rs->findFirst("NR = 'unterminated"); }), 3075);
    EXPECT_EQ(rs->value("NR").toLong(), 101) << "the cursor stays where it was";
}

TEST_F(RecordsetNavigation, AbsoluteAndPercentPositionReachTheRowsCountedSoFar)
{
    auto rs = db->openRecordset("SELECT * FROM inventur ORDER BY Inventurliste, NR", dao::dbOpenDynaset);
    EXPECT_EQ(errorOf([&] { rs->setAbsolutePosition(1); }), 3001) << "only the first row is counted at open";
    rs->moveLast();
    rs->setAbsolutePosition(2);
    EXPECT_EQ(rs->value("NR").toLong(), 103);
    EXPECT_EQ(rs->absolutePosition(), 2);
    EXPECT_DOUBLE_EQ(rs->percentPosition(), 60);
    EXPECT_EQ(errorOf([&] { rs->setAbsolutePosition(5); }), 3001);
    EXPECT_EQ(errorOf([&] { rs->setAbsolutePosition(-1); }), 3001);
    EXPECT_EQ(rs->value("NR").toLong(), 103) << "a refused position leaves the cursor";

    rs->setPercentPosition(77);
    EXPECT_EQ(rs->value("NR").toLong(), 201) << "the nearest row";
    EXPECT_DOUBLE_EQ(rs->percentPosition(), 80);
    rs->setPercentPosition(0);
    EXPECT_EQ(rs->absolutePosition(), 0);
    rs->setPercentPosition(100);
    EXPECT_EQ(rs->value("NR").toLong(), 202);
    EXPECT_EQ(errorOf([&] { rs->setPercentPosition(100.5); }), 3001);
    EXPECT_EQ(errorOf([&] { rs->setPercentPosition(-1); }), 3001);

    // Positions count the rows not deleted; setting one drops a pending edit like any move.
    rs->setAbsolutePosition(1);
    rs->deleteCurrent();
    rs->setAbsolutePosition(1);
    EXPECT_EQ(rs->value("NR").toLong(), 103);
    rs->setAbsolutePosition(3);
    EXPECT_EQ(rs->value("NR").toLong(), 202);
    rs->edit();
    rs->setValue("NR", dao::Variant(1));
    rs->setAbsolutePosition(0);
    EXPECT_EQ(rs->editMode(), dao::dbEditNone);
    rs->setAbsolutePosition(3);
    EXPECT_EQ(rs->value("NR").toLong(), 202);

    auto snapshot = db->openRecordset("inventur", dao::dbOpenSnapshot);
    snapshot->moveLast();
    snapshot->setAbsolutePosition(0);
    EXPECT_EQ(snapshot->value("NR").toLong(), 101);

    // A table-type recordset has a PercentPosition over its index order but no AbsolutePosition.
    auto table = db->openRecordset("inventur", dao::dbOpenTable);
    table->setIndex("ListeNr");
    EXPECT_EQ(errorOf([&] { table->absolutePosition(); }), 3251);
    EXPECT_EQ(errorOf([&] { table->setAbsolutePosition(0); }), 3251);
    table->setPercentPosition(100);
    EXPECT_EQ(table->value("NR").toLong(), 201);
    EXPECT_DOUBLE_EQ(table->percentPosition(), 100);

    auto forward = db->openRecordset("inventur", dao::dbOpenForwardOnly);
    EXPECT_EQ(errorOf([&] { forward->percentPosition(); }), 3251);
    EXPECT_EQ(errorOf([&] { forward->setPercentPosition(50); }), 3251);

    auto empty = db->openRecordset("SELECT * FROM inventur WHERE NR < 0", dao::dbOpenSnapshot);
    EXPECT_EQ(empty->absolutePosition(), -1);
    EXPECT_DOUBLE_EQ(empty->percentPosition(), 0);
    EXPECT_EQ(errorOf([&] { empty->setPercentPosition(50); }), 3021);
    EXPECT_EQ(errorOf([&] { empty->setAbsolutePosition(0); }), 3001);
}

TEST_F(RecordsetNavigation, SeekComparesNullKeysAsTheIndexOrdersNulls)
{
    enginetest::ScratchDatabase scratch{
        "CREATE TABLE leser (Nr LONG, Vorname TEXT(20), Name TEXT(30))",
        "CREATE INDEX VorNach ON leser (Vorname, Name)",
        "CREATE INDEX NameAb ON leser (Name DESC)",
        "INSERT INTO leser VALUES (1, Null, 'Müller-Lüdenscheidt')",
        "INSERT INTO leser VALUES (2, Null, 'Albers')",
        "INSERT INTO leser VALUES (3, 'Anna', 'Müller')",
        "INSERT INTO leser VALUES (4, 'Bert', Null)",
    };
    auto rs = scratch.db->openRecordset("leser", dao::dbOpenTable);
    rs->setIndex("VorNach");
    auto seek = [&](const std::string& op, std::vector<dao::Variant> keys) {
        rs->seek(op, keys);
        return rs->noMatch() ? 0L : long(rs->value("Nr").toLong());
    };
    // Null sorts first in an ascending field, and equals Null.
    EXPECT_EQ(seek(">=", {dao::Variant(), dao::Variant("Mül")}), 1);
    EXPECT_EQ(seek("=", {dao::Variant(), dao::Variant("albers")}), 2);
    EXPECT_EQ(seek(">", {dao::Variant(), dao::Variant("Müller-Lüdenscheidt")}), 3);
    EXPECT_EQ(seek("<", {dao::Variant("Anna"), dao::Variant()}), 1) << "before every Anna: the rows without a first name";
    EXPECT_EQ(seek("=", {dao::Variant("Bert"), dao::Variant()}), 4);
    // A key left out counts as Null: "=" finds only a row whose field is Null there.
    EXPECT_EQ(seek("=", {dao::Variant("Bert")}), 4);
    EXPECT_EQ(seek("=", {dao::Variant("Anna")}), 0);
    EXPECT_EQ(seek(">=", {dao::Variant("Anna")}), 3);
    EXPECT_EQ(seek("<=", {dao::Variant()}), 0) << "nothing comes before Null, Null itself needs its Name Null too";

    // A descending field puts Null last.
    rs->setIndex("NameAb");
    EXPECT_EQ(seek(">=", {dao::Variant()}), 4);
    EXPECT_EQ(seek("<", {dao::Variant()}), 2) << "the last row before Null: the smallest name";
    EXPECT_EQ(seek(">", {dao::Variant("Albers")}), 4);
    EXPECT_EQ(seek("<", {dao::Variant("Müller")}), 1);
}
