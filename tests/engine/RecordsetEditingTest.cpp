// Editing through recordsets: AddNew/Edit/Update/CancelUpdate/Delete, the
// edit buffer's conversions and errors, bookmarks and LastModified.
#include "EngineTestSupport.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

using enginetest::errorOf;
using enginetest::rowsOf;

namespace {

class RecordsetEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = folder.file("edit.mdb").toStdString();
        db = engine.createDatabase(path, dao::dbLangGeneral);
        db->execute("CREATE TABLE inventur (IDX COUNTER PRIMARY KEY, NR LONG, Inventurliste LONG)",
                    dao::dbFailOnError);
        db->execute("CREATE TABLE titel (ID LONG PRIMARY KEY, Name TEXT(5) NOT NULL, Klein BYTE, Preis CURRENCY)",
                    dao::dbFailOnError);
        for (int nr : {101, 102, 103})
            db->execute("INSERT INTO inventur (NR, Inventurliste) VALUES (" + std::to_string(nr) + ", 1)",
                        dao::dbFailOnError);
    }

    long count(const std::string& where = "")
    {
        auto rs = db->openRecordset("SELECT count(*) FROM inventur" + (where.empty() ? "" : " WHERE " + where));
        return rs->value(0).toLong();
    }

    testsupport::TempFolder folder;
    dao::DBEngine engine;
    std::string path;
    std::shared_ptr<dao::Database> db;
};


} // namespace

TEST_F(RecordsetEditing, AddNewGivesAnAutoIncrementValueReadableThroughLastModified)
{
    for (int type : {dao::dbOpenTable, dao::dbOpenDynaset}) {
        SCOPED_TRACE(type);
        auto rs = db->openRecordset("inventur", type);
        const long before = rs->recordCount();
        const std::string firstBookmark = rs->bookmark();
        EXPECT_EQ(firstBookmark.size(), 4u);
        rs->addNew();
        EXPECT_EQ(rs->editMode(), dao::dbEditAdd);
        EXPECT_TRUE(rs->value(0).isNull()) << "the auto-increment value comes at Update";
        rs->field("NR")->setValue(dao::Variant(900 + type));
        rs->setValue("Inventurliste", dao::Variant(2));
        EXPECT_EQ(rs->value("NR").toLong(), 900 + type) << "fields read the edit buffer";
        rs->update();
        EXPECT_EQ(rs->editMode(), dao::dbEditNone);
        EXPECT_EQ(rs->recordCount(), before + 1) << "the new row counts at once";
        EXPECT_EQ(rs->bookmark(), firstBookmark) << "the cursor stays where it was before AddNew";
        EXPECT_EQ(rs->value("NR").toLong(), 101);
        rs->setBookmark(rs->lastModified());
        EXPECT_EQ(rs->value("NR").toLong(), 900 + type);
        EXPECT_GT(rs->value("IDX").toLong(), 3);
        rs->moveLast();
        EXPECT_EQ(rs->value("NR").toLong(), 900 + type) << "a new row goes at the end of the keyset";
        EXPECT_EQ(rs->recordCount(), type == dao::dbOpenTable ? 4 : 5);
        if (type == dao::dbOpenDynaset) {
            EXPECT_EQ(before, 1) << "a dynaset counts the rows visited";
            EXPECT_EQ(rs->absolutePosition(), 4);
        }
    }
    // Durable: a second connection sees both rows.
    auto other = engine.openDatabase(path);
    auto check = other->openRecordset("SELECT NR, Inventurliste FROM inventur WHERE NR > 900 ORDER BY NR");
    EXPECT_EQ(check->value(0).toLong(), 901);
    EXPECT_EQ(check->value(1).toLong(), 2);
    check->moveNext();
    EXPECT_EQ(check->value(0).toLong(), 902);
}

