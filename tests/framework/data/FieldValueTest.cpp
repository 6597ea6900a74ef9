// Typed field access, conversions and their German refusal texts.
#include "DataTestSupport.h"

#include "framework/data/BlobFields.h"
#include "framework/data/TBlobStream.h"
#include "framework/data/TimeStamp.h"
#include "framework/data/ValueText.h"

#include "tests/support/SmallDisk.h"
#include "tests/support/TempFolder.h"

#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

// One row holding a value of each type that matters.
std::unique_ptr<TMemoryDataSet> MakeTypes()
{
    auto ds = std::make_unique<TMemoryDataSet>();
    ds->AddColumn(QStringLiteral("S"), ftString, 10);
    ds->AddColumn(QStringLiteral("I"), ftInteger);
    ds->AddColumn(QStringLiteral("SI"), ftSmallint);
    ds->AddColumn(QStringLiteral("F"), ftFloat);
    ds->AddColumn(QStringLiteral("C"), ftCurrency);
    ds->AddColumn(QStringLiteral("B"), ftBoolean);
    ds->AddColumn(QStringLiteral("D"), ftDate);
    ds->AddColumn(QStringLiteral("T"), ftTime);
    ds->AddColumn(QStringLiteral("DT"), ftDateTime);
    ds->AddColumn(QStringLiteral("M"), ftMemo);
    ds->AddColumn(QStringLiteral("BL"), ftBlob);
    ds->AddColumn(QStringLiteral("BY"), ftBytes, 16);
    ds->AddColumn(QStringLiteral("G"), ftGuid, 38);
    ds->AddColumn(QStringLiteral("AI"), ftAutoInc);
    ds->AddRow({QStringLiteral("42"), 7, 3, 2.5, 12.25, true, QDate(2004, 3, 7), QTime(13, 45, 10),
                QDateTime(QDate(2004, 3, 7), QTime(8, 0)), QStringLiteral("line1\r\nline2"),
                QByteArray("\x01\x02", 2), QByteArray(16, 'x'), QStringLiteral("{00000000-0000-0000-0000-000000000001}"), 1});
    return ds;
}

class FieldValueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = QLocale();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        ds = MakeTypes();
        ds->Open();
    }
    void TearDown() override { QLocale::setDefault(saved); }
    TField* F(const char* name) { return ds->FieldByName(QString::fromLatin1(name)); }
    std::unique_ptr<TMemoryDataSet> ds;
    QLocale saved;
};

} // namespace

TEST_F(FieldValueTest, FieldsMadeForEachTypeReadTheirValues)
{
    EXPECT_EQ(F("S")->AsInteger(), 42);
    EXPECT_EQ(F("I")->AsString(), QStringLiteral("7"));
    EXPECT_DOUBLE_EQ(F("I")->AsFloat(), 7.0);
    EXPECT_EQ(F("F")->AsString(), QStringLiteral("2,5")); // German decimal comma
    EXPECT_EQ(F("F")->AsInteger(), 3); // rounded
    EXPECT_DOUBLE_EQ(F("C")->AsCurrency(), 12.25);
    EXPECT_EQ(F("B")->AsString(), QStringLiteral("True"));
    EXPECT_EQ(F("D")->AsString(), QStringLiteral("07.03.2004"));
    EXPECT_EQ(F("D")->AsDateTime(), QDateTime(QDate(2004, 3, 7), QTime(0, 0)));
    EXPECT_EQ(F("T")->AsDateTime(), QDateTime(QDate(1899, 12, 30), QTime(13, 45, 10)));
    EXPECT_EQ(F("T")->AsString(), QStringLiteral("13:45:10"));
    EXPECT_DOUBLE_EQ(F("DT")->AsFloat(), 38053 + 8.0 / 24);
    EXPECT_EQ(F("M")->AsString(), QStringLiteral("line1\r\nline2"));
    EXPECT_EQ(F("M")->DisplayText(), QStringLiteral("(MEMO)"));
    EXPECT_EQ(F("BL")->DisplayText(), QStringLiteral("(BLOB)"));
    EXPECT_EQ(F("BL")->AsBytes(), QByteArray("\x01\x02", 2));
    EXPECT_EQ(F("BY")->DisplayText(), QStringLiteral("(BYTES)"));
    EXPECT_EQ(F("BY")->AsString(), QString(16, QLatin1Char('x')));
    EXPECT_EQ(F("G")->DataType(), ftGuid);
    EXPECT_EQ(F("AI")->DataType(), ftAutoInc);
    EXPECT_TRUE(F("M")->IsBlob());
    EXPECT_FALSE(F("S")->IsBlob());
}

