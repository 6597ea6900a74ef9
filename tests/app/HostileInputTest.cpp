// What a user can put in by mistake or on purpose: text pasted into the
// number field, import files that are no number lists, list names and
// program folders full of quotes, brackets, blanks and umlauts.
#include "tests/app/MainWindowHarness.h"
#include "ui_TfMain.h"

#include "framework/data/TField.h"
#include "tests/support/EngineRows.h"

#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QStringEncoder>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct HostileInput : ::testing::Test {
    MainWindowHarness h;
    TfMain* w = nullptr;

    HostileInput()
    {
        w = &h.startOnSampleCatalogue();
        w->ui->Button1->click();
        h.ui->clear();
    }

    QJsonArray rows(const QString& sql) { return testsupport::queryRows(h.dir.file("db_inv.mdb"), sql); }

    void import(const QByteArray& content)
    {
        h.dir.write("nummern.txt", content);
        h.ui->fileAnswers.push_back(FileDialogResult{h.dir.file("nummern.txt"), 3});
        w->ui->Button3->click();
    }
};

} // namespace

TEST_F(HostileInput, PastedTextThatIsNoNumberIsRefusedBeforeTheTestQuery)
{
    const QString before = w->TB_INV_COUNT.SQL().join('\n');
    for (const QString& pasted : {QStringLiteral("abc"), QStringLiteral("1 OR 1=1"), QStringLiteral("2147483648"),
                                  QStringLiteral("99999999999999999999"), QStringLiteral("12 34"),
                                  QStringLiteral(" 12"), QStringLiteral("12\n34"), QStringLiteral("0x10")}) {
        SCOPED_TRACE(pasted.toStdString());
        h.ui->clear();
        w->ui->ed_BuchNr->clear();
        QGuiApplication::clipboard()->setText(pasted);
        w->ui->ed_BuchNr->paste(); // as the field's context menu does; typed keys are filtered
        const QString inField = w->ui->ed_BuchNr->text();
        ASSERT_FALSE(inField.isEmpty());
        QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Return);
        EXPECT_EQ(h.ui->messageTexts(), QStringList{QStringLiteral("'%1' ist kein gültiger Integerwert.").arg(inField)});
        EXPECT_EQ(w->TB_INV_COUNT.SQL().join('\n'), before) << "no query was built from the text";
        EXPECT_FALSE(w->TB_INV_COUNT.Active());
        EXPECT_EQ(w->TB_INV.State(), dsBrowse) << "no pending entry";
    }
    EXPECT_TRUE(rows("SELECT * FROM inventur").isEmpty());

    // The largest number still goes in.
    w->ui->ed_BuchNr->setText("2147483647");
    QTest::keyClick(w->ui->ed_BuchNr, Qt::Key_Return);
    EXPECT_EQ(rows("SELECT NR FROM inventur"), QJsonArray{QJsonArray{2147483647}});
}

