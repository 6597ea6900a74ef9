#include "tests/app/MainWindowHarness.h"
#include "ui_TfMain.h"
#include "ui_TfFehlendeBuecher.h"

#include "daoui/TVoDaoDBGrid.h"
#include "framework/data/TField.h"
#include "platform/ProfileFile.h"
#include "tests/support/EngineRows.h"
#include "tests/support/ExternalReaders.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QJsonObject>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A started main window with the sample catalogue and one inventory list.
struct Reports : ::testing::Test {
    MainWindowHarness h;
    TfMain* w = nullptr;
    QStringList reportCaptions; // as shown by each modal run of the report window

    Reports()
    {
        w = &h.startOnSampleCatalogue();
        w->ui->ed_NeueInventur->setText("Inventur vom: 06.12.2026");
        w->ui->Button1->click();
        h.ui->clear();
    }

    void record(int number)
    {
        w->TB_INV.ExecSQL({QStringLiteral("INSERT INTO inventur (NR, Inventurliste) VALUES (%1, %2)")
                               .arg(number)
                               .arg(w->TB_Master.FieldByName("IDX")->AsInteger())});
    }

    // Clicks the missing-books button; the modal report window is shown,
    // its caption read, and closed again.
    void runMissingBooks()
    {
        h.ui->dialogAnswers.push_back([this](QDialog& dialog) {
            dialog.show();
            reportCaptions << dialog.windowTitle();
            dialog.hide();
            return int(QDialog::Rejected);
        });
        w->ui->btn_FehlendeBuecher->click();
    }

    // The result rows of the catalogue dataset as [BUCHNR, TITEL, AUTOR].
    QJsonArray resultRows()
    {
        QJsonArray rows;
        TVoDaoTable& t = w->TB_Veltrano;
        const auto text = [&](const char* name) {
            TField* f = t.FieldByName(name);
            return f->IsNull() ? QJsonValue() : QJsonValue(f->AsString());
        };
        for (t.First(); !t.Eof(); t.Next())
            rows.append(QJsonArray{t.FieldByName("BUCHNR")->AsInteger(), text("TITEL"), text("AUTOR")});
        return rows;
    }

    // The documented result of a query. The dataset holds values as text, so
    // a zero-length text reads as null there, as it does in the dataset.
    static QJsonObject expected(const char* query)
    {
        QJsonObject result = testsupport::expectedCatalogueQueries()[query].toObject();
        QJsonArray rows;
        for (const QJsonValue& row : result["rows"].toArray()) {
            QJsonArray r = row.toArray();
            for (int i = 1; i < r.size(); ++i)
                if (r[i] == QJsonValue(""))
                    r[i] = QJsonValue();
            rows.append(r);
        }
        result["rows"] = rows;
        return result;
    }
};

QJsonArray withoutNumbers(const QJsonArray& rows, const QList<int>& numbers)
{
    QJsonArray kept;
    for (const QJsonValue& row : rows)
        if (!numbers.contains(row.toArray()[0].toInt()))
            kept.append(row);
    return kept;
}

} // namespace

TEST_F(Reports, AnEmptyListMissesEveryCopyAndTheWindowIsPutBackAfterwards)
{
    runMissingBooks();
    ASSERT_EQ(reportCaptions, QStringList{"fehlende Bücher --=[67 angezeigte Datensätze.]=--"});
    EXPECT_EQ(resultRows(), expected("alle")["rows"].toArray());
    EXPECT_EQ(h.ui->beeps(), 1);
    EXPECT_TRUE(h.ui->messages().empty());
    EXPECT_EQ(w->ui->btn_FehlendeBuecher->text(), "fehlende Bücher anzeigen und exportieren");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(h.copyDlg->isVisible());
    EXPECT_EQ(h.copyDlg->Caption(), "Fehlende Bücher werden ermittelt...");
    EXPECT_TRUE(w->TB_Veltrano.Active()) << "the result stays after the window is closed";
}

TEST_F(Reports, RecordedNumbersAreLeftOutAndUnknownNumbersChangeNothing)
{
    for (int nr : {1, 4711, 2147483647, 999999, 5})
        record(nr);
    runMissingBooks();
    EXPECT_EQ(resultRows(), withoutNumbers(expected("alle")["rows"].toArray(), {1, 4711, 2147483647, 5}));
    EXPECT_EQ(reportCaptions, QStringList{"fehlende Bücher --=[63 angezeigte Datensätze.]=--"});

    // Every number of the catalogue recorded: nothing is missing.
    for (const QJsonValue& row : expected("alle")["rows"].toArray())
        if (!QList<int>{1, 4711, 2147483647, 5}.contains(row.toArray()[0].toInt()))
            record(row.toArray()[0].toInt());
    runMissingBooks();
    EXPECT_EQ(reportCaptions.last(), "fehlende Bücher --=[0 angezeigte Datensätze.]=--");
}

