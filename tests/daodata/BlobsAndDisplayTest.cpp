#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "tests/support/EngineRows.h"
#include "tests/support/ErrorText.h"
#include "tests/support/InventoryTables.h"
#include "tests/support/TempFolder.h"

#include <QObject>
#include <gtest/gtest.h>

using testsupport::TempFolder;

namespace {

// An encrypter as a program might place one: stores "ENC:" and the text
// reversed. Not its own inverse, so a pass in the wrong direction shows.
class ReversingEncrypter : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString DecodedString READ DecodedString WRITE SetDecodedString)
    Q_PROPERTY(QString EncodedString READ EncodedString WRITE SetEncodedString)
public:
    QString DecodedString() const { return decoded_; }
    void SetDecodedString(const QString& text)
    {
        decoded_ = text;
        encoded_ = "ENC:" + reversed(text);
    }
    QString EncodedString() const { return encoded_; }
    void SetEncodedString(const QString& text)
    {
        encoded_ = text;
        decoded_ = text.startsWith("ENC:") ? reversed(text.mid(4)) : text;
    }

private:
    static QString reversed(QString text)
    {
        std::reverse(text.begin(), text.end());
        return text;
    }
    QString decoded_, encoded_;
};

const QString kGuid = QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}");

// An engine-made inventory database with a table of every kind of large or
// odd value the dataset handles.
struct Notes : ::testing::Test {
    TempFolder dir;
    TApplication app{std::make_unique<RecordingInteraction>()};
    TVoDaoDatabase db{"DB_INV"};
    TVoDaoTable notes{"TB_Notizen"};
    QString memo;

    Notes()
    {
        testsupport::createInventoryTables(dir.file("db_inv.mdb"));
        db.ProgramFolder = dir.path();
        db.SetVersion("3.6");
        db.SetDatabase(dir.file("db_inv.mdb"));
        db.SetConnected(true);
        exec("CREATE TABLE notizen (IDX COUNTER PRIMARY KEY, Titel TEXT(50), Notiz MEMO DEFAULT \"neu\", "
             "Bild LONGBINARY, Kennung GUID, Roh BINARY(16), Erfasst DATETIME)");
        memo = QString("Zeile mit Größe. ").repeated(400); // far beyond one text field
        exec("INSERT INTO notizen (Titel, Notiz, Kennung, Erfasst) VALUES ('eins', '" + memo + "', {guid " + kGuid +
             "}, #2026-12-06 10:30:00#)");
        exec("INSERT INTO notizen (Titel, Notiz) VALUES ('zwei', NULL)");
        exec("INSERT INTO notizen (Titel, Notiz) VALUES ('drei', 'kurz')");
        notes.SetDatabase(&db);
        notes.SetSQL("SELECT * FROM notizen ORDER BY IDX");
    }

    void exec(const QString& sql) { db.CoreDatabase()->execute(sql.toStdString()); }
    QJsonArray rows(const QString& sql) { return testsupport::queryRows(dir.file("db_inv.mdb"), sql); }
    // The stored bytes of one value, read straight from the file by the engine.
    QByteArray storedBytes(const QString& column, int idx)
    {
        dao::DBEngine engine;
        auto file = engine.openDatabase(dir.file("db_inv.mdb").toStdString());
        auto rs = file->openRecordset(QString("SELECT %1 FROM notizen WHERE IDX = %2").arg(column).arg(idx).toStdString(), 4);
        const QByteArray bytes = QByteArray::fromStdString(rs->value(0).bytes());
        file->close();
        return bytes;
    }
    TField* F(const char* name) { return notes.FieldByName(name); }
};

using testsupport::errorText;

} // namespace

TEST_F(Notes, MemosNotCachedAreReadFromTheirRowWithoutMovingTheCursor)
{
    notes.Open();
    EXPECT_EQ(F("Notiz")->DataType(), ftMemo);
    EXPECT_EQ(F("Notiz")->DisplayText(), "(MEMO)") << "not cached: the grid shows the type";
    EXPECT_TRUE(F("Notiz")->AsString() == memo);
    {
        auto stream = notes.CreateBlobStream(F("Notiz"), bmRead);
        EXPECT_TRUE(QString::fromUtf8(stream->readAll()) == memo);
    }
    notes.Next();
    EXPECT_TRUE(F("Notiz")->IsNull());
    EXPECT_EQ(F("Notiz")->DisplayText(), "(memo)");
    notes.Next();
    EXPECT_EQ(F("Notiz")->AsString(), "kurz");
    notes.First();
    EXPECT_EQ(F("Titel")->AsString(), "eins");
    EXPECT_TRUE(F("Notiz")->AsString() == memo);
    notes.Next();
    EXPECT_EQ(F("Titel")->AsString(), "zwei") << "reading a memo leaves the dataset's cursor on its row";

    // While a row is edited its memo is still the stored one, and the edit goes on.
    notes.First();
    notes.Edit();
    F("Titel")->SetAsString("EINS");
    EXPECT_TRUE(F("Notiz")->AsString() == memo);
    EXPECT_TRUE(F("Notiz")->OldValue().toString() == memo);
    EXPECT_EQ(F("Titel")->OldValue().toString(), "eins");
    notes.Post();
    EXPECT_EQ(rows("SELECT Titel FROM notizen WHERE IDX = 1"), QJsonArray{QJsonArray{"EINS"}});

    // A new record holds the field's default, not the memo of the row it was started on.
    notes.First();
    notes.Append();
    EXPECT_TRUE(F("Notiz")->AsString().contains("neu")) << F("Notiz")->AsString().toStdString();
    notes.Cancel();
}