TEST_F(RecordsetEditing, AddNewIntoAnEmptyTableAndAutoIncrementValuesAreNeverReused)
{
    db->execute("DELETE FROM inventur", dao::dbFailOnError);
    auto rs = db->openRecordset("inventur", dao::dbOpenDynaset);
    EXPECT_TRUE(rs->bof() && rs->eof());
    EXPECT_EQ(errorOf([&] { rs->bookmark(); }), 3021);
    rs->addNew();
    rs->setValue(1, dao::Variant(7));
    rs->update();
    EXPECT_FALSE(rs->bof()) << "AddNew+Update on an empty set clears BOF";
    EXPECT_TRUE(rs->eof()) << "and leaves EOF";
    EXPECT_EQ(rs->recordCount(), 1);
    rs->moveFirst();
    EXPECT_EQ(rs->value("NR").toLong(), 7);
    EXPECT_EQ(rs->value("IDX").toLong(), 4) << "IDX 1..3 were used by the deleted rows";
    rs->deleteCurrent();
    rs->addNew();
    rs->update();
    rs->setBookmark(rs->lastModified());
    EXPECT_EQ(rs->value("IDX").toLong(), 5);
    EXPECT_TRUE(rs->value("NR").isNull()) << "fields never set stay Null";
}

TEST_F(RecordsetEditing, EditChangesOneRowAndCancelUpdateDiscards)
{
    auto rs = db->openRecordset("inventur", dao::dbOpenDynaset);
    rs->moveNext();
    const std::string second = rs->bookmark();
    rs->edit();
    EXPECT_EQ(rs->editMode(), dao::dbEditInProgress);
    EXPECT_EQ(rs->value("NR").toLong(), 102) << "Edit copies the current row";
    rs->setValue("NR", dao::Variant("4711")) ; // numeric text converts
    EXPECT_EQ(rs->value("NR").type(), dao::VarType::Long);
    rs->update();
    EXPECT_EQ(rs->bookmark(), second) << "the cursor stays on the edited row";
    EXPECT_EQ(rs->lastModified(), second);
    EXPECT_EQ(rs->value("NR").toLong(), 4711);
    EXPECT_EQ(count("NR = 4711"), 1);
    EXPECT_EQ(count("NR IN (101, 103)"), 2) << "the other rows are untouched";

    rs->edit();
    rs->setValue("NR", dao::Variant(1));
    rs->cancelUpdate();
    EXPECT_EQ(rs->editMode(), dao::dbEditNone);
    EXPECT_EQ(rs->value("NR").toLong(), 4711);
    // Moving discards a pending edit silently.
    rs->edit();
    rs->setValue("NR", dao::Variant(2));
    rs->moveFirst();
    EXPECT_EQ(rs->editMode(), dao::dbEditNone);
    EXPECT_EQ(count("NR = 2"), 0);
    // Another recordset on the same database sees the change when it reads the row.
    auto other = db->openRecordset("inventur", dao::dbOpenTable);
    other->moveNext();
    EXPECT_EQ(other->value("NR").toLong(), 4711);
    rs->setBookmark(second);
    rs->edit();
    rs->setValue("NR", dao::Variant(4712));
    rs->update();
    EXPECT_EQ(other->value("NR").toLong(), 4712);
}

TEST_F(RecordsetEditing, DeletedRowsRaise3167AndMovesPassOverThem)
{
    auto rs = db->openRecordset("inventur", dao::dbOpenDynaset);
    auto other = db->openRecordset("inventur", dao::dbOpenDynaset);
    other->moveNext();
    rs->moveNext();
    rs->deleteCurrent();
    EXPECT_FALSE(rs->bof() || rs->eof()) << "Delete never changes BOF/EOF";
    EXPECT_EQ(errorOf([&] { rs->value("NR"); }), 3167) << "the deleted row stays current";
    EXPECT_EQ(errorOf([&] { rs->edit(); }), 3167);
    EXPECT_EQ(errorOf([&] { rs->deleteCurrent(); }), 3167);
    EXPECT_EQ(errorOf([&] { other->value("NR"); }), 3167) << "deleted through another recordset";
    EXPECT_EQ(errorOf([&] { other->edit(); }), 3167);
    EXPECT_EQ(errorOf([&] { other->deleteCurrent(); }), 3167);
    rs->moveNext();
    EXPECT_EQ(rs->value("NR").toLong(), 103);
    rs->movePrevious();
    EXPECT_EQ(rs->value("NR").toLong(), 101) << "moves pass over a row deleted here";
    rs->moveLast();
    EXPECT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(rs->absolutePosition(), 1);
    EXPECT_EQ(count(), 2);

    // Deleting the last row: EOF after the next move, RecordCount 0 on a table.
    auto table = db->openRecordset("inventur", dao::dbOpenTable);
    table->deleteCurrent();
    table->moveNext();
    table->deleteCurrent();
    table->moveNext();
    EXPECT_TRUE(table->eof());
    EXPECT_EQ(table->recordCount(), 0);
    EXPECT_EQ(count(), 0);
}