TEST_F(Reports, OnlyTheActiveListCounts)
{
    record(1);
    w->ui->ed_NeueInventur->setText("zweite Liste");
    w->ui->Button1->click();
    record(2);
    runMissingBooks();
    EXPECT_EQ(resultRows(), withoutNumbers(expected("alle")["rows"].toArray(), {2}));
}

TEST_F(Reports, WithoutAListTheEngineErrorIsShownAndNothingStaysWaiting)
{
    w->TB_Master.Delete();
    h.ui->clear();
    runMissingBooks();
    EXPECT_TRUE(reportCaptions.isEmpty()) << "the report window is not shown";
    ASSERT_EQ(h.ui->messages().size(), 1u);
    EXPECT_EQ(h.ui->messages()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(w->ui->btn_FehlendeBuecher->text(), "fehlende Bücher anzeigen und exportieren");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(h.copyDlg->isVisible());
}

TEST(ReportsInAQuotedFolder, AProgramFolderWithASingleQuoteStillWorks)
{
    // Build the fixture by hand: the program folder lies below the temporary folder.
    MainWindowHarness h;
    const QString folder = h.dir.path() + "Bücherei 'Nord'/";
    QDir().mkpath(folder);
    h.dir.copyFixture("catalogue/veltrano.mdb");
    h.setCatalogue(h.dir.file("veltrano.mdb"));
    QFile::copy(h.dir.file("Quillstock.ini"), folder + "Quillstock.ini");
    inventory::CreateEmptyInventory(folder + "db_inv.mdb");
    TfMain& w = h.start(folder);
    w.ui->Button1->click();
    w.TB_INV.ExecSQL({"INSERT INTO inventur (NR, Inventurliste) VALUES (1, 1)"});
    h.ui->clear();
    const QString caption = h.reportCaptionAfter(*w.ui->btn_FehlendeBuecher);
    EXPECT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join("\n").toStdString();
    EXPECT_EQ(caption, "fehlende Bücher --=[66 angezeigte Datensätze.]=--");
}

TEST_F(Reports, TheExportWritesTheRowsAndHandsTheFileToTheDesktop)
{
    record(1);
    QDir(h.dir.path()).mkdir("REPORTS");
    const QString file = h.dir.file("REPORTS/Inventur vom 06.12.2026.html");
    h.dir.write("REPORTS/Inventur vom 06.12.2026.html", "an older report");
    h.ui->dialogAnswers.push_back([&](QDialog& dialog) {
        dialog.show();
        // As the dialog returns a name typed with a date in it: no extension added.
        h.ui->fileAnswers.push_back(FileDialogResult{h.dir.file("REPORTS/Inventur vom 06.12.2026"), 1});
        h.report->ui->Button1->click();
        EXPECT_TRUE(dialog.isVisible()) << "the report window stays open";
        dialog.hide();
        return int(QDialog::Rejected);
    });
    w->ui->btn_FehlendeBuecher->click();

    ASSERT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join("\n").toStdString();
    FileDialogRequest request;
    for (const auto& shown : h.ui->shown)
        if (shown.kind == RecordingInteraction::Shown::Kind::FileDialog)
            request = shown.file;
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(request.initialDir, h.dir.path() + "REPORTS");
    EXPECT_EQ(request.fileName, "Inventur vom ");
    EXPECT_EQ(request.defaultExt, "html");
    EXPECT_EQ(request.filter, "HTML-Datei|*.HTML");
    EXPECT_FALSE(request.overwritePrompt);
    EXPECT_EQ(h.ui->documents(), QStringList{file});
    EXPECT_FALSE(h.copyDlg->isVisible());
    EXPECT_EQ(h.copyDlg->Caption(), "Bücher werden gespeichert...");

    QJsonArray cells = testsupport::htmlTableRows(file);
    ASSERT_FALSE(cells.isEmpty());
    EXPECT_EQ(cells[0], (QJsonArray{"BUCHNR", "TITEL", "AUTOR"}));
    cells.removeFirst();
    QJsonArray wanted;
    for (const QJsonValue& row : withoutNumbers(expected("alle")["rows"].toArray(), {1})) {
        const QJsonArray r = row.toArray();
        wanted.append(QJsonArray{QString::number(r[0].toInt()), r[1].toString(), r[2].toString()});
    }
    EXPECT_EQ(cells, wanted) << "the old report is replaced, umlauts intact";
}

TEST_F(Reports, TheReportGetsHtmlOnlyWhenNoExtensionWasTyped)
{
    record(1);
    QDir(h.dir.path()).mkdir("REPORTS");
    h.ui->dialogAnswers.push_back([&](QDialog& dialog) {
        dialog.show();
        for (const char* name : {"REPORTS/x.txt", "REPORTS/Bericht", "REPORTS/Liste.HTM", "REPORTS/Stand 2026.12",
                                 "REPORTS/Ende."}) {
            h.ui->fileAnswers.push_back(FileDialogResult{h.dir.file(name), 1});
            h.report->ui->Button1->click();
        }
        dialog.hide();
        return int(QDialog::Rejected);
    });
    w->ui->btn_FehlendeBuecher->click();
    ASSERT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join("\n").toStdString();
    const QStringList written{h.dir.file("REPORTS/x.txt"), h.dir.file("REPORTS/Bericht.html"),
                              h.dir.file("REPORTS/Liste.HTM"), h.dir.file("REPORTS/Stand 2026.12.html"),
                              h.dir.file("REPORTS/Ende.html")};
    EXPECT_EQ(h.ui->documents(), written);
    for (const QString& file : written)
        EXPECT_FALSE(testsupport::htmlTableRows(file).isEmpty()) << file.toStdString();
}

TEST_F(Reports, AFailedExportIsShownAndOpensNothing)
{
    h.ui->dialogAnswers.push_back([&](QDialog& dialog) {
        dialog.show();
        h.ui->fileAnswers.push_back(FileDialogResult{h.dir.file("kein Ordner/bericht.html"), 1});
        h.report->ui->Button1->click();
        dialog.hide();
        return int(QDialog::Rejected);
    });
    w->ui->btn_FehlendeBuecher->click();
    EXPECT_EQ(h.ui->messages().size(), 1u);
    EXPECT_TRUE(h.ui->documents().isEmpty());
    EXPECT_FALSE(h.copyDlg->isVisible());

    h.ui->clear();
    h.ui->dialogAnswers.push_back([&](QDialog& dialog) {
        dialog.show();
        h.report->ui->Button1->click(); // the save dialog is cancelled
        dialog.hide();
        return int(QDialog::Rejected);
    });
    w->ui->btn_FehlendeBuecher->click();
    EXPECT_TRUE(h.ui->messages().empty());
    EXPECT_TRUE(h.ui->documents().isEmpty());
}

TEST_F(Reports, EachCheckListsItsDocumentedRowsInTheModelessWindow)
{
    const std::pair<QPushButton*, const char*> checks[] = {
        {w->ui->btn_AlleDaten, "alle"},
        {w->ui->btn_OhneTitel, "ohne_titel"},
        {w->ui->btn_OhneAutor, "ohne_autor"},
        {w->ui->btn_GleicherAutTit, "titel_gleich_autor"},
        {w->ui->btn_Sonderzeichen, "sonderzeichen"},
    };
    const QStringList titles{"Alle Bücher in einer Liste", "Bücher ohne Titel", "Bücher ohne Autor",
                             "Titel und Autor gleich", "Bücher mit Sonderzeichen im Titel"};
    int i = 0;
    for (const auto& [button, query] : checks) {
        SCOPED_TRACE(query);
        h.report->hide();
        button->click();
        ASSERT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join("\n").toStdString();
        EXPECT_TRUE(h.report->isVisible());
        EXPECT_FALSE(h.report->isModal());
        EXPECT_EQ(h.report->Caption(), QStringLiteral("%1 --=[%2 angezeigte Datensätze.]=--")
                                           .arg(titles[i++])
                                           .arg(expected(query)["count"].toInt()));
        EXPECT_EQ(resultRows(), expected(query)["rows"].toArray());
    }
    EXPECT_EQ(h.ui->beeps(), 0);
    EXPECT_EQ(h.report->ui->VoDaoExportButton1->property("DefaultExportDir").toString(), h.dir.path() + "REPORTS");

    // A second check while the window is open: new result, new title, no count.
    w->ui->btn_OhneAutor->click();
    EXPECT_EQ(h.report->Caption(), "Bücher ohne Autor");
    EXPECT_EQ(resultRows(), expected("ohne_autor")["rows"].toArray());

    // The missing-books report cannot be made modal out of the open window.
    h.ui->clear();
    w->ui->btn_FehlendeBuecher->click();
    EXPECT_EQ(h.ui->messageTexts(), QStringList{"Aus einem sichtbaren Fenster kann kein modales gemacht werden."});
    EXPECT_TRUE(h.report->isVisible());
    EXPECT_EQ(h.report->Caption(), "fehlende Bücher");
    EXPECT_EQ(w->TB_Veltrano.RecordCount(), 67);

    w->close();
    EXPECT_FALSE(h.report->isVisible()) << "closing the main window ends the program";
}

TEST_F(Reports, AutosizeStaysOn)
{
    h.report->ui->btn_Autosize->click();
    h.report->ui->btn_Autosize->click();
    EXPECT_TRUE(h.report->ui->VoDaoDBGrid1->property("AutoSizeColumns").toBool());
    EXPECT_FALSE(h.report->ui->VoDaoDBGrid1->isVisible());
}

TEST_F(Reports, TheHiddenGridShowsTheResultAndAutosizeFitsItsColumns)
{
    TVoDaoDBGrid& grid = *h.report->ui->VoDaoDBGrid1;
    EXPECT_EQ(grid.DataSource(), &w->DS_Veltrano);
    EXPECT_FALSE(grid.Options() & dgEditing);
    EXPECT_TRUE(grid.ShowGridMenu());
    EXPECT_EQ(grid.MenuTitles(), TVoDaoDBGrid::DefaultMenuTitles());
    runMissingBooks();
    ASSERT_EQ(grid.Columns().Count(), 3);
    EXPECT_EQ(grid.Columns()[1].FieldName, "TITEL");

    h.report->ui->btn_Autosize->click();
    const QFontMetrics metrics(grid.font());
    int widest = metrics.horizontalAdvance(QStringLiteral("TITEL   "));
    TVoDaoTable& t = w->TB_Veltrano;
    for (t.First(); !t.Eof(); t.Next())
        widest = std::max(widest, metrics.horizontalAdvance(t.FieldByName("TITEL")->AsString() + "   "));
    EXPECT_EQ(grid.ColumnWidth(1), widest);
    EXPECT_FALSE(grid.isVisible());
}

TEST_F(Reports, ErgebnisAnzeigenShowsTheResultReadOnlyWithItsMenuAndIsRemembered)
{
    const platform::ProfileFile settings(h.dir.file("Quillstock.ini"));
    const QString catalogue = settings.readString("GLOBAL", "PATH", "");
    QCheckBox* box = h.report->ui->cb_ErgebnisAnzeigen;
    EXPECT_EQ(box->text(), "Er&gebnis anzeigen");
    EXPECT_FALSE(box->isChecked()) << "a settings file without the entry";
    w->ui->btn_AlleDaten->click();
    ASSERT_TRUE(h.report->isVisible());
    TVoDaoDBGrid* grid = h.report->ui->VoDaoDBGrid1;
    EXPECT_FALSE(grid->isVisible());

    QTest::mouseClick(box, Qt::LeftButton);
    ASSERT_TRUE(grid->isVisible());
    EXPECT_FALSE(grid->geometry().intersects(h.report->ui->Panel1->geometry())) << "the panel stays uncovered";
    TVoDaoTable& t = w->TB_Veltrano;
    const int records = t.RecordCount();
    ASSERT_GT(records, 0);
    t.First();
    EXPECT_EQ(grid->Model().rowCount(), records);
    EXPECT_EQ(grid->Model().data(grid->Model().index(0, 1)).toString(), t.FieldByName("TITEL")->AsString());

    // Nothing typed or pressed in the grid changes the catalogue.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::keyClicks(grid, "X");
    EXPECT_TRUE(h.ui->messages().empty()) << h.ui->messageTexts().join("\n").toStdString();
    EXPECT_EQ(t.State(), dsBrowse);
    EXPECT_EQ(t.RecordCount(), records);
    EXPECT_FALSE(grid->indexWidget(grid->currentIndex()));
    grid->PopupOptionsMenu();
    const auto menus = h.ui->menus();
    ASSERT_EQ(menus.size(), 1u);
    const auto& menu = menus.front();
    EXPECT_TRUE(menu[TVoDaoDBGrid::miSaveAs].enabled);
    EXPECT_TRUE(menu[TVoDaoDBGrid::miSort].enabled);
    EXPECT_FALSE(menu[TVoDaoDBGrid::miCut].enabled);
    EXPECT_FALSE(menu[TVoDaoDBGrid::miPaste].enabled);

    // A new window finds the box as it was left, and the grid with it.
    EXPECT_EQ(settings.readString("GLOBAL", "ERGEBNIS_ANZEIGEN", ""), "1");
    EXPECT_EQ(settings.readString("GLOBAL", "PATH", ""), catalogue) << "the other entries stay";
    h.stop();
    w = &h.start();
    EXPECT_TRUE(h.report->ui->cb_ErgebnisAnzeigen->isChecked());
    w->ui->btn_AlleDaten->click();
    EXPECT_TRUE(h.report->ui->VoDaoDBGrid1->isVisible());
    h.report->ui->cb_ErgebnisAnzeigen->click();
    EXPECT_FALSE(h.report->ui->VoDaoDBGrid1->isVisible());
    EXPECT_EQ(settings.readString("GLOBAL", "ERGEBNIS_ANZEIGEN", ""), "0");
    h.stop();
    h.start();
    EXPECT_FALSE(h.report->ui->cb_ErgebnisAnzeigen->isChecked());
    EXPECT_FALSE(h.report->ui->VoDaoDBGrid1->isVisibleTo(h.report.get()));
}
