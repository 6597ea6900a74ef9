// Cut, Copy and Paste of the DAO grid through the real clipboard (offscreen
// platform) between two grids over two engine databases: what is put on the
// clipboard, what comes back in the other grid, which field each value
// reaches, the questions and messages, and the records a failure leaves.
#include "daoui/GridClipboard.h"
#include "daoui/ClipboardPaste.h"

#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "daoui/TVoDaoDBGrid.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "tests/support/EngineRows.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

const QString kNotes = QStringLiteral(
    "CREATE TABLE NOTES (ID COUNTER PRIMARY KEY, TITLE TEXT(80) NOT NULL, BODY MEMO, DAY DATETIME, "
    "PRICE CURRENCY, PAGES INTEGER)");
const QString kYes = QStringLiteral("&Yes");

// One grid over one table of its own engine database.
struct Side {
    TVoDaoDatabase db;
    TVoDaoTable table;
    TDataSource source;
    TVoDaoDBGrid grid;
    QString path;

    explicit Side(const QString& name) : db(QStringLiteral("DB_") + name), table(QStringLiteral("TB_") + name)
    {
        db.SetVersion(QStringLiteral("3.6"));
        table.SetDatabase(&db);
        source.SetDataSet(&table);
        grid.SetDataSource(&source);
        grid.resize(640, 240);
    }

    void Open(const QString& file, const QString& tableName)
    {
        path = file;
        db.SetDatabase(file);
        db.SetConnected(true);
        table.SetTableName(tableName);
        table.Open();
        grid.show();
        QApplication::processEvents();
    }

    // The table read again from its file: one line per record, the given
    // fields' texts (dates in ISO form) joined by "|".
    QStringList Records(const QStringList& fields)
    {
        table.Close();
        table.Open();
        QStringList records;
        for (table.First(); !table.Eof(); table.Next()) {
            QStringList values;
            for (const QString& name : fields) {
                const TField* field = table.FieldByName(name);
                values << (field->DataType() == ftDateTime ? field->AsDateTime().toString(Qt::ISODate)
                                                           : field->AsString());
            }
            records << values.join(QLatin1Char('|'));
        }
        return records;
    }

    // Moves onto the n-th record (0-based) as a click on its row does.
    void GoTo(int row)
    {
        table.First();
        table.MoveBy(row);
        QApplication::processEvents();
    }
};

// Gives a column an Access caption (kept in the engine's metadata table of the file).
void SetCaption(const QString& path, const QString& table, const QString& column, const QString& caption)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    const QString sql = QStringLiteral("INSERT INTO _jet_properties (table_name, column_name, name, value) "
                                       "VALUES ('%1', '%2', 'Caption', '%3')")
                            .arg(table, column, caption);
    EXPECT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

QClipboard& Clipboard() { return *QGuiApplication::clipboard(); }

// Puts only a text on the clipboard (what another program would put there).
void PutText(const QString& text, const std::function<void(QMimeData&)>& more = {})
{
    auto* data = new QMimeData;
    data->setText(text);
    if (more)
        more(*data);
    Clipboard().setMimeData(data);
}

struct GridClipboard : ::testing::Test {
    testsupport::TempFolder dir;
    RecordingInteraction* ui = new RecordingInteraction;
    TApplication app{std::unique_ptr<Interaction>(ui)};
    Side from{QStringLiteral("From")};
    Side to{QStringLiteral("To")};

    GridClipboard() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    ~GridClipboard() override { QLocale::setDefault(QLocale::c()); }

    // An engine database made by the statements, opened on one of its tables.
    void Make(Side& side, const QString& file, const QStringList& statements, const QString& tableName)
    {
        testsupport::createDatabase(dir.file(file), statements);
        side.Open(dir.file(file), tableName);
    }

    void MakeNotes(Side& side, const QString& file, const QStringList& inserts = {})
    {
        Make(side, file, QStringList{kNotes} + inserts, QStringLiteral("NOTES"));
    }

    // Answers the next questions in order (0 is the first button).
    void Answer(std::initializer_list<int> answers) { ui->messageAnswers.assign(answers); }

    static QString Question(const QString& what, int records)
    {
        return QStringLiteral("You are about to %1 %2 records!\r\nThere will be no undo for this operation!\r\n"
                              "Are You sure?")
            .arg(what)
            .arg(records);
    }
};