TEST_F(RecordsetEditing, EditingErrorsAreJets)
{
    auto rs = db->openRecordset("inventur", dao::dbOpenDynaset);
    EXPECT_EQ(errorOf([&] { rs->update(); }), 3020);
    EXPECT_EQ(errorOf([&] { rs->cancelUpdate(); }), 3020);
    EXPECT_EQ(errorOf([&] { rs->setValue("NR", dao::Variant(1)); }), 3020);
    EXPECT_EQ(errorOf([&] { rs->field("NR")->setValue(dao::Variant(1)); }), 3020);
    rs->edit();
    EXPECT_EQ(errorOf([&] { rs->edit(); }), 3023);
    EXPECT_EQ(errorOf([&] { rs->setValue("NR", dao::Variant("abc")); }), 3421) << "text into a Long";
    EXPECT_EQ(errorOf([&] { rs->setValue("NR", dao::Variant(3e9)); }), 3421) << "beyond a Long";
    EXPECT_EQ(errorOf([&] { rs->setValue("IDX", dao::Variant(5)); }), 3164) << "auto-increment";
    EXPECT_EQ(errorOf([&] { rs->setValue("nope", dao::Variant(5)); }), 3265);
    EXPECT_EQ(rs->value("NR").toLong(), 101) << "failed assignments leave the buffer";
    rs->addNew(); // a second AddNew throws the pending buffer away
    EXPECT_EQ(rs->editMode(), dao::dbEditAdd);
    rs->cancelUpdate();
    EXPECT_EQ(rs->value("NR").toLong(), 101);

    auto titel = db->openRecordset("titel", dao::dbOpenTable);
    titel->addNew();
    titel->setValue("ID", dao::Variant(1));
    EXPECT_EQ(errorOf([&] { titel->setValue("Name", dao::Variant("zu lang")); }), 3163);
    EXPECT_EQ(errorOf([&] { titel->setValue("Klein", dao::Variant(300)); }), 3421);
    titel->setValue("Preis", dao::Variant(1.23456));
    EXPECT_DOUBLE_EQ(titel->value("Preis").toDouble(), 1.2346);
    EXPECT_EQ(errorOf([&] { titel->update(); }), 3314) << "Name is required";
    EXPECT_EQ(titel->editMode(), dao::dbEditAdd) << "a failed Update leaves the edit pending";
    titel->setValue("Name", dao::Variant("Faust"));
    titel->update();
    titel->addNew();
    titel->setValue("ID", dao::Variant(1));
    titel->setValue("Name", dao::Variant("Ilias"));
    EXPECT_EQ(errorOf([&] { titel->update(); }), 3022) << "duplicate key";
    EXPECT_EQ(titel->editMode(), dao::dbEditAdd);
    titel->cancelUpdate();
    EXPECT_EQ(titel->recordCount(), 1);
    auto rows = db->openRecordset("SELECT ID, Name, Preis FROM titel");
    EXPECT_EQ(rows->value("Name").toText(), "Faust");
    EXPECT_DOUBLE_EQ(rows->value("Preis").toDouble(), 1.2346);
}

TEST_F(RecordsetEditing, ReadOnlyRecordsetsRefuseEdits)
{
    auto snapshot = db->openRecordset("inventur", dao::dbOpenSnapshot);
    EXPECT_EQ(errorOf([&] { snapshot->edit(); }), 3251);
    EXPECT_EQ(errorOf([&] { snapshot->addNew(); }), 3251);
    auto joined = db->openRecordset("SELECT i.NR, t.Name FROM inventur AS i LEFT JOIN titel AS t ON i.NR = t.ID",
                                    dao::dbOpenDynaset);
    EXPECT_FALSE(joined->updatable());
    EXPECT_EQ(errorOf([&] { joined->edit(); }), 3027);
    EXPECT_EQ(errorOf([&] { joined->addNew(); }), 3027);
    EXPECT_EQ(errorOf([&] { joined->deleteCurrent(); }), 3027);
    auto readOnly = db->openRecordset("inventur", dao::dbOpenDynaset, dao::dbReadOnly);
    EXPECT_EQ(errorOf([&] { readOnly->edit(); }), 3027);

    const QString access = folder.copyFixture("catalogue/veltrano.mdb");
    auto mdb = engine.openDatabase(access.toStdString());
    for (int type : {dao::dbOpenTable, dao::dbOpenDynaset}) {
        auto rs = mdb->openRecordset("TITEL", type);
        EXPECT_FALSE(rs->updatable());
        EXPECT_EQ(errorOf([&] { rs->edit(); }), 3027);
        EXPECT_EQ(errorOf([&] { rs->addNew(); }), 3027);
        EXPECT_EQ(errorOf([&] { rs->deleteCurrent(); }), 3027);
    }
}

