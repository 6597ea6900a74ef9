// The export dialog and the export button over the sample catalogue, driven
// by clicks and keys; every written file is read back by a reader of its own.
#include "daoui/DatasetDialogs.h"
#include "daoui/ExportRun.h"
#include "daoui/TSAS.h"
#include "daoui/TVoDaoDBGrid.h"
#include "daoui/TVoDaoExportButton.h"
#include "daoui/TVoHRollForm.h"
#include "tests/daoui/DialogTestSupport.h"
#include "tests/support/EngineRows.h"
#include "tests/support/ExternalReaders.h"
#include "tests/support/ParadoxReader.h"
#include "ui_TSAS.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionViewItem>

using namespace daouitest;

namespace {

using Dialog = TSAS;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void clickType(Dialog& d, const QString& entry)
{
    const auto found = d.ui->ListBox1->findItems(entry, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << entry.toStdString();
    d.ui->ListBox1->scrollToItem(found.front());
    clickRow(d.ui->ListBox1, d.ui->ListBox1->row(found.front()));
}

// Rolls the column panel out with a click on its grip and waits for it.
void rollOut(Dialog& d)
{
    TVoHRollForm* panel = d.ui->VoHRollForm1;
    QTest::mouseClick(panel->Grip(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panel->Rolling(); }));
}

// A click on the check box of a column entry.
void toggleColumn(Dialog& d, const QString& caption)
{
    QListWidget* list = d.ui->CheckListBox1;
    const auto found = list->findItems(caption, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << caption.toStdString();
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = list->visualItemRect(found.front());
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
}

QStringList checkedColumns(const Dialog& d)
{
    QStringList checked;
    for (int i = 0; i < d.ui->CheckListBox1->count(); ++i)
        if (d.ui->CheckListBox1->item(i)->checkState() == Qt::Checked)
            checked << d.ui->CheckListBox1->item(i)->text();
    return checked;
}

struct Exporting : Catalogue {
    Exporting()
    {
        QDir(dir.path()).mkdir("REPORTS");
        openAllCopies();
    }

    void useVersion(const QString& version)
    {
        table.Close();
        db.SetConnected(false);
        db.SetVersion(version);
        db.SetConnected(true);
        openAllCopies();
    }
    void saveAs(const QString& path) { ui->fileAnswers.push_back(FileDialogResult{path, 1}); }
    // The request of the last save dialog.
    FileDialogRequest lastSaveDialog() const
    {
        for (auto s = ui->shown.rbegin(); s != ui->shown.rend(); ++s)
            if (s->kind == RecordingInteraction::Shown::Kind::FileDialog)
                return s->file;
        return {};
    }
    // The rows of the dataset as text, with the fields named.
    QJsonArray rows(const QStringList& fields)
    {
        QJsonArray result;
        for (table.First(); !table.Eof(); table.Next()) {
            QJsonArray row;
            for (const QString& f : fields)
                row.append(table.FieldByName(f)->AsString());
            result.append(row);
        }
        return result;
    }
    // The documented rows of every copy, in the columns named (0 number,
    // 1 title, 2 author): what a database holds after the export.
    static QJsonArray documentedRows(const QList<int>& columns)
    {
        QJsonArray result;
        for (const QJsonValue& row : testsupport::expectedCatalogueQueries()["alle"].toObject()["rows"].toArray()) {
            QJsonArray picked;
            for (int c : columns)
                picked.append(row.toArray()[c]);
            result.append(picked);
        }
        return result;
    }
    bool allVisible() const
    {
        for (int i = 0; i < table.FieldCount(); ++i)
            if (!table.Fields()[i]->Visible())
                return false;
        return true;
    }
};

} // namespace

TEST_F(Exporting, TheTypesListFollowsTheEngineVersionAndEachTypeEnablesItsOptions)
{
    useVersion("3.6");
    table.FieldByName("TITEL")->SetDisplayLabel("Titel des Buches");
    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.windowTitle(), "Export data to an external database or data file:");
        TVoHRollForm* panel = d.ui->VoHRollForm1;
        const int rolledIn = 586 - panel->FullWidth() + panel->GripWidth();
        EXPECT_EQ(d.size(), QSize(rolledIn, 267)) << "the column panel starts rolled in";
        EXPECT_TRUE(panel->RolledUp());
        EXPECT_EQ(itemTexts(d.ui->ListBox1),
                  (QStringList{"MS Excel 3.0", "MS Excel 4.0", "MS Excel 5.0", "MS Excel 8.0", "Paradox 3.X",
                               "Paradox 4.X", "Paradox 5.X", "Paradox 7.X", "dBase III", "dBase IV", "dBase 5.0",
                               "HTML", "Text", "MS Access"}));
        EXPECT_EQ(d.ui->ListBox1->currentRow(), 0);
        EXPECT_EQ(d.focusWidget(), d.ui->ListBox1);
        EXPECT_EQ(d.ui->ComboBox1->currentText(), "ANSI");
        EXPECT_EQ(d.ui->ComboBox1->count(), 4);
        EXPECT_EQ(d.ui->ComboBox1->itemText(3), "850");
        EXPECT_EQ(d.ui->ComboBox2->currentText(), "Semicolon Delimited");
        EXPECT_EQ(checkedColumns(d), (QStringList{"BUCHNR", "Titel des Buches", "AUTOR"}));
        EXPECT_TRUE(d.ui->Edit2->isEnabled());
        EXPECT_FALSE(d.ui->Edit3->isEnabled());
        EXPECT_FALSE(d.ui->GroupBox2->isEnabled());