const QString kFields = QStringLiteral("TITLE,BODY,DAY,PRICE,PAGES");
QStringList Fields() { return kFields.split(QLatin1Char(',')); }

} // namespace

TEST_F(GridClipboard, CopiedRecordsComeBackExactlyThroughTheHexRecordset)
{
    MakeNotes(from, QStringLiteral("from.mdb"),
              {QStringLiteral("INSERT INTO NOTES (TITLE, BODY, DAY, PRICE, PAGES) VALUES "
                              "('tab\there', 'two' & Chr(13) & Chr(10) & 'words', #2004-07-03 14:05:09#, 12.5, 3)"),
               QStringLiteral("INSERT INTO NOTES (TITLE, BODY, PAGES) VALUES ('say \"hi\"', 'ü' & Chr(10), 4)"),
               QStringLiteral("INSERT INTO NOTES (TITLE) VALUES ('not taken')")});
    MakeNotes(to, QStringLiteral("to.mdb"));
    from.grid.SetOptions(from.grid.Options() | dgMultiSelect);
    from.GoTo(0);
    from.grid.SelectedRows().SetCurrentRowSelected(true);
    from.GoTo(1);
    from.grid.SelectedRows().SetCurrentRowSelected(true);
    from.grid.CopyClick();

    const QMimeData* data = Clipboard().mimeData();
    ASSERT_TRUE(data);
    // The locale's date and time text (the blank before PM varies between Qt versions).
    EXPECT_EQ(data->text().replace(QChar(0x202f), QLatin1Char(' ')),
              "1\ttab\there\ttwo words\t7/3/2004 2:05:09 PM\t12.5\t3\r\n2\tsay \"hi\"\tü \t\t\t4\r\n");
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(data->data(kUtf16TextMimeType).constData()) + 1,
                                 data->data(kUtf16TextMimeType).size() / 2 - 1),
              data->text())
        << "the same text as UTF-16 after its byte order mark";
    const QStringList typed = QString::fromUtf8(data->data(HexRecordsetMimeType())).split(QStringLiteral("\r\n"));
    EXPECT_EQ(typed.mid(0, 2), (QStringList{QStringLiteral("ID\tTITLE\tBODY\tDAY\tPRICE\tPAGES"),
                                            QStringLiteral("14\t1\t16\t11\t7\t3")}));

    Answer({0});
    to.grid.PasteClick();
    EXPECT_EQ(ui->messageTexts(), QStringList{Question(QStringLiteral("paste"), 2)});
    EXPECT_EQ(to.Records(Fields()), (QStringList{QStringLiteral("tab\there|two\r\nwords|2004-07-03T14:05:09|12.5|3"),
                                                 QStringLiteral("say \"hi\"|ü\n|||4")}))
        << "tabs and line breaks survive, the counter is the target's own";
}

TEST_F(GridClipboard, OfficeFormQuotesTextsAndPastesBackAsText)
{
    MakeNotes(from, QStringLiteral("from.mdb"),
              {QStringLiteral("INSERT INTO NOTES (TITLE, BODY, DAY, PRICE) VALUES "
                              "('say \"hi\"', 'two' & Chr(13) & Chr(10) & 'words', #2004-07-03#, 2.25)")});
    MakeNotes(to, QStringLiteral("to.mdb"));
    from.grid.MenuEntry(TVoDaoDBGrid::miOfficeClipboard)->trigger();
    ASSERT_TRUE(from.grid.OfficeClipboardFormat());
    from.grid.CopyClick();
    const QString office = Clipboard().text();
    EXPECT_EQ(office, QStringLiteral("1\t\"say \"\"hi\"\"\"\t\"two\r\nwords\"\t07/03/2004 00:00:00\t2.25\t\r\n"));

    from.grid.OfficeClipboardClick();
    from.grid.CopyClick();
    EXPECT_EQ(Clipboard().text(), QStringLiteral("1\tsay \"hi\"\ttwo words\t7/3/2004\t2.25\t\r\n"));

    PutText(office); // only the text, as a spreadsheet would take it
    Answer({0});
    to.grid.PasteClick();
    EXPECT_EQ(to.Records(Fields()), QStringList{QStringLiteral("say \"hi\"|two\r\nwords|2004-07-03T00:00:00|2.25|")});
}