TEST_F(RecordsetEditing, BookmarksRoundTripAndBadOnesRaise3159)
{
    auto rs = db->openRecordset("inventur", dao::dbOpenDynaset);
    rs->moveLast();
    const std::string last = rs->bookmark();
    rs->moveFirst();
    rs->setBookmark(last);
    EXPECT_EQ(rs->value("NR").toLong(), 103);
    EXPECT_EQ(errorOf([&] { rs->setBookmark("xy"); }), 3159);
    EXPECT_EQ(errorOf([&] { rs->setBookmark(std::string("\xff\xff\xff\x7f", 4)); }), 3159);
    EXPECT_EQ(errorOf([&] { rs->setBookmark(std::string(4, '\0')); }), 3159);
    auto sameSql = db->openRecordset("inventur", dao::dbOpenDynaset);
    EXPECT_EQ(errorOf([&] { rs->setBookmark(sameSql->bookmark()); }), 3159) << "another recordset's bookmark";
    EXPECT_EQ(errorOf([&] { rs->lastModified(); }), 3021) << "nothing added or changed yet";
    rs->moveNext();
    EXPECT_EQ(errorOf([&] { rs->bookmark(); }), 3021);
    rs->setBookmark(last);
    rs->deleteCurrent();
    EXPECT_EQ(errorOf([&] { rs->setBookmark(last); }), 3167) << "a deleted row's bookmark";
    auto forward = db->openRecordset("inventur", dao::dbOpenForwardOnly);
    EXPECT_FALSE(forward->bookmarkable());
    EXPECT_EQ(errorOf([&] { forward->bookmark(); }), 3251);
}

TEST_F(RecordsetEditing, DynasetsOverOneTableAreEditableKeysetsInTheQuerysOrder)
{
    auto rs = db->openRecordset("SELECT i.NR AS Nummer, i.IDX FROM inventur AS i WHERE i.Inventurliste = 1 "
                                "ORDER BY i.NR DESC");
    EXPECT_EQ(rs->type(), dao::dbOpenDynaset);
    EXPECT_TRUE(rs->updatable());
    EXPECT_EQ(rs->value("Nummer").toLong(), 103);
    rs->edit();
    rs->setValue("Nummer", dao::Variant(3));
    rs->update();
    EXPECT_EQ(rs->value("Nummer").toLong(), 3) << "the edited row keeps its place";
    EXPECT_EQ(count("NR = 3"), 1);
    rs->addNew();
    rs->setValue("Nummer", dao::Variant(500));
    rs->update();
    EXPECT_EQ(rs->value("Nummer").toLong(), 3);
    rs->moveLast();
    EXPECT_EQ(rs->value("Nummer").toLong(), 500) << "appended at the end whatever the order";
    EXPECT_EQ(rs->value("IDX").toLong(), 4);
    EXPECT_EQ(rs->recordCount(), 4);
    rs->deleteCurrent();
    EXPECT_EQ(count(), 3);

    // Parameters bind as for any query.
    db->createQueryDef("liste", "PARAMETERS [welche] LONG; SELECT * FROM inventur WHERE Inventurliste = [welche]");
    auto q = db->queryDefs().item("liste");
    q->parameters().item("welche")->setValue(dao::Variant(1));
    auto byQuery = q->openRecordset();
    EXPECT_TRUE(byQuery->updatable());
    byQuery->moveLast();
    EXPECT_EQ(byQuery->recordCount(), 3);

    // A subquery that only picks the rows leaves them the table's own, as do texts and names
    // that look like other clauses.
    for (const char* sql : {"SELECT NR FROM inventur WHERE NR IN (SELECT ID FROM titel) OR NR > 0",
                            "SELECT [NR] AS [FROM] FROM inventur WHERE 'x JOIN y' <> ' GROUP BY '"}) {
        auto rw = db->openRecordset(sql);
        EXPECT_TRUE(rw->updatable()) << sql;
        rw->edit();
        rw->setValue(0, dao::Variant(rw->value(0).toLong()));
        rw->update();
    }
    for (const char* sql : {"SELECT Inventurliste, count(*) AS n FROM inventur GROUP BY Inventurliste",
                            "SELECT DISTINCT Inventurliste FROM inventur", "SELECT Count(*) FROM inventur",
                            "SELECT NR, (SELECT Max(ID) FROM titel) AS m FROM inventur",
                            "SELECT inventur.NR FROM inventur, titel"}) {
        auto ro = db->openRecordset(sql);
        EXPECT_FALSE(ro->updatable()) << sql;
        EXPECT_EQ(errorOf([&] { ro->addNew(); }), 3027) << sql;
    }
    auto snapshot = db->openRecordset("SELECT * FROM inventur", dao::dbOpenSnapshot);
    EXPECT_FALSE(snapshot->updatable());
}