TEST_F(Notes, CachedMemosAreShownWideWithTheirText)
{
    notes.CacheMemos = true;
    notes.Open();
    EXPECT_GE(F("Notiz")->DisplayWidth(), 30);
    EXPECT_TRUE(F("Notiz")->DisplayText() == memo);
    EXPECT_GE(F("Erfasst")->DisplayWidth(), 20);
    EXPECT_EQ(F("Erfasst")->AsDateTime(), QDateTime(QDate(2026, 12, 6), QTime(10, 30)));
    notes.Last();
    EXPECT_EQ(F("Notiz")->DisplayText(), "kurz");
}

TEST_F(Notes, BlobStreamsWriteInEditAndInsertState)
{
    QByteArray picture("\x89PNG\r\n\x1a\n", 8);
    picture.append('\0').append("\xff\x80 Rest", 7);
    notes.Open();
    notes.Append();
    F("Titel")->SetAsString("vier");
    {
        auto out = notes.CreateBlobStream(F("Bild"), bmWrite);
        out->write(picture);
    }
    {
        auto out = notes.CreateBlobStream(F("Notiz"), bmWrite);
        out->write(QString("Bücher über Größe").toUtf8());
    }
    notes.Post();
    EXPECT_EQ(storedBytes("Bild", 4), picture);
    EXPECT_EQ(rows("SELECT Notiz FROM notizen WHERE IDX = 4"), QJsonArray{QJsonArray{"Bücher über Größe"}});
    EXPECT_EQ(F("Bild")->AsBytes(), picture) << "read back from the row after the post";

    notes.First();
    notes.Edit();
    {
        auto out = notes.CreateBlobStream(F("Notiz"), bmReadWrite);
        out->seek(out->size());
        out->write("Ende");
    }
    notes.Post();
    EXPECT_TRUE(rows("SELECT Notiz FROM notizen WHERE IDX = 1") == QJsonArray{QJsonArray{memo + "Ende"}});

    notes.Close();
    notes.CacheBlobs = true;
    notes.Open();
    notes.Last();
    EXPECT_EQ(F("Bild")->AsBytes(), picture) << "cached with the row";
}

TEST_F(Notes, WritingABlobOfAReadOnlyDatasetIsRefused)
{
    notes.SetReadOnly(true);
    notes.Open();
    EXPECT_EQ(errorText([&] { notes.CreateBlobStream(F("Notiz"), bmWrite); }), "Cannot write to ReadOnly table!");
    EXPECT_EQ(errorText([&] { notes.CreateBlobStream(F("Bild"), bmReadWrite); }), "Cannot write to ReadOnly table!");
    EXPECT_TRUE(QString::fromUtf8(notes.CreateBlobStream(F("Notiz"), bmRead)->readAll()) == memo);
    notes.Close();

    notes.SetReadOnly(false);
    notes.SetTableType(4); // a snapshot makes the dataset read-only
    notes.Open();
    EXPECT_EQ(errorText([&] { notes.CreateBlobStream(F("Notiz"), bmWrite); }), "Cannot write to ReadOnly table!");
}

TEST_F(Notes, GuidFieldsShowAndTakeGuidText)
{
    notes.Open();
    EXPECT_EQ(F("Kennung")->DataType(), ftBytes);
    EXPECT_EQ(F("Kennung")->DisplayText(), "(BYTES)") << "without ShowGUID";
    notes.Close();

    notes.ShowGUID = true;
    notes.Open();
    EXPECT_GE(F("Kennung")->DisplayWidth(), 38);
    EXPECT_GE(F("Roh")->DisplayWidth(), 38) << "every 16-byte binary field";
    EXPECT_EQ(F("Kennung")->DisplayText(), kGuid);
    EXPECT_EQ(F("Kennung")->AsBytes().size(), 16);

    // A GUID copied by its bytes from one row to another stays the same GUID.
    const QByteArray bytes = F("Kennung")->AsBytes();
    notes.Next();
    EXPECT_EQ(F("Kennung")->DisplayText(), "");
    notes.Edit();
    F("Kennung")->SetAsBytes(bytes);
    EXPECT_EQ(F("Kennung")->DisplayText(), kGuid);
    notes.Post();
    EXPECT_EQ(rows("SELECT Kennung FROM notizen WHERE IDX = 2"), QJsonArray{QJsonArray{kGuid}});

    notes.Next();
    notes.Edit();
    F("Kennung")->SetText("0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9");
    F("Roh")->SetText("{00112233-4455-6677-8899-AABBCCDDEEFF}");
    notes.Post();
    EXPECT_EQ(rows("SELECT Kennung FROM notizen WHERE IDX = 3"),
              QJsonArray{QJsonArray{"{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}"}});
    EXPECT_EQ(storedBytes("Roh", 3).toHex(), "33221100554477668899aabbccddeeff");
    EXPECT_EQ(F("Roh")->DisplayText(), "{00112233-4455-6677-8899-AABBCCDDEEFF}");

    notes.Edit();
    EXPECT_EQ(errorText([&] { F("Kennung")->SetText("keine GUID"); }), "'keine GUID' ist kein gültiger GUID-Wert");
    F("Kennung")->SetText("");
    notes.Post();
    EXPECT_EQ(rows("SELECT Kennung FROM notizen WHERE IDX = 3"), QJsonArray{QJsonArray{QJsonValue::Null}});
}