TEST_F(GridClipboard, NamesAndTitlesFindTheirFieldsAndEachFieldIsFilledOnce)
{
    MakeNotes(from, QStringLiteral("from.mdb"),
              {QStringLiteral("INSERT INTO NOTES (TITLE, BODY, PAGES) VALUES ('the title', 'the body', 7)")});
    Make(to, QStringLiteral("to.mdb"),
         {QStringLiteral("CREATE TABLE SHORT (ID COUNTER PRIMARY KEY, PAGES INTEGER, TITLE TEXT(80))")},
         QStringLiteral("SHORT"));
    from.grid.CopyClick();

    // By name: PAGES and TITLE whatever their columns; BODY finds no name and
    // falls back to column 2, whose field TITLE took its value already.
    to.grid.SetFindFieldsOnPaste(true);
    Answer({0});
    to.grid.PasteClick();
    EXPECT_EQ(to.Records({QStringLiteral("PAGES"), QStringLiteral("TITLE")}), QStringList{QStringLiteral("7|the title")});

    // Titles of a text paste: first by caption, then by name, ignoring case.
    to.table.Close();
    to.db.SetConnected(false);
    SetCaption(to.path, QStringLiteral("SHORT"), QStringLiteral("TITLE"), QStringLiteral("Titel"));
    to.Open(to.path, QStringLiteral("SHORT"));
    to.grid.SetFindFieldsOnPaste(true);
    PutText(QStringLiteral("title\tTITEL\tpages\r\nby name\tby caption\t9\r\n"), [](QMimeData& data) {
        data.setData(ClipboardFormatMimeType(QStringLiteral("Data Records v9")), QByteArray());
    });
    Answer({0});
    to.grid.PasteClick();
    EXPECT_EQ(to.Records({QStringLiteral("PAGES"), QStringLiteral("TITLE")}),
              (QStringList{QStringLiteral("7|the title"), QStringLiteral("9|by name")}));
    EXPECT_EQ(ui->messageTexts().back(), Question(QStringLiteral("paste"), 1)) << "the title line is no record";
}

TEST_F(GridClipboard, FailedRecordsAreSkippedCountedAndTheOthersStay)
{
    MakeNotes(to, QStringLiteral("to.mdb"));
    // Column 0 is the counter (read-only); the second line has no TITLE, which is required.
    PutText(QStringLiteral("\tfirst\t\t\t\t1\r\n\t\t\t\t\t2\r\n\tthird\t\t\t\t3\r\n"));
    Answer({0});
    to.grid.PasteClick();
    const std::vector<MessageRequest> shown = ui->messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, "Warning");
    EXPECT_EQ(shown[0].text, Question(QStringLiteral("paste"), 3));
    EXPECT_EQ(shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(shown[0].buttons, (QStringList{kYes, QStringLiteral("&No"), QStringLiteral("Cancel")}));
    EXPECT_EQ(shown[1].text, "1 records was not pasted due to an error!");
    // Written for good when the paste returns: another connection sees both records.
    EXPECT_EQ(testsupport::queryRows(to.path, QStringLiteral("SELECT TITLE FROM NOTES")).size(), 2);
    EXPECT_EQ(to.Records({QStringLiteral("TITLE"), QStringLiteral("PAGES")}),
              (QStringList{QStringLiteral("first|1"), QStringLiteral("third|3")}));
    EXPECT_EQ(to.table.State(), dsBrowse);
    EXPECT_TRUE(to.grid.isEnabled());

    // A dataset that cannot be changed refuses every record.
    ui->clear();
    to.table.Close();
    to.table.SetTableType(4);
    to.table.Open();
    Answer({0});
    to.grid.PasteClick();
    EXPECT_EQ(ui->messageTexts().back(), "3 records was not pasted due to an error!");
}

TEST_F(GridClipboard, ProgressCountsEveryRecordTriedUpToTheLast)
{
    // The paste window is brought up to date from these calls: a failed
    // record counts as done too, so the last call always reaches the total.
    MakeNotes(to, QStringLiteral("to.mdb"));
    std::vector<std::pair<int, int>> calls;
    const TPasteResult result = AppendRecords(
        to.table, {QStringLiteral("first"), QString(), QStringLiteral("third")},
        [&](const QString& line) { to.table.FieldByName(QStringLiteral("TITLE"))->SetText(line); },
        [&](int done, int total) { calls.emplace_back(done, total); });
    EXPECT_EQ(result.Appended, 2);
    EXPECT_EQ(result.Failed, 1);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
}

