// The export dialog and the export button over the sample catalogue, driven
// by clicks and keys; every written file is read back by a reader of its own.
#include "daoui/DatasetDialogs.h"
#include "daoui/ExportRun.h"
#include "daoui/TSAS.h"
#include "daoui/TVoDaoExportButton.h"
#include "daoui/TVoHRollForm.h"
#include "tests/daoui/DialogTestSupport.h"
#include "tests/support/EngineRows.h"
#include "tests/support/ExternalReaders.h"
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