        clickType(d, "HTML");
        EXPECT_TRUE(d.ui->ComboBox1->isEnabled() && d.ui->ComboBox2->isEnabled() && d.ui->CheckBox3->isEnabled());
        EXPECT_FALSE(d.ui->Edit2->isEnabled());
        clickType(d, "MS Access");
        EXPECT_TRUE(d.ui->Edit3->isEnabled() && d.ui->Label5->isEnabled());
        EXPECT_FALSE(d.ui->GroupBox2->isEnabled());
        // Keys move the selection and the options follow.
        QTest::keyClick(d.ui->ListBox1, Qt::Key_Up);
        EXPECT_EQ(d.ui->ListBox1->currentItem()->text(), "Text");
        EXPECT_TRUE(d.ui->GroupBox2->isEnabled());
        EXPECT_FALSE(d.ui->Edit3->isEnabled());
        QTest::keyClick(&d, Qt::Key_F, Qt::AltModifier);
        EXPECT_EQ(d.focusWidget(), d.ui->ComboBox2);
        QTest::keyClick(d.ui->ComboBox2, Qt::Key_End);
        EXPECT_TRUE(d.ui->Edit1->isVisible()) << "Fixed Length shows the column width";
        EXPECT_EQ(d.ui->Edit1->text(), "40");
        QTest::keyClick(d.ui->ComboBox2, Qt::Key_Up);
        EXPECT_FALSE(d.ui->Edit1->isVisible());
        clickType(d, "Paradox 5.X");
        for (QWidget* w : std::initializer_list<QWidget*>{d.ui->Edit2, d.ui->Edit3, d.ui->GroupBox2, d.ui->ComboBox1})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();

        // The grip rolls the panel out, widening the dialog, and in again.
        rollOut(d);
        EXPECT_EQ(d.width(), 586);
        EXPECT_TRUE(d.ui->CheckListBox1->isVisible());
        rollOut(d);
        EXPECT_EQ(d.width(), rolledIn);
        QTest::mouseClick(d.ui->Button2, Qt::LeftButton);
    });
    EXPECT_FALSE(ExecuteExportDialog(table, QString()));
    EXPECT_EQ(dialogsShown(), QStringList{"TSAS"});
    EXPECT_TRUE(ui->fileAnswers.empty() && lastSaveDialog().filter.isEmpty()) << "Close asks for no file";
}