TEST_F(Notes, TheEncrypterEncodesOnPostAndDecodesOnRead)
{
    ReversingEncrypter encrypter;
    notes.SetEncrypter(&encrypter);
    exec("INSERT INTO notizen (Titel, Notiz) VALUES ('ENC:mieheG', 'ENC:zitoN ehcilmieh')");
    notes.Open();
    notes.Last();
    EXPECT_EQ(F("Titel")->AsString(), "Geheim");
    EXPECT_EQ(F("Notiz")->AsString(), "heimliche Notiz") << "a memo read on demand is decoded too";

    notes.Append();
    F("Titel")->SetAsString("Tresor");
    F("Notiz")->SetAsString("Kombination 4711");
    F("Bild")->SetAsBytes("abc");
    notes.Post();
    EXPECT_EQ(rows("SELECT Titel, Notiz FROM notizen WHERE IDX = 5"),
              (QJsonArray{QJsonArray{"ENC:roserT", "ENC:1174 noitanibmoK"}}));
    EXPECT_EQ(storedBytes("Bild", 5), "ENC:cba");
    EXPECT_EQ(F("Titel")->AsString(), "Tresor");
    EXPECT_EQ(F("Bild")->AsBytes(), "abc");
    EXPECT_EQ(F("IDX")->AsInteger(), 5) << "numbers do not pass the encrypter";

    // Together with the code-page conversion a value comes back as it was written.
    notes.Close();
    notes.Translation = true;
    notes.Open();
    notes.Append();
    F("Titel")->SetAsString("Größe");
    notes.Post();
    EXPECT_EQ(F("Titel")->AsString(), "Größe");

    // A component without the two string properties changes nothing.
    notes.Close();
    notes.Translation = false;
    QObject plain;
    notes.SetEncrypter(&plain);
    notes.Open();
    notes.Locate("IDX", 5, 0);
    EXPECT_EQ(F("Titel")->AsString(), "ENC:roserT");
}

TEST_F(Notes, TranslationConvertsBetweenOemAndAnsiBothWays)
{
    // "Größe" in code page 850 is G r 0x94 0xE1 e; read as Windows-1252 those bytes are ” and á.
    exec("INSERT INTO notizen (Titel, Notiz) VALUES ('Gr\u201D\u00E1e', 'M\u0081ller')");
    notes.Open();
    notes.Last();
    EXPECT_EQ(F("Titel")->AsString(), "Gr\u201D\u00E1e") << "without Translation the text is as stored";
    notes.Close();

    notes.Translation = true;
    notes.Open();
    notes.Last();
    EXPECT_EQ(F("Titel")->AsString(), "Größe");
    EXPECT_EQ(F("Notiz")->AsString(), "Müller");
    notes.Edit();
    F("Titel")->SetAsString("Müller");
    notes.Post();
    EXPECT_EQ(rows("SELECT Titel FROM notizen WHERE IDX = 4"), QJsonArray{QJsonArray{"M\u0081ller"}})
        << "ü is 0x81 in code page 850";
    EXPECT_EQ(F("Titel")->AsString(), "Müller");
}

TEST_F(Notes, TableTypeCountsAndLastRowAfterADeleteWithWarnOnBadDatabase)
{
    notes.SetSQL(QStringList{});
    notes.SetTableName("notizen");
    notes.SetTableType(1);
    notes.WarnOnBadDatabase = true;
    notes.Open();
    EXPECT_EQ(notes.RecordCount(), 3) << "a sound database raises nothing";
    notes.Next();
    notes.Delete();
    notes.Last();
    EXPECT_EQ(F("Titel")->AsString(), "drei");
    EXPECT_EQ(notes.RecordCount(), 2);
    EXPECT_EQ(notes.RecNo(), 2) << "the deleted row no longer counts";
    notes.Delete();
    EXPECT_EQ(F("Titel")->AsString(), "eins");
    EXPECT_EQ(notes.RecNo(), 1) << "deleting the last row moves to the new last row";
    EXPECT_EQ(notes.RecordCount(), 1);
}

#include "BlobsAndDisplayTest.moc"