TEST_F(FieldValueTest, ConversionRefusalsUseTheGermanTexts)
{
    ds->Edit();
    EXPECT_EQ(ErrorText([&] { F("I")->SetAsString(QStringLiteral("abc")); }),
              QStringLiteral("'abc' ist kein gültiger Integerwert"));
    EXPECT_EQ(ErrorText([&] { F("F")->SetAsString(QStringLiteral("1,2,3")); }),
              QStringLiteral("'1,2,3' ist kein gültiger Gleitkommawert"));
    EXPECT_EQ(ErrorText([&] { F("D")->SetAsString(QStringLiteral("32.13.2004")); }),
              QStringLiteral("'32.13.2004' ist kein gültiges Datum"));
    EXPECT_EQ(ErrorText([&] { F("B")->SetAsString(QStringLiteral("vielleicht")); }),
              QStringLiteral("'vielleicht' ist kein gültiger boolescher Wert für Feld 'B'"));
    EXPECT_EQ(ErrorText([&] { F("SI")->SetAsInteger(40000); }),
              QStringLiteral("40000 ist kein gültiger Wert für Feld 'SI'. Der erlaubte Bereich ist -32768 bis 32767"));
    EXPECT_EQ(ErrorText([&] { F("I")->AsBoolean(); }),
              QStringLiteral("Zugriff auf Feld 'I' als Typ Boolean nicht möglich"));
    ds->Cancel();
    EXPECT_EQ(ErrorText([&] { F("M")->AsInteger(); }), QStringLiteral("Zugriff auf Feld 'M' als Typ Integer nicht möglich"));
    ds->Edit();
    F("S")->SetAsString(QStringLiteral("x1"));
    EXPECT_EQ(ErrorText([&] { F("S")->AsInteger(); }), QStringLiteral("'x1' ist kein gültiger Integerwert"));
}

TEST_F(FieldValueTest, WritingConvertsTextsAndEmptyTextIsNull)
{
    ds->Edit();
    F("I")->SetAsString(QStringLiteral(" 12 "));
    EXPECT_EQ(F("I")->AsInteger(), 12);
    F("I")->SetAsString(QString());
    EXPECT_TRUE(F("I")->IsNull());
    F("F")->SetAsString(QStringLiteral("3,75"));
    EXPECT_DOUBLE_EQ(F("F")->AsFloat(), 3.75);
    F("B")->SetAsString(QStringLiteral("=no"));
    EXPECT_FALSE(F("B")->AsBoolean());
    F("B")->SetText(QStringLiteral("-1"));
    EXPECT_TRUE(F("B")->AsBoolean());
    F("D")->SetAsString(QStringLiteral("24.12.2003"));
    EXPECT_EQ(F("D")->AsDateTime().date(), QDate(2003, 12, 24));
    F("DT")->SetAsDateTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
    EXPECT_EQ(F("DT")->AsString(), QStringLiteral("03.02.2001 04:05:06"));
    F("S")->SetAsString(QStringLiteral("much longer than ten"));
    EXPECT_EQ(F("S")->AsString(), QStringLiteral("much longe"));
    F("G")->SetAsString(QStringLiteral("6f9619ff-8b86-d011-b42d-00c04fc964ff"));
    EXPECT_EQ(F("G")->AsString(), QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}"));
    F("I")->SetValue(QVariant(QStringLiteral("99")));
    EXPECT_EQ(F("I")->Value(), QVariant(99));
    ds->Post();
    EXPECT_EQ(ds->StoredRow(0)[1], QVariant(99));
    EXPECT_EQ(ds->StoredRow(0)[5], QVariant(true));
}

TEST_F(FieldValueTest, DisplayLabelTextEventsAndWidths)
{
    TField* title = F("S");
    EXPECT_EQ(title->DisplayLabel(), QStringLiteral("S"));
    title->SetDisplayLabel(QStringLiteral("Titel"));
    EXPECT_EQ(title->DisplayName(), QStringLiteral("Titel"));
    EXPECT_EQ(title->DisplayWidth(), 10);
    title->SetDisplayWidth(25);
    EXPECT_EQ(title->DisplayWidth(), 25);
    EXPECT_EQ(F("B")->DisplayWidth(), 5); // "False"
    title->OnGetText = [](TField* f, QString& text, bool display) {
        text = display ? QStringLiteral("<%1>").arg(f->AsString()) : f->AsString();
    };
    EXPECT_EQ(title->DisplayText(), QStringLiteral("<42>"));
    EXPECT_EQ(title->Text(), QStringLiteral("42"));
    F("M")->OnGetText = [](TField* f, QString& text, bool) { text = f->AsString().replace(QLatin1String("\r\n"), QLatin1String(" ")); };
    EXPECT_EQ(F("M")->DisplayText(), QStringLiteral("line1 line2"));
    title->OnSetText = [](TField* f, const QString& text) { f->SetAsString(text.toUpper()); };
    ds->Edit();
    title->SetText(QStringLiteral("abc"));
    EXPECT_EQ(title->AsString(), QStringLiteral("ABC"));
}