TEST_F(Exporting, AnUncheckedColumnIsLeftOutOfTheFileAndVisibleAgainAfterwards)
{
    const QString file = dir.file("REPORTS/liste.txt");
    saveAs(file);
    answer<Dialog>([this](Dialog& d) {
        clickType(d, "Text");
        // Alt+S goes to the column list, which rolls the panel out.
        QTest::keyClick(&d, Qt::Key_S, Qt::AltModifier);
        EXPECT_EQ(d.focusWidget(), d.ui->CheckListBox1);
        EXPECT_FALSE(d.ui->VoHRollForm1->RolledUp());
        EXPECT_TRUE(QTest::qWaitFor([&] { return d.width() == 586; }));
        QTest::keyClick(d.ui->CheckListBox1, Qt::Key_Down);
        QTest::keyClick(d.ui->CheckListBox1, Qt::Key_Space);
        EXPECT_EQ(checkedColumns(d), (QStringList{"BUCHNR", "AUTOR"}));
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
        EXPECT_TRUE(table.FieldByName("TITEL")->Visible()) << "visible again when the dialog closes";
    });
    EXPECT_TRUE(ExecuteExportDialog(table, dir.file("REPORTS")));
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join('\n').toStdString();

    const FileDialogRequest asked = lastSaveDialog();
    EXPECT_EQ(asked.kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(asked.filter, "Text files(*.txt)|*.txt|All files (*.*)|*.*");
    EXPECT_EQ(asked.filterIndex, 1);
    EXPECT_EQ(asked.defaultExt, "txt");
    EXPECT_EQ(asked.initialDir, dir.file("REPORTS"));
    EXPECT_FALSE(asked.overwritePrompt);

    QJsonArray expected = rows({"BUCHNR", "AUTOR"});
    expected.prepend(QJsonArray{"BUCHNR", "AUTOR"});
    EXPECT_EQ(testsupport::csvRows(file, ";"), expected);
    EXPECT_TRUE(allVisible());
    const QByteArray ini = readAll(dir.file("REPORTS/schema.ini"));
    EXPECT_TRUE(ini.contains("[liste.txt]\r\nColNameHeader=True\r\nFormat=Delimited(;)\r\nCharacterSet=ANSI\r\n"))
        << ini.toStdString();
}

TEST_F(Exporting, FixedLengthTextGetsTheWidthForColumnsThatHaveNone)
{
    const QString file = dir.file("fest.txt");
    saveAs(file);
    answer<Dialog>([](Dialog& d) {
        clickType(d, "Text");
        QTest::mouseClick(d.ui->CheckBox3, Qt::LeftButton); // no field names
        d.ui->ComboBox2->setFocus();
        QTest::keyClick(d.ui->ComboBox2, Qt::Key_End);
        d.ui->Edit1->setFocus();
        d.ui->Edit1->selectAll();
        QTest::keyClicks(d.ui->Edit1, "x40");
        EXPECT_EQ(d.ui->Edit1->text(), "40") << "a width is a number";
        QTest::keyClick(d.ui->Edit1, Qt::Key_Return);
    });
    EXPECT_TRUE(ExecuteExportDialog(table, QString()));
    EXPECT_TRUE(lastSaveDialog().initialDir.isEmpty());

    const QByteArray ini = readAll(dir.file("schema.ini"));
    EXPECT_TRUE(ini.contains("ColNameHeader=False\r\nFormat=FixedLength\r\n")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("Col1=BUCHNR Integer Width 40\r\n")) << "the number had no width";
    EXPECT_TRUE(ini.contains("Col2=TITEL Char Width 255\r\nCol3=AUTOR Char Width 50\r\n")) << "text keeps its own";
    // The reader drops the blanks that fill each field, trailing ones of the values included.
    QJsonArray expected;
    for (const QJsonValue& row : rows({"BUCHNR", "TITEL", "AUTOR"})) {
        QJsonArray trimmed;
        for (const QJsonValue& value : row.toArray())
            trimmed.append(value.toString().remove(QRegularExpression(" +$")));
        expected.append(trimmed);
    }
    EXPECT_EQ(testsupport::fixedWidthRows(file, {40, 255, 50}), expected);
}

TEST_F(Exporting, HtmlIsAlwaysDescribedAsHtmlAndWrittenInTheChosenCodePage)
{
    const QString file = dir.file("REPORTS/liste.htm");
    saveAs(file);
    answer<Dialog>([](Dialog& d) {
        clickType(d, "Text");
        d.ui->ComboBox2->setFocus();
        QTest::keyClick(d.ui->ComboBox2, Qt::Key_Down); // Tab Delimited
        d.ui->ComboBox1->setFocus();
        QTest::keyClick(d.ui->ComboBox1, Qt::Key_Down);
        QTest::keyClick(d.ui->ComboBox1, Qt::Key_Down); // 1252
        clickType(d, "HTML");
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
    });
    EXPECT_TRUE(ExecuteExportDialog(table, QString()));
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join('\n').toStdString();
    EXPECT_EQ(lastSaveDialog().filter, "HTML files(*.htm)|*.htm|All files (*.*)|*.*");
    EXPECT_EQ(lastSaveDialog().defaultExt, "htm");
    const QByteArray ini = readAll(dir.file("REPORTS/schema.ini"));
    EXPECT_TRUE(ini.contains("[liste.htm]\r\nColNameHeader=True\r\nMaxScanRows=0\r\nFormat=HTML\r\nCharacterSet=1252\r\n"))
        << ini.toStdString();
    QJsonArray expected = rows({"BUCHNR", "TITEL", "AUTOR"});
    expected.prepend(QJsonArray{"BUCHNR", "TITEL", "AUTOR"});
    EXPECT_EQ(testsupport::htmlTableRows(file), expected) << "read in the code page the page declares";
}

TEST_F(Exporting, EachFileTypeWritesTheFormatItNames)
{
    useVersion("3.6");
    const int count = table.RecordCount();
    struct Case {
        const char* entry;
        const char* file;
        int version; // as the format's reader tells it
    };
    const Case cases[] = {{"MS Excel 3.0", "b3.xls", 30}, {"MS Excel 4.0", "b4.xls", 40}, {"MS Excel 5.0", "b5.xls", 50},
                          {"MS Excel 8.0", "b8.xls", 80}, {"Paradox 3.X", "p3.db", 30},  {"Paradox 4.X", "p4.db", 40},
                          {"Paradox 5.X", "p5.db", 50},   {"Paradox 7.X", "p7.db", 70},  {"dBase III", "d3.dbf", 0x57},
                          {"dBase IV", "d4.dbf", 0x57},   {"dBase 5.0", "d5.dbf", 0x57}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        const QString file = dir.file(c.file);
        saveAs(file);
        answer<Dialog>([&](Dialog& d) {
            clickType(d, c.entry);
            d.ui->Edit2->setFocus();
            d.ui->Edit2->selectAll();
            QTest::keyClicks(d.ui->Edit2, "Fehlend");
            QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
        });
        ASSERT_TRUE(ExecuteExportDialog(table, QString()));
        ASSERT_TRUE(ui->messages().empty()) << ui->messageTexts().join('\n').toStdString();
        const QString extension = QString(c.file).section('.', 1);
        EXPECT_TRUE(lastSaveDialog().filter.contains(QStringLiteral("(*.%1)|*.%1|").arg(extension)));
        EXPECT_EQ(lastSaveDialog().defaultExt, extension);
        if (extension == "xls") {
            const QJsonObject book = testsupport::xlrdWorkbook(file);
            EXPECT_EQ(book["biff"].toInt(), c.version);
            EXPECT_EQ(book["rows"].toArray().size(), count + 1);
            if (c.version >= 50) {
                EXPECT_EQ(book["sheets"].toArray(), QJsonArray{"Fehlend"}) << "the sheet name typed";
            }
        } else if (extension == "db") {
            const testsupport::ParadoxTable paradox = testsupport::readParadox(file);
            EXPECT_EQ(paradox.fileVersion, c.version);
            EXPECT_EQ(paradox.rows.size(), count);
        } else {
            // dBase III marks ANSI text as 0x03, dBase IV and 5.0 as 0x57.
            const QJsonObject dbf = testsupport::dbfTable(file);
            EXPECT_EQ(dbf["codepage"].toInt(), QString(c.entry) == "dBase III" ? 0x03 : c.version);
            EXPECT_EQ(dbf["rows"].toArray().size(), count);
        }
    }
}

TEST_F(Exporting, AnEngineOfVersion35OffersFoxProAndWritesAFoxPro30Table)
{
    const QString file = dir.file("fox.dbf");
    saveAs(file);
    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.ui->ListBox1->item(7)->text(), "FoxPro 3.X");
        clickType(d, "FoxPro 3.X");
        QTest::keyClick(&d, Qt::Key_E, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !d.isVisible(); })) << "Alt+E pressed the button";
    });
    EXPECT_TRUE(ExecuteExportDialog(table, QString()));
    EXPECT_EQ(lastSaveDialog().filter, "FoxPro 3.0 files (*.dbf)|*.dbf|All files (*.*)|*.*");
    EXPECT_EQ(lastSaveDialog().defaultExt, "dbf");
    const QJsonObject fox = testsupport::dbfTable(file);
    EXPECT_EQ(fox["version"].toInt(), 0x30) << "a FoxPro 3.0 table";
    QJsonArray names;
    for (const QJsonValue& n : fox["fields"].toArray())
        names.append(n.toString().toUpper());
    EXPECT_EQ(names, (QJsonArray{"BUCHNR", "TITEL", "AUTOR"}));
    QJsonArray written = fox["rows"].toArray();
    ASSERT_EQ(written.size(), table.RecordCount());
    table.Locate("BUCHNR", 4, {});
    EXPECT_EQ(written[3].toArray()[1].toString(), table.FieldByName("TITEL")->AsString());
}

