// One table of date texts, read the same way wherever text becomes a date: assigned
// to a Date field, given to CDate and IsDate, stored by INSERT and UPDATE, bound to
// a DateTime parameter and compared in a filter.
#include "EngineTestSupport.h"

#include "engine/QueryDef.h"

#include <gtest/gtest.h>

using enginetest::errorOf;

namespace {

struct DateText {
    const char* text;
    const char* value; // as the engine writes a date, nullptr where the text is no date
};

const DateText kDateTexts[] = {
    // US order, with and without a time, AM/PM in either case
    {"1/15/2003", "2003-01-15 00:00:00"},
    {"1/15/2003 1:05 PM", "2003-01-15 13:05:00"},
    {"1/15/2003 1:05:30 am", "2003-01-15 01:05:30"},
    {"01/15/2003 13:05", "2003-01-15 13:05:00"},
    {"12/31/2003 12:00 AM", "2003-12-31 00:00:00"},
    {"12/31/2003 12:00 PM", "2003-12-31 12:00:00"},
    // German day.month.year
    {"15.01.2003", "2003-01-15 00:00:00"},
    {"15.1.03 13:05", "2003-01-15 13:05:00"},
    // year first, month names
    {"2003-01-15 13:05:00", "2003-01-15 13:05:00"},
    {"15 Jan 2003", "2003-01-15 00:00:00"},
    {"January 15, 2003", "2003-01-15 00:00:00"},
    // two-digit years: 00 to 29 are 2000 to 2029, 30 to 99 are 1930 to 1999
    {"1/15/29", "2029-01-15 00:00:00"},
    {"1/15/30", "1930-01-15 00:00:00"},
    {"29.2.00", "2000-02-29 00:00:00"},
    // a time alone is a time on 1899-12-30
    {"13:05", "1899-12-30 13:05:00"},
    {"1:05:07 PM", "1899-12-30 13:05:07"},
    {"12 AM", "1899-12-30 00:00:00"},
    // no dates
    {"2/30/2003", nullptr},
    {"15.13.2003", nullptr},
    {"13:61", nullptr},
    {"1/15/2003 13:05 PM", nullptr},
    {"heute", nullptr},
    {"1/15/2003 x", nullptr},
};

class DateTexts : public ::testing::TestWithParam<DateText> {
protected:
    static std::string quoted(const std::string& text) { return "'" + text + "'"; }

    // What the text became in the row that was last stored.
    std::string lastStored()
    {
        auto rs = db->openRecordset("SELECT TOP 1 D FROM t ORDER BY ID DESC", dao::dbOpenSnapshot);
        return rs->value(0).isNull() ? "Null" : rs->value(0).toText();
    }

    enginetest::ScratchDatabase scratch{{"CREATE TABLE t (ID COUNTER PRIMARY KEY, D DATETIME, S TEXT(50))"}};
    std::shared_ptr<dao::Database> db = scratch.db;
};

TEST_P(DateTexts, FieldAssignmentAndSqlReadTheSameDate)
{
    const DateText& c = GetParam();
    SCOPED_TRACE(c.text);
    const std::string text = c.text;

    // Assigned to a Date field of a recordset.
    auto rs = db->openRecordset("t", dao::dbOpenDynaset);
    rs->addNew();
    if (c.value) {
        rs->setValue("D", dao::Variant(text));
        rs->update();
        EXPECT_EQ(lastStored(), c.value);
    } else {
        EXPECT_EQ(errorOf([&] { rs->setValue("D", dao::Variant(text)); }), 3421);
        rs->cancelUpdate();
    }

    // CDate and IsDate in a query.
    auto converted = [&] { return db->openRecordset("SELECT CDate(" + quoted(text) + ") AS X", dao::dbOpenSnapshot); };
    if (c.value)
        EXPECT_EQ(converted()->value(0).toText(), c.value);
    else
        EXPECT_EQ(errorOf(converted), 13) << "Type mismatch";
    EXPECT_EQ(db->openRecordset("SELECT IsDate(" + quoted(text) + ")")->value(0).toBool(), c.value != nullptr);

    // Stored into a Date column by INSERT, by UPDATE from a text column, and read by a filter.
    const auto insert = [&] { db->execute("INSERT INTO t (D) VALUES (" + quoted(text) + ")", dao::dbFailOnError); };
    if (c.value) {
        insert();
        EXPECT_EQ(lastStored(), c.value);
        db->execute("INSERT INTO t (S) VALUES (" + quoted(text) + ")", dao::dbFailOnError);
        db->execute("UPDATE t SET D = S WHERE D IS NULL", dao::dbFailOnError);
        EXPECT_EQ(lastStored(), c.value);
        auto filtered = db->openRecordset("t", dao::dbOpenDynaset);
        filtered->setFilter("D = " + quoted(text));
        EXPECT_FALSE(filtered->openRecordset()->eof());
    } else {
        EXPECT_EQ(errorOf(insert), 3464);
    }

    // Bound to a parameter declared as a date.
    auto q = db->createQueryDef("", "PARAMETERS [Wann] DateTime; SELECT count(*) FROM t WHERE D = [Wann]");
    q->parameter("Wann")->setValue(dao::Variant(text));
    if (c.value)
        EXPECT_GE(q->openRecordset(dao::dbOpenSnapshot)->value(0).toLong(), 1);
    else
        EXPECT_EQ(errorOf([&] { q->openRecordset(dao::dbOpenSnapshot); }), 3421);
}

INSTANTIATE_TEST_SUITE_P(Table, DateTexts, ::testing::ValuesIn(kDateTexts), [](const auto& info) {
    return "row" + std::to_string(info.index);
});

} // namespace