TEST_F(RecordsetEditing, AppendOnlyDynasetsShowOnlyTheRowsAddedThroughThem)
{
    auto rs = db->openRecordset("inventur", dao::dbOpenDynaset, dao::dbAppendOnly);
    EXPECT_TRUE(rs->bof() && rs->eof());
    EXPECT_EQ(rs->recordCount(), 0);
    EXPECT_TRUE(rs->updatable());
    rs->addNew();
    rs->setValue("NR", dao::Variant(104));
    rs->update();
    EXPECT_EQ(rs->recordCount(), 1);
    rs->moveFirst();
    EXPECT_EQ(rs->value("NR").toLong(), 104);
    rs->moveNext();
    EXPECT_TRUE(rs->eof()) << "the table's other rows stay out";
    EXPECT_EQ(count(), 4);

    // With no type a table name gives a dynaset here; a query over one table appends the same way.
    auto byName = db->openRecordset("inventur", 0, dao::dbAppendOnly);
    EXPECT_EQ(byName->type(), dao::dbOpenDynaset);
    EXPECT_TRUE(byName->eof());
    auto byQuery = db->openRecordset("SELECT NR, Inventurliste FROM inventur WHERE Inventurliste = 1", 0,
                                     dao::dbAppendOnly);
    EXPECT_TRUE(byQuery->bof() && byQuery->eof());
    byQuery->addNew();
    byQuery->setValue("NR", dao::Variant(105));
    byQuery->update();
    byQuery->setBookmark(byQuery->lastModified());
    EXPECT_EQ(byQuery->value("NR").toLong(), 105);

    EXPECT_EQ(errorOf([&] { db->openRecordset("inventur", dao::dbOpenTable, dao::dbAppendOnly); }), 3001);
    EXPECT_EQ(errorOf([&] { db->openRecordset("inventur", dao::dbOpenSnapshot, dao::dbAppendOnly); }), 3001);
    EXPECT_EQ(errorOf([&] { db->openRecordset("inventur", dao::dbOpenDynaset, dao::dbAppendOnly | dao::dbReadOnly); }),
              3001);
}

TEST_F(RecordsetEditing, LockTypesAndOptionsAreDaosConstants)
{
    EXPECT_TRUE(db->openRecordset("inventur", dao::dbOpenDynaset)->lockEdits()) << "pessimistic by default";
    EXPECT_TRUE(db->openRecordset("inventur", dao::dbOpenDynaset, 0, dao::dbPessimistic)->lockEdits());
    auto optimistic = db->openRecordset("inventur", dao::dbOpenTable, 0, dao::dbOptimistic);
    EXPECT_FALSE(optimistic->lockEdits());
    EXPECT_TRUE(optimistic->updatable());
    auto readOnly = db->openRecordset("inventur", dao::dbOpenDynaset, 0, dao::dbReadOnly);
    EXPECT_FALSE(readOnly->updatable());
    EXPECT_EQ(errorOf([&] { readOnly->edit(); }), 3027);
    EXPECT_EQ(errorOf([&] { db->openRecordset("inventur", dao::dbOpenDynaset, dao::dbReadOnly, dao::dbReadOnly); }),
              3001);
    EXPECT_EQ(errorOf([&] { db->openRecordset("inventur", dao::dbOpenDynaset, 0, 9); }), 3001);
    for (int type : {dao::dbOpenTable, dao::dbOpenDynaset, dao::dbOpenSnapshot, dao::dbOpenForwardOnly})
        EXPECT_EQ(errorOf([&] { db->openRecordset("inventur", type, dao::dbDenyWrite); }), 0) << type;
    EXPECT_EQ(errorOf([&] { db->openRecordset("inventur", dao::dbOpenTable, dao::dbDenyRead); }), 0);
    EXPECT_EQ(errorOf([&] { db->openRecordset("inventur", dao::dbOpenDynaset, dao::dbDenyRead); }), 3001);
    EXPECT_EQ(errorOf([&] { db->openRecordset("SELECT * FROM inventur", 0, dao::dbDenyRead); }), 3001);

    // A sorted or filtered copy locks the way its source does.
    auto optimisticDynaset = db->openRecordset("inventur", dao::dbOpenDynaset, 0, dao::dbOptimistic);
    optimisticDynaset->setSort("NR");
    EXPECT_FALSE(optimisticDynaset->openRecordset()->lockEdits());
    auto pessimistic = db->openRecordset("inventur", dao::dbOpenDynaset);
    pessimistic->setFilter("NR > 0");
    EXPECT_TRUE(pessimistic->openRecordset()->lockEdits());
}