TEST_F(Exporting, AccessTargetsAreMadeOrHaveTheirTableReplaced)
{
    const QString file = dir.file("ziel.mdb");
    auto exportToAccess = [&](const QString& tableName, const char* uncheck) {
        saveAs(file);
        answer<Dialog>([&](Dialog& d) {
            clickType(d, "MS Access");
            QTest::keyClick(&d, Qt::Key_A, Qt::AltModifier);
            EXPECT_EQ(d.focusWidget(), d.ui->Edit3);
            d.ui->Edit3->selectAll();
            QTest::keyClicks(d.ui->Edit3, tableName);
            if (uncheck) {
                rollOut(d);
                toggleColumn(d, uncheck);
            }
            QTest::keyClick(d.ui->Edit3, Qt::Key_Return);
        });
        EXPECT_TRUE(ExecuteExportDialog(table, QString()));
        EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join('\n').toStdString();
    };

    exportToAccess("Fehlend", nullptr);
    EXPECT_EQ(lastSaveDialog().filter, "MS Access files(*.mdb)|*.mdb|All files (*.*)|*.*");
    // The file alone holds the table, while the program still has it open.
    ASSERT_TRUE(QFile::copy(file, dir.file("kopie.mdb")));
    EXPECT_EQ(testsupport::sqliteRows(dir.file("kopie.mdb"), "SELECT BUCHNR, TITEL, AUTOR FROM Fehlend ORDER BY BUCHNR"),
              documentedRows({0, 1, 2}))
        << "a new database with the table";
    exportToAccess("Andere", "AUTOR");
    exportToAccess("Fehlend", "TITEL");
    EXPECT_EQ(testsupport::sqliteRows(file, "SELECT * FROM Fehlend ORDER BY BUCHNR"), documentedRows({0, 2}))
        << "the existing table replaced";
    EXPECT_EQ(testsupport::sqliteRows(file, "SELECT * FROM Andere ORDER BY BUCHNR"), documentedRows({0, 1}));
    EXPECT_TRUE(allVisible());

    // A file made again under the same name is the one written.
    ASSERT_TRUE(QFile::remove(file));
    exportToAccess("Neu", nullptr);
    EXPECT_EQ(testsupport::sqliteRows(file, "SELECT name FROM sqlite_master WHERE name IN ('Neu', 'Fehlend')"),
              QJsonArray{QJsonArray{"Neu"}});
}

