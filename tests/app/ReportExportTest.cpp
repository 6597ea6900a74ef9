// The report window's export button after a check: the export dialog writes
// the result as a spreadsheet that LibreOffice reads back row for row.
#include "tests/app/MainWindowHarness.h"
#include "ui_TSAS.h"
#include "ui_TfFehlendeBuecher.h"
#include "ui_TfMain.h"

#include "daoui/TSAS.h"
#include "daoui/TVoDaoExportButton.h"
#include "tests/support/EngineRows.h"
#include "tests/support/ExternalReaders.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(ReportExport, AfterACheckTheButtonWritesTheResultAsAnExcel8Workbook)
{
    MainWindowHarness h;
    TfMain* w = &h.startOnSampleCatalogue();
    QDir(h.dir.path()).mkdir("REPORTS");
    TVoDaoExportButton* button = h.report->ui->VoDaoExportButton1;
    EXPECT_EQ(button->text(), "Spe&zial-Export der Daten");
    EXPECT_TRUE(button->CallBefore);
    EXPECT_FALSE(button->isEnabled()) << "no result yet";

    w->ui->btn_AlleDaten->click();
    ASSERT_TRUE(h.report->isVisible());
    ASSERT_TRUE(button->isEnabled());
    h.ui->clear();
    const QString file = h.dir.file("REPORTS/alle.xls");
    h.ui->fileAnswers.push_back(FileDialogResult{file, 1});
    h.ui->dialogAnswers.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<TSAS&>(dialog);
        d.show();
        d.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
        EXPECT_EQ(d.ui->ListBox1->item(7)->text(), "Paradox 7.X") << "the program's engine is version 3.6";
        // Down three times to "MS Excel 8.0", then Enter.
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(d.ui->ListBox1, Qt::Key_Down);
        EXPECT_TRUE(d.ui->Edit2->isEnabled());
        QTest::keyClick(d.ui->ListBox1, Qt::Key_Return);
        return d.result();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join("\n").toStdString();
    ASSERT_EQ(h.ui->shown.size(), 2u);
    EXPECT_EQ(h.ui->shown[1].file.initialDir, h.dir.path() + "REPORTS");
    EXPECT_EQ(h.ui->shown[1].file.filter, "MS Excel 8.0 files (*.xls)|*.xls|All files (*.*)|*.*");

    EXPECT_EQ(testsupport::xlrdWorkbook(file)["sheets"].toArray(), QJsonArray{"Sheet1"});
    const QJsonArray calc = testsupport::libreOfficeRows({file})[file];
    QJsonArray expected{QJsonArray{"BUCHNR", "TITEL", "AUTOR"}};
    for (const QJsonValue& row : testsupport::expectedCatalogueQueries()["alle"].toObject()["rows"].toArray()) {
        const QJsonArray r = row.toArray();
        expected.append(QJsonArray{QString::number(r[0].toInt()), r[1].toString(), r[2].toString()});
    }
    EXPECT_EQ(calc, expected);
}