TEST_F(RecordsetEditing, AnUpdateOfARowChangedSinceEditRaises3197AndStaysPending)
{
    db->execute("INSERT INTO titel (ID, Name) VALUES (1, 'faust')", dao::dbFailOnError);
    auto other = engine.openDatabase(path); // another connection, as another program would write
    for (int lockEdit : {dao::dbOptimistic, dao::dbPessimistic}) {
        SCOPED_TRACE(lockEdit);
        auto rs = db->openRecordset("titel", dao::dbOpenDynaset, 0, lockEdit);
        rs->edit();
        rs->setValue("Klein", dao::Variant(7));
        // A change of another column, and one of letter case only, count as changes.
        other->execute(lockEdit == dao::dbOptimistic ? "UPDATE titel SET Preis = 2 WHERE ID = 1"
                                                     : "UPDATE titel SET Name = 'Faust' WHERE ID = 1",
                       dao::dbFailOnError);
        EXPECT_EQ(errorOf([&] { rs->update(); }), 3197);
        EXPECT_EQ(rs->editMode(), dao::dbEditInProgress) << "the edit stays pending";
        EXPECT_EQ(errorOf([&] { rs->update(); }), 3197) << "and keeps failing";
        auto check = other->openRecordset("SELECT Klein FROM titel WHERE ID = 1");
        EXPECT_TRUE(check->value(0).isNull()) << "the row keeps the other change only";
        rs->move(0); // shows the other change and drops this one
        EXPECT_EQ(rs->editMode(), dao::dbEditNone);
        if (lockEdit == dao::dbOptimistic)
            EXPECT_DOUBLE_EQ(rs->value("Preis").toDouble(), 2);
        else
            EXPECT_EQ(rs->value("Name").toText(), "Faust");
        rs->edit();
        rs->setValue("Klein", dao::Variant(lockEdit));
        rs->update();
        EXPECT_EQ(other->openRecordset("SELECT Klein FROM titel WHERE ID = 1")->value(0).toLong(), lockEdit);
        db->execute("UPDATE titel SET Klein = NULL", dao::dbFailOnError);
    }

    // Another recordset of the same database counts as another user; a row deleted meanwhile is 3167.
    auto first = db->openRecordset("inventur", dao::dbOpenDynaset, 0, dao::dbOptimistic);
    auto second = db->openRecordset("inventur", dao::dbOpenDynaset, 0, dao::dbOptimistic);
    first->edit();
    first->setValue("NR", dao::Variant(1));
    second->edit();
    second->setValue("NR", dao::Variant(2));
    second->update();
    EXPECT_EQ(errorOf([&] { first->update(); }), 3197);
    first->cancelUpdate();
    first->edit();
    first->setValue("NR", dao::Variant(3));
    other->execute("DELETE FROM inventur WHERE NR = 2", dao::dbFailOnError);
    EXPECT_EQ(errorOf([&] { first->update(); }), 3167);
    EXPECT_EQ(count("NR = 3"), 0);

    // Inside a transaction the check and the write belong to it.
    first->moveNext();
    db->beginTrans();
    first->edit();
    first->setValue("NR", dao::Variant(4));
    first->update();
    EXPECT_EQ(count("NR = 4"), 1);
    db->rollback();
    EXPECT_EQ(count("NR = 4"), 0);
    EXPECT_EQ(count("NR = 102"), 1);
}

