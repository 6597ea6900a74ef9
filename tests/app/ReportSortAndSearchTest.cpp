// The report window's sort button and search panel on the result of a check,
// used with the mouse and the keyboard.
#include "tests/app/MainWindowHarness.h"
#include "ui_TfFehlendeBuecher.h"
#include "ui_TfMain.h"

#include "daoui/TVoDaoSearch.h"
#include "daoui/TVoDaoSortByDialog.h"
#include "framework/data/TField.h"
#include "tests/support/EngineRows.h"
#include "tests/support/ExternalReaders.h"
#include "ui_TVoDaoSortByDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct ReportSortAndSearch : ::testing::Test {
    MainWindowHarness h;
    TfMain* w = nullptr;

    ReportSortAndSearch()
    {
        w = &h.startOnSampleCatalogue();
        h.ui->clear();
    }

    // The rows of the catalogue dataset in its current order, as the HTML file gives them.
    QJsonArray datasetRows()
    {
        QJsonArray rows;
        TVoDaoTable& t = w->TB_Veltrano;
        for (t.First(); !t.Eof(); t.Next())
            rows.append(QJsonArray{t.FieldByName("BUCHNR")->AsString(), t.FieldByName("TITEL")->AsString(),
                                   t.FieldByName("AUTOR")->AsString()});
        return rows;
    }
};

QListWidgetItem* itemNamed(QListWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.front();
}

void click(QListWidget* list, const QString& text)
{
    QListWidgetItem* item = itemNamed(list, text);
    ASSERT_TRUE(item) << text.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

} // namespace

TEST_F(ReportSortAndSearch, AfterAllBooksTheResultIsSortedByTitleAndExportedInThatOrder)
{
    auto& report = *h.report->ui;
    EXPECT_FALSE(report.VoDaoSortByButton1->isEnabled());
    EXPECT_FALSE(report.VoDaoSearch1->isEnabled());
    EXPECT_TRUE(report.VoDaoSortByButton1->CallBefore);
    EXPECT_EQ(report.VoDaoSortByButton1->text(), "&Sortierung der Tabelle...");

    w->ui->btn_AlleDaten->click();
    ASSERT_TRUE(h.report->isVisible());
    EXPECT_TRUE(report.VoDaoSortByButton1->isEnabled());
    EXPECT_TRUE(report.VoDaoSearch1->isEnabled());
    EXPECT_FALSE(report.VoDaoSearch1->IncrementalSearch());

    // Title descending, then number ascending among copies of one title.
    h.ui->dialogAnswers.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<TVoDaoSortByDialog&>(dialog);
        d.show();
        d.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
        click(d.ui->ListBox2, "TITEL");
        d.ui->ComboBox1->setFocus();
        QTest::keyClick(d.ui->ComboBox1, Qt::Key_Down);
        QTest::mouseClick(d.ui->AddBtn, Qt::LeftButton);
        click(d.ui->ListBox2, "BUCHNR");
        QTest::mouseClick(d.ui->AddBtn, Qt::LeftButton);
        // The new row is selected: the combo box turns it ascending.
        QTest::keyClick(d.ui->ComboBox1, Qt::Key_Up);
        QTest::mouseClick(d.ui->OKButton, Qt::LeftButton);
        return d.result();
    });
    QTest::mouseClick(report.VoDaoSortByButton1, Qt::LeftButton);
    ASSERT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join("\n").toStdString();
    EXPECT_EQ(w->TB_Veltrano.SortedBy(), (QStringList{"[TITEL] DESC", "[BUCHNR] ASC"}));

    QDir(h.dir.path()).mkdir("REPORTS");
    const QString file = h.dir.file("REPORTS/Inventur vom 24.12.2026.html");
    h.ui->fileAnswers.push_back(FileDialogResult{file, 1});
    QTest::mouseClick(report.Button1, Qt::LeftButton);
    ASSERT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join("\n").toStdString();

    QJsonArray cells = testsupport::htmlTableRows(file);
    ASSERT_FALSE(cells.isEmpty());
    cells.removeFirst();
    EXPECT_EQ(cells, datasetRows()) << "the file holds the rows in the order of the dataset";
    ASSERT_EQ(cells.size(), 67);
    EXPECT_EQ(cells[0].toArray()[1].toString(), "x^2 und die Parabel");
    EXPECT_EQ(cells[1].toArray()[1].toString(), "Weniger < Mehr");
    EXPECT_EQ(cells[66].toArray()[1].toString(), "") << "copies without a title come last";
    // Every documented row is there.
    QStringList documented, written;
    for (const QJsonValue& row : testsupport::expectedCatalogueQueries()["alle"].toObject()["rows"].toArray())
        documented << QString::number(row.toArray()[0].toInt());
    for (const QJsonValue& row : cells)
        written << row.toArray()[0].toString();
    documented.sort();
    written.sort();
    EXPECT_EQ(written, documented);
}

TEST_F(ReportSortAndSearch, TheSearchPanelMovesTheCurrentRecordWithEnter)
{
    w->ui->btn_AlleDaten->click();
    TVoDaoSearch* panel = h.report->ui->VoDaoSearch1;
    ASSERT_TRUE(panel->isEnabled());
    h.report->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(h.report.get()));
    panel->FieldList->setCurrentIndex(panel->FieldList->findText("TITEL"));
    panel->SearchEdit->setFocus();
    QTest::keyClicks(panel->SearchEdit, "effi");
    EXPECT_EQ(w->TB_Veltrano.RecNo(), 1) << "no search while typing";
    QTest::keyClick(panel->SearchEdit, Qt::Key_Return);
    EXPECT_EQ(w->TB_Veltrano.FieldByName("TITEL")->AsString(), "Effi Briest");
    EXPECT_TRUE(h.report->isVisible()) << "Enter searched; it did not close the window";
    EXPECT_TRUE(h.ui->messages().empty());
}