TEST_F(Exporting, AFailedExportKeepsTheDialogTheOldFileAndTheFieldsAsTheyWere)
{
    const QString file = dir.file("alt.txt");
    dir.write("alt.txt", "alt\r\n");
    const QString access = dir.file("neu.mdb");
    answer<Dialog>([&](Dialog& d) {
        clickType(d, "Text");
        QTest::mouseClick(d.ui->CheckBox2, Qt::LeftButton); // no overwriting
        rollOut(d);
        toggleColumn(d, "TITEL");
        saveAs(file);
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
        EXPECT_TRUE(d.isVisible()) << "open for another try";
        EXPECT_EQ(ui->messageTexts(), QStringList{"Table 'alt#txt' already exists."});
        EXPECT_TRUE(table.FieldByName("TITEL")->Visible());
        EXPECT_EQ(readAll(file), "alt\r\n");

        // Nothing left to export: refused before the old file is touched.
        QTest::mouseClick(d.ui->CheckBox2, Qt::LeftButton);
        toggleColumn(d, "BUCHNR");
        toggleColumn(d, "AUTOR");
        saveAs(file);
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(ui->messages().size(), 2u);
        EXPECT_EQ(readAll(file), "alt\r\n");
        EXPECT_TRUE(allVisible());
        // A new Access database is not left behind by a failed export.
        clickType(d, "MS Access");
        saveAs(access);
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
        EXPECT_EQ(ui->messages().size(), 3u);
        EXPECT_FALSE(QFile::exists(access));
        // A spreadsheet without a sheet name: nothing happens.
        clickType(d, "MS Excel 8.0");
        toggleColumn(d, "AUTOR");
        d.ui->Edit2->clear();
        saveAs(dir.file("leer.xls"));
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(ui->messages().size(), 3u);
        EXPECT_FALSE(QFile::exists(dir.file("leer.xls")));
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_FALSE(ExecuteExportDialog(table, QString()));
    EXPECT_TRUE(allVisible());
}

TEST_F(Exporting, AllFieldsExportsEveryFieldAndOffersNoColumnChoice)
{
    table.FieldByName("AUTOR")->SetVisible(false);
    table.ExportMethod = AllFields;
    const QString file = dir.file("alle.htm");
    saveAs(file);
    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(itemTexts(d.ui->CheckListBox1), (QStringList{"BUCHNR", "TITEL"})) << "the visible fields";
        EXPECT_FALSE(d.ui->VoHRollForm1->isEnabled());
        QTest::mouseClick(d.ui->VoHRollForm1->Grip(), Qt::LeftButton);
        EXPECT_TRUE(d.ui->VoHRollForm1->RolledUp()) << "a disabled panel stays rolled in";
        clickType(d, "HTML");
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
    });
    EXPECT_TRUE(ExecuteExportDialog(table, QString()));
    EXPECT_EQ(testsupport::htmlTableRows(file).first(), (QJsonArray{"BUCHNR", "TITEL", "AUTOR"}));
    EXPECT_FALSE(table.FieldByName("AUTOR")->Visible());
}