TEST_F(GridClipboard, DeclinedQuestionsAndPicturesChangeNothing)
{
    MakeNotes(from, QStringLiteral("from.mdb"),
              {QStringLiteral("INSERT INTO NOTES (TITLE) VALUES ('one')"),
               QStringLiteral("INSERT INTO NOTES (TITLE) VALUES ('two')")});
    PutText(QStringLiteral("untouched"));
    Answer({1});
    from.grid.CutClick();
    EXPECT_EQ(Clipboard().text(), "untouched");
    EXPECT_EQ(from.Records({QStringLiteral("TITLE")}).size(), 2);

    PutText(QStringLiteral("\tthree\r\n"));
    Answer({2});
    from.grid.PasteClick();
    EXPECT_EQ(from.Records({QStringLiteral("TITLE")}).size(), 2);

    ui->clear();
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    Clipboard().setImage(picture);
    from.grid.PasteClick();
    EXPECT_TRUE(ui->messages().empty());
    EXPECT_EQ(from.Records({QStringLiteral("TITLE")}).size(), 2);
}

TEST_F(GridClipboard, CutAnnouncesItsRecordsCopiesThemAndDeletesThem)
{
    MakeNotes(from, QStringLiteral("from.mdb"),
              {QStringLiteral("INSERT INTO NOTES (TITLE) VALUES ('one')"),
               QStringLiteral("INSERT INTO NOTES (TITLE) VALUES ('two')"),
               QStringLiteral("INSERT INTO NOTES (TITLE) VALUES ('three')"),
               QStringLiteral("INSERT INTO NOTES (TITLE) VALUES ('four')")});
    from.GoTo(1);
    Answer({0, 0});
    from.grid.CutClick();
    EXPECT_EQ(ui->messageTexts(), (QStringList{Question(QStringLiteral("cut"), 1), QStringLiteral("Datensatz löschen?")}));
    EXPECT_EQ(Clipboard().text(), "2\ttwo\t\t\t\t\r\n");
    EXPECT_EQ(from.Records({QStringLiteral("TITLE")}),
              (QStringList{QStringLiteral("one"), QStringLiteral("three"), QStringLiteral("four")}));

    // One selected row that is not the current one: that row goes.
    from.grid.SetOptions(from.grid.Options() | dgMultiSelect);
    from.GoTo(0);
    from.grid.SelectedRows().SetCurrentRowSelected(true);
    from.GoTo(2);
    ui->clear();
    Answer({0, 0});
    from.grid.CutClick();
    EXPECT_EQ(Clipboard().text(), "1\tone\t\t\t\t\r\n");
    EXPECT_EQ(from.Records({QStringLiteral("TITLE")}), (QStringList{QStringLiteral("three"), QStringLiteral("four")}));
}

TEST_F(GridClipboard, CopyLeavesTheCurrentRecordAndTheScrollPositionAsTheyWere)
{
    QStringList inserts;
    for (int i = 1; i <= 120; ++i)
        inserts << QStringLiteral("INSERT INTO NOTES (TITLE, PAGES) VALUES ('n%1', %1)").arg(i);
    MakeNotes(from, QStringLiteral("from.mdb"), inserts);
    from.grid.SetOptions(from.grid.Options() | dgMultiSelect);
    for (int row : {2, 5})
        from.grid.SelectedRows().Select(from.grid.Model().RowBookmark(row), true);
    from.GoTo(90);
    from.grid.SetSelectedIndex(3);
    const int scrolled = from.grid.verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);

    from.grid.CopyClick();
    EXPECT_EQ(Clipboard().text(), "3\tn3\t\t\t\t3\r\n6\tn6\t\t\t\t6\r\n");
    EXPECT_EQ(from.table.FieldByName(QStringLiteral("PAGES"))->AsInteger(), 91);
    EXPECT_EQ(from.grid.verticalScrollBar()->value(), scrolled);
    EXPECT_EQ(from.grid.SelectedIndex(), 3);
    EXPECT_EQ(from.grid.SelectedRows().Count(), 2);
    EXPECT_TRUE(from.grid.isEnabled());
}