TEST_F(HostileInput, ImportFilesOfOtherKindsAreReadOrRefusedWhole)
{
    // UTF-16 with byte-order mark, as Windows' editor saves "Unicode".
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    import(utf16(QStringLiteral("11\r\n12\r\n")));
    EXPECT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join('|').toStdString();
    EXPECT_EQ(w->ui->Label5->text(), "fertig.");
    QStringEncoder utf16be(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
    import(utf16be(QStringLiteral("13")));
    // UTF-8 with byte-order mark, no final line break.
    import("\xEF\xBB\xBF" "14\n15");
    EXPECT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join('|').toStdString();
    EXPECT_EQ(rows("SELECT NR FROM inventur ORDER BY IDX"),
              (QJsonArray{QJsonArray{11}, QJsonArray{12}, QJsonArray{13}, QJsonArray{14}, QJsonArray{15}}));

    // A binary file is refused with one message; nothing is stored.
    h.ui->clear();
    QByteArray binary;
    for (int i = 0; i < 100000; ++i)
        binary += char((i * 7919) % 251);
    import("1\r\n" + binary);
    EXPECT_EQ(h.ui->messageTexts(),
              QStringList{"Die Datei \"" + h.dir.file("nummern.txt") + "\" ist keine Textdatei mit einer Zahl je Zeile."});
    EXPECT_EQ(rows("SELECT COUNT(*) FROM inventur"), QJsonArray{QJsonArray{5}});

    // One huge line: one warning and the error, each with the line cut short.
    h.ui->clear();
    import("16\r\n" + QByteArray(20 << 20, '7') + "x");
    const QString cut = QString(80, '7') + QChar(0x2026);
    EXPECT_EQ(h.ui->messageTexts(), (QStringList{"Fehler: " + cut + " ist keine Zahl in Zeile:2",
                                                 QStringLiteral("'%1' ist kein gültiger Integerwert.").arg(cut)}));
    EXPECT_EQ(w->ui->Label5->text(), cut);
    EXPECT_EQ(rows("SELECT COUNT(*) FROM inventur WHERE NR = 16"), QJsonArray{QJsonArray{1}});

    // A file of another kind warns twenty times, then counts the rest in one message.
    h.ui->clear();
    QByteArray csv;
    for (int i = 0; i < 500; ++i)
        csv += "Titel " + QByteArray::number(i) + ";Autor\r\n";
    import(csv);
    ASSERT_EQ(h.ui->messageTexts().size(), 22);
    EXPECT_EQ(h.ui->messageTexts()[20], "Fehler: 480 weitere Zeilen sind keine Zahl");
    EXPECT_EQ(h.ui->beeps(), 21);
}

TEST(HostileNames, ListNamesAndProgramFoldersWithQuotesBracketsBlanksAndUmlauts)
{
    MainWindowHarness h;
    // A program folder of 200 characters below the temporary folder.
    QString folder = h.dir.path() + QStringLiteral("Bücherei \"Nord\" [Saal 'A']/");
    while (folder.size() < 200)
        folder += QStringLiteral("Außenstelle Süd (Räume 1–3)/");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString catalogue = h.dir.copyFixture("catalogue/veltrano.mdb", "Katalog [Kopie] 'ä' \"x\".mdb");
    QFile ini(folder + "Quillstock.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[GLOBAL]\r\nPATH=" + catalogue.toUtf8() + "\r\n");
    ini.close();
    inventory::CreateEmptyInventory(folder + "db_inv.mdb");

    TfMain& w = h.start(folder);
    ASSERT_TRUE(h.ui->messageTexts().isEmpty()) << h.ui->messageTexts().join('|').toStdString();
    EXPECT_TRUE(w.DB_Veltrano.Connected());
    const QStringList names{QStringLiteral("O'Brien \"Saal\" [1]"), QStringLiteral("'; DROP TABLE inventur; --"),
                            QStringLiteral("  Größe ]["), QStringLiteral("\"")};
    int nr = 1;
    for (const QString& name : names) {
        w.ui->ed_NeueInventur->setText(name);
        w.ui->Button1->click();
        EXPECT_EQ(w.ui->DBText1->text(), name);
        QTest::keyClicks(w.ui->ed_BuchNr, QString::number(nr++));
        QTest::keyClick(w.ui->ed_BuchNr, Qt::Key_Return);
    }
    ASSERT_TRUE(h.ui->messageTexts().isEmpty()) << h.ui->messageTexts().join('|').toStdString();
    const QJsonArray stored = testsupport::queryRows(
        folder + "db_inv.mdb", "SELECT l.Bezeichnung, i.NR FROM inventurliste AS l INNER JOIN inventur AS i ON "
                               "i.Inventurliste = l.IDX ORDER BY i.NR");
    ASSERT_EQ(stored.size(), names.size());
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(stored[i].toArray()[0].toString(), names[i]);

    // The report of missing books reads the inventory in that folder beside the catalogue.
    const QString caption = h.reportCaptionAfter(*w.ui->btn_FehlendeBuecher);
    EXPECT_TRUE(h.ui->messageTexts().isEmpty()) << h.ui->messageTexts().join('|').toStdString();
    EXPECT_TRUE(caption.startsWith(QStringLiteral("fehlende Bücher --=["))) << caption.toStdString();

    // The last list is deleted with its entry; the question carries the name unchanged.
    h.ui->messageAnswers.push_back(0);
    w.ui->Button2->click();
    EXPECT_EQ(h.ui->messageTexts().last(), QStringLiteral("Datensatz \"\"\" wirklich löschen?"));
    EXPECT_EQ(testsupport::queryRows(folder + "db_inv.mdb", "SELECT COUNT(*) FROM inventur"),
              QJsonArray{QJsonArray{3}});
    EXPECT_TRUE(QFileInfo::exists(folder + "db_Vel.mdb"));
}