TEST_F(Exporting, AGridsColumnsAreListedAndEachFieldGetsItsVisibilityBack)
{
    // As the grid hands its columns over: its hidden column's field hidden.
    table.FieldByName("TITEL")->SetVisible(false);
    const TExportGridColumns columns{{"Nummer", true, "BUCHNR"}, {"Titel", false, "TITEL"}, {"Autor", true, "AUTOR"},
                                     {"Notiz", true, ""}};
    const QString file = dir.file("raster.txt");
    saveAs(file);
    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(itemTexts(d.ui->CheckListBox1), (QStringList{"Nummer", "Titel", "Autor", "Notiz"}));
        EXPECT_EQ(checkedColumns(d), (QStringList{"Nummer", "Autor", "Notiz"}));
        clickType(d, "Text");
        rollOut(d);
        toggleColumn(d, "Titel");
        toggleColumn(d, "Autor");
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
    });
    EXPECT_TRUE(ExecuteExportDialogForGrid(table, columns, dir.path()));
    EXPECT_EQ(lastSaveDialog().initialDir, dir.path());
    EXPECT_EQ(testsupport::csvRows(file, ";").first(), (QJsonArray{"BUCHNR", "TITEL"})) << "as checked";
    EXPECT_FALSE(table.FieldByName("TITEL")->Visible());
    EXPECT_TRUE(table.FieldByName("AUTOR")->Visible());
}