TEST_F(FieldValueTest, BlobStreamsReadAndWriteTheFieldValue)
{
    auto* memo = static_cast<TBlobField*>(F("M"));
    {
        auto in = ds->CreateBlobStream(memo, bmRead);
        EXPECT_EQ(in->readAll(), QByteArray("line1\r\nline2"));
    }
    EXPECT_EQ(ErrorText([&] { ds->CreateBlobStream(memo, bmWrite); }),
              QStringLiteral("Datenmenge nicht im Bearbeitungs- oder Einfügemodus"));
    ds->Edit();
    {
        auto out = ds->CreateBlobStream(F("BL"), bmWrite);
        out->write("abc");
        out->seek(1);
        out->write("Z");
    } // stored when the stream goes
    EXPECT_EQ(F("BL")->AsBytes(), QByteArray("aZc"));
    {
        auto out = ds->CreateBlobStream(memo, bmReadWrite);
        out->seek(out->size());
        out->write(" ü");
    }
    EXPECT_EQ(memo->AsString(), QStringLiteral("line1\r\nline2 ü"));
    ds->CreateBlobStream(F("BL"), bmWrite).reset(); // an empty write stream empties the blob
    EXPECT_TRUE(F("BL")->IsNull());
    EXPECT_EQ(F("BL")->DisplayText(), QStringLiteral("(blob)"));
    ds->Post();
    EXPECT_EQ(ds->StoredRow(0)[9].toString(), QStringLiteral("line1\r\nline2 ü"));
}

TEST_F(FieldValueTest, ABlobSavedToAFullDiskFailsAndLeavesTheOldFile)
{
    testsupport::TempFolder folder;
    testsupport::SmallDisk disk(folder.file("disk"), 64);
    NEED_SMALL_DISK(disk);
    auto* blob = static_cast<TBlobField*>(F("BL"));
    ds->Edit();
    blob->SetAsBytes(QByteArray(40 * 1024, 'b'));
    const QString target = folder.file("disk/blob.bin");
    blob->SaveToFile(target);
    blob->SetAsBytes(QByteArray(48 * 1024, 'c')); // more than the disk has left beside the first
    EXPECT_FALSE(ErrorText([&] { blob->SaveToFile(target); }).isEmpty());
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray(40 * 1024, 'b'));
    EXPECT_EQ(disk.files(), QStringList{QStringLiteral("blob.bin")}); // no temporary file left

    blob->LoadFromFile(target);
    EXPECT_EQ(blob->AsBytes().size(), 40 * 1024);
    EXPECT_FALSE(ErrorText([&] { blob->LoadFromFile(folder.file("disk/none.bin")); }).isEmpty());
}

TEST(TimeStampTest, DayNumbersCountFromTheFirstOfJanuaryOfYearOne)
{
    EXPECT_EQ(DateTimeToTimeStamp(QDateTime(QDate(1, 1, 1), QTime(0, 0))).Date, 1);
    const TTimeStamp zero = DateTimeToTimeStamp(QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    EXPECT_EQ(zero.Date, DateDelta);
    const QDateTime moment(QDate(2004, 3, 7), QTime(12, 30, 15, 250));
    const TTimeStamp stamp = DateTimeToTimeStamp(moment);
    EXPECT_EQ(stamp.Time, (12 * 3600 + 30 * 60 + 15) * 1000 + 250);
    EXPECT_EQ(TimeStampToDateTime(stamp), moment);
    QDateTime parsed;
    ASSERT_TRUE(ParseTimeStampText(TimeStampText(moment), parsed));
    EXPECT_EQ(parsed, moment);
    EXPECT_FALSE(ParseTimeStampText(QStringLiteral("731647"), parsed));
    EXPECT_FALSE(ParseTimeStampText(QStringLiteral("1 99999999"), parsed));
    EXPECT_DOUBLE_EQ(DateTimeToNumber(QDateTime(QDate(1899, 12, 31), QTime(18, 0))), 1.75);
    EXPECT_EQ(NumberToDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
}

TEST(ValueTextTest, BooleanTextsOfTheRecordBuffer)
{
    bool value = false;
    for (const char* yes : {"true", "YES", "On", "-1", "=true", " = yes"}) {
        ASSERT_TRUE(TextToBoolean(QString::fromLatin1(yes), value)) << yes;
        EXPECT_TRUE(value) << yes;
    }
    for (const char* no : {"False", "no", "OFF", "0", "=false"}) {
        ASSERT_TRUE(TextToBoolean(QString::fromLatin1(no), value)) << no;
        EXPECT_FALSE(value) << no;
    }
    EXPECT_FALSE(TextToBoolean(QStringLiteral("maybe"), value));
    EXPECT_FALSE(TextToBoolean(QString(), value));
}