TEST_F(RecordsetEditing, APessimisticEditLocksItsRowAgainstOtherRecordsets)
{
    auto holder = db->openRecordset("inventur", dao::dbOpenDynaset, 0, dao::dbPessimistic);
    auto optimistic = db->openRecordset("inventur", dao::dbOpenTable, 0, dao::dbOptimistic);
    auto pessimistic = db->openRecordset("SELECT * FROM inventur WHERE NR > 100", dao::dbOpenDynaset);
    holder->edit();
    holder->setValue("NR", dao::Variant(111));
    EXPECT_EQ(errorOf([&] { pessimistic->edit(); }), 3188);
    EXPECT_EQ(pessimistic->editMode(), dao::dbEditNone);
    optimistic->edit(); // optimistic locking waits for Update
    optimistic->setValue("NR", dao::Variant(112));
    EXPECT_EQ(errorOf([&] { optimistic->update(); }), 3188);
    EXPECT_EQ(errorOf([&] { pessimistic->deleteCurrent(); }), 3188);
    pessimistic->moveNext();
    pessimistic->edit(); // other rows are free
    pessimistic->cancelUpdate();
    holder->update();
    EXPECT_EQ(errorOf([&] { optimistic->update(); }), 3197) << "the lock is gone, the row has changed";
    optimistic->move(0);
    EXPECT_EQ(optimistic->value("NR").toLong(), 111);

    // Moving, cancelling, closing and dropping the recordset free the row.
    db->execute("INSERT INTO inventur (NR) VALUES (104)", dao::dbFailOnError);
    optimistic->requery();
    for (const std::function<void()>& release :
         std::initializer_list<std::function<void()>>{[&] { holder->moveNext(); }, [&] { holder->cancelUpdate(); },
                                                      [&] { holder->close(); }, [&] { holder.reset(); }}) {
        holder = db->openRecordset("inventur", dao::dbOpenDynaset);
        holder->edit();
        EXPECT_EQ(errorOf([&] { optimistic->deleteCurrent(); }), 3188);
        release();
        optimistic->deleteCurrent();
        optimistic->moveNext();
    }
    EXPECT_EQ(count(), 0);

    // LockEdits can be changed on an open recordset.
    db->execute("INSERT INTO inventur (NR) VALUES (7)", dao::dbFailOnError);
    auto a = db->openRecordset("inventur", dao::dbOpenDynaset);
    auto b = db->openRecordset("inventur", dao::dbOpenDynaset);
    a->setLockEdits(false);
    EXPECT_FALSE(a->lockEdits());
    a->edit();
    b->edit();
    b->setValue("NR", dao::Variant(8));
    b->update();
}

TEST_F(RecordsetEditing, AFailedEditUpdateLeavesTheEditPendingAndTheRowAsItWas)
{
    db->execute("INSERT INTO titel (ID, Name) VALUES (1, 'Faust')", dao::dbFailOnError);
    db->execute("INSERT INTO titel (ID, Name) VALUES (2, 'Ilias')", dao::dbFailOnError);
    auto rs = db->openRecordset("titel", dao::dbOpenDynaset, 0, dao::dbOptimistic);
    rs->moveNext();
    rs->edit();
    rs->setValue("ID", dao::Variant(1));
    EXPECT_EQ(errorOf([&] { rs->update(); }), 3022);
    EXPECT_EQ(rs->editMode(), dao::dbEditInProgress);
    rs->setValue("ID", dao::Variant(3));
    rs->setValue("Name", dao::Variant());
    EXPECT_EQ(errorOf([&] { rs->update(); }), 3314);
    EXPECT_EQ(rs->editMode(), dao::dbEditInProgress);
    // Nothing of the failed writes stays open: another connection writes at once.
    auto other = engine.openDatabase(path);
    other->execute("INSERT INTO titel (ID, Name) VALUES (9, 'Odyss')", dao::dbFailOnError);
    EXPECT_EQ(rowsOf(*other->openRecordset("SELECT ID, Name FROM titel ORDER BY ID")),
              (QJsonArray{QJsonArray{1, "Faust"}, QJsonArray{2, "Ilias"}, QJsonArray{9, "Odyss"}}));
    rs->setValue("Name", dao::Variant("Ilias"));
    rs->update();
    EXPECT_EQ(rs->value("ID").toLong(), 3);
}