TEST_F(Exporting, TheGridsSaveAsOpensTheDialogOnItsColumns)
{
    TVoDaoDBGrid grid;
    grid.Columns().Add("BUCHNR").Title.Caption = "Nummer";
    grid.Columns().Add("TITEL").Visible = false;
    grid.Columns().Add("AUTOR");
    grid.SetDataSource(&source);
    grid.SetDefaultExportDir(dir.file("REPORTS"));
    grid.resize(400, 300);
    grid.show();
    const QString file = dir.file("REPORTS/raster.htm");
    saveAs(file);
    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(itemTexts(d.ui->CheckListBox1), (QStringList{"Nummer", "TITEL", "AUTOR"}));
        EXPECT_EQ(checkedColumns(d), (QStringList{"Nummer", "AUTOR"})) << "the hidden column unchecked";
        clickType(d, "HTML");
        rollOut(d);
        toggleColumn(d, "TITEL");
        toggleColumn(d, "AUTOR");
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
    });
    QTest::keyClick(&grid, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogsShown(), QStringList{"TSAS"});
    EXPECT_EQ(lastSaveDialog().initialDir, dir.file("REPORTS"));
    EXPECT_EQ(testsupport::htmlTableRows(file).first(), (QJsonArray{"BUCHNR", "TITEL"}));
    EXPECT_TRUE(allVisible()) << "the fields' own settings are back";
}

TEST_F(Exporting, TheButtonNeedsAnOpenDatasetWithRecordsAndRunsItsClickInOrder)
{
    TVoDaoExportButton button;
    EXPECT_EQ(button.text(), "Export");
    EXPECT_FALSE(button.isEnabled()) << "no data source";
    button.SetDataSource(&source);
    button.DefaultExportDir = dir.file("REPORTS");
    button.show();
    EXPECT_TRUE(button.isEnabled());
    table.Close();
    EXPECT_FALSE(button.isEnabled()) << "closed";
    QTest::mouseClick(&button, Qt::LeftButton);
    table.SetSQL(QString(kAllCopies).replace(" ORDER BY", " AND 1 = 0 ORDER BY"));
    table.Open();
    EXPECT_FALSE(button.isEnabled()) << "empty";
    button.Click();
    EXPECT_TRUE(dialogsShown().isEmpty());

    table.Close();
    openAllCopies();
    ASSERT_TRUE(button.isEnabled());
    QStringList order;
    button.OnClick = [&](QObject* sender) {
        EXPECT_EQ(sender, &button);
        order << "click";
    };
    for (const bool before : {true, false}) {
        button.CallBefore = before;
        answer<Dialog>([&](Dialog& d) {
            order << "dialog";
            clickType(d, "HTML");
            QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
            EXPECT_TRUE(d.isVisible()) << "the save dialog was cancelled";
            QTest::mouseClick(d.ui->Button2, Qt::LeftButton);
        });
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(lastSaveDialog().initialDir, dir.file("REPORTS"));
    }
    EXPECT_EQ(order, (QStringList{"click", "dialog", "dialog", "click"}));
    {
        TDataSource passing;
        passing.SetDataSet(&table);
        button.SetDataSource(&passing);
    }
    EXPECT_EQ(button.DataSource(), nullptr) << "the data source went away";
    order.clear();
    button.Click();
    EXPECT_EQ(order, QStringList{"click"}) << "no dialog without a data source";
}

TEST(ExportSchemaEntries, AreWrittenInOrderAndOnlyColumnsWithoutWidthGainOne)
{
    testsupport::TempFolder dir;
    dir.write("schema.ini", "[andere.txt]\r\nFormat=TabDelimited\r\n[liste.txt]\r\nFormat=CSVDelimited\r\n"
                            "Col1=NR Integer\r\nCol2=TITEL Char WIDTH 80\r\nCol3=\"Mit Blank\" Char Width 10\r\n"
                            "Col4=MEMO LongChar\r\n");
    WriteSchemaEntries(dir.file("liste.txt"), {false, "FixedLength", "OEM", "12"}, 3);
    EXPECT_EQ(readAll(dir.file("schema.ini")),
              "[andere.txt]\r\nFormat=TabDelimited\r\n[liste.txt]\r\nFormat=FixedLength\r\nCol1=NR Integer Width 12\r\n"
              "Col2=TITEL Char WIDTH 80\r\nCol3=\"Mit Blank\" Char Width 10\r\nCol4=MEMO LongChar\r\n"
              "ColNameHeader=False\r\nMaxScanRows=0\r\nCharacterSet=OEM\r\n")
        << "columns beyond the dataset's are left alone";
}