TEST_F(GridClipboard, ShortcutsCopyAndPasteBetweenTheGrids)
{
    MakeNotes(from, QStringLiteral("from.mdb"), {QStringLiteral("INSERT INTO NOTES (TITLE, PAGES) VALUES ('keyed', 5)")});
    MakeNotes(to, QStringLiteral("to.mdb"), {QStringLiteral("INSERT INTO NOTES (TITLE) VALUES ('there')")});
    // Keys go where the focus is: Select All must leave it on the grid.
    from.grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&from.grid));
    from.grid.setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(from.grid.SelectedRows().Count(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(Clipboard().mimeData()->hasFormat(HexRecordsetMimeType()));
    Answer({0});
    QTest::keyClick(&to.grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(to.Records({QStringLiteral("TITLE"), QStringLiteral("PAGES")}),
              (QStringList{QStringLiteral("there|"), QStringLiteral("keyed|5")}));
}

TEST_F(GridClipboard, SpreadsheetTextWithATitleLineAppendsTypedRows)
{
    MakeNotes(to, QStringLiteral("to.mdb"));
    to.grid.SetFindFieldsOnPaste(true);
    // As LibreOffice Calc puts a range on the clipboard: UTF-8 text with line
    // feeds, a cell holding a line break or quotes in quotes, the title row
    // copied with the data, and its other formats beside the text.
    const QString calc = QStringLiteral("Pages\tTitle\tDay\tPrice\tBody\n"
                                        "12\tFaust\t07/03/2004\t19.90\t\"Teil 1\nTeil 2\"\n"
                                        "7\t\"Der \"\"Zauberberg\"\"\"\t12/24/1924 18:30:00\t8\t\n");
    PutText(calc, [](QMimeData& data) {
        data.setData(QStringLiteral("text/html"), "<table><tr><td>Pages</td></tr></table>");
        data.setData(QStringLiteral("application/x-openoffice-biff-8;windows_formatname=\"Biff8\""), "BIFF");
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::white);
        data.setImageData(picture);
    });
    Answer({0});
    to.grid.PasteClick();
    EXPECT_EQ(ui->messageTexts(), QStringList{Question(QStringLiteral("paste"), 2)});
    EXPECT_EQ(to.Records(Fields()),
              (QStringList{QStringLiteral("Faust|Teil 1\r\nTeil 2|2004-07-03T00:00:00|19.9|12"),
                           QStringLiteral("Der \"Zauberberg\"||1924-12-24T18:30:00|8|7")}));
    EXPECT_EQ(to.table.FieldByName(QStringLiteral("PRICE"))->DataType(), ftCurrency);
}

TEST_F(GridClipboard, CatalogueRowsFromAnAccessFilePasteIntoAnEngineTable)
{
    // The genuine catalogue, read through libmdb: texts with umlauts, quotes
    // and characters beyond Latin-1 (€, ‚‘), numbers, currency, yes/no, dates.
    const QString catalogue = dir.copyFixture(QStringLiteral("catalogue/veltrano.mdb"));
    testsupport::createDatabase(
        dir.file(QStringLiteral("to.mdb")),
        {QStringLiteral("CREATE TABLE TITEL (Buchungsnummer LONG, HAUPTTITEL TEXT(255), HAUPTEINTRAG TEXT(50), "
                        "VERLAG TEXT(100), JAHR SHORT, ERFASST DATETIME)"),
         QStringLiteral("CREATE TABLE EXEMPLAR (EXEMPLARNUMMER LONG, TITEL LONG, STANDORT TEXT(30), "
                        "PREIS CURRENCY, AUSGELIEHEN BIT)")});
    const std::vector<std::pair<QString, QStringList>> tables{
        {QStringLiteral("TITEL"),
         QStringLiteral("Buchungsnummer,HAUPTTITEL,HAUPTEINTRAG,VERLAG,JAHR,ERFASST").split(QLatin1Char(','))},
        {QStringLiteral("EXEMPLAR"),
         QStringLiteral("EXEMPLARNUMMER,TITEL,STANDORT,PREIS,AUSGELIEHEN").split(QLatin1Char(','))}};
    from.Open(catalogue, QStringLiteral("TITEL"));
    to.Open(dir.file(QStringLiteral("to.mdb")), QStringLiteral("TITEL"));
    for (const auto& [table, fields] : tables) {
        SCOPED_TRACE(table.toStdString());
        for (Side* side : {&from, &to}) {
            side->table.Close();
            side->table.SetTableName(table);
            side->table.Open();
        }
        from.grid.SelectAllClick();
        from.grid.CopyClick();
        ui->clear();
        Answer({0});
        to.grid.PasteClick();
        const QStringList source = from.Records(fields);
        EXPECT_EQ(ui->messageTexts(), QStringList{Question(QStringLiteral("paste"), int(source.size()))});
        EXPECT_EQ(to.Records(fields), source);
    }
}
