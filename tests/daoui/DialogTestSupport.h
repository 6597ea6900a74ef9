#pragma once
// The sample catalogue behind a data source, and a way to answer the next
// modal dialog with clicks and keys as a user would.
#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "daoui/TVoDaoDBGrid.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace daouitest {

inline const QString kAllCopies = QStringLiteral(
    " SELECT EXEMPLAR.EXEMPLARNUMMER AS BUCHNR,TITEL.HAUPTTITEL AS TITEL, TITEL.HAUPTEINTRAG AS AUTOR FROM "
    "EXEMPLAR, TITEL WHERE EXEMPLAR.TITEL = TITEL.Buchungsnummer ORDER BY EXEMPLAR.EXEMPLARNUMMER");

// The user of a test: answers the program's questions from a script.
struct WithUser : ::testing::Test {
    RecordingInteraction* ui = new RecordingInteraction;
    TApplication app{std::unique_ptr<Interaction>(ui)};

    // The next modal dialog of type D is shown, steps act on it, and it
    // closes the way the steps left it (still open counts as Cancel).
    template <class D>
    void answer(std::function<void(D&)> steps)
    {
        ui->dialogAnswers.push_back([steps](QDialog& dialog) {
            dialog.show();
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            steps(dynamic_cast<D&>(dialog));
            const int result = dialog.isVisible() ? int(QDialog::Rejected) : dialog.result();
            dialog.hide();
            return result;
        });
    }
    QStringList dialogsShown() const
    {
        QStringList names;
        for (const auto& shown : ui->shown)
            if (shown.kind == RecordingInteraction::Shown::Kind::Dialog)
                names << shown.dialogClass;
        return names;
    }
};

struct Catalogue : WithUser {
    testsupport::TempFolder dir;
    TVoDaoDatabase db{"DB_Veltrano"};
    TVoDaoTable table{"TB_Veltrano"};
    TDataSource source;

    Catalogue()
    {
        db.ProgramFolder = dir.path();
        db.SetDatabase(dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb"));
        db.SetConnected(true);
        table.SetDatabase(&db);
        table.SetReadOnly(true);
        source.SetDataSet(&table);
    }
    ~Catalogue() override { table.Close(); }

    // Every copy with title and author, by number, as the report window shows it.
    void openAllCopies()
    {
        table.SetSQL(kAllCopies);
        table.Open();
    }
    QString text(const char* field) const { return table.FieldByName(field)->AsString(); }
    int number() const { return table.FieldByName("BUCHNR")->AsInteger(); }
};

// The catalogue's titles in a grid that shows, so that its menu opens.
struct TitlesGrid : Catalogue {
    TVoDaoDBGrid grid;

    TitlesGrid()
    {
        grid.SetDataSource(&source);
        grid.resize(640, 400);
        table.SetSQL("SELECT * FROM TITEL");
        table.Open();
        grid.show();
        QApplication::processEvents();
    }
};

// The default locale for one test.
struct LocaleScope {
    QLocale kept;
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(kept); }
};

// Types text key by key, umlauts included.
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

inline QStringList itemTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

inline void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

inline void doubleClickRow(QListWidget* list, int row)
{
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// Chooses an item of a drop-down list with the keyboard: Home, then Down
// until it shows.
inline void chooseByKeys(QComboBox* box, const QString& text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < box->count() && box->currentText() != text; ++i)
        QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->currentText(), text);
}

// Opens the grid's menu with a click on its menu cell and chooses an entry.
inline void chooseFromGridMenu(RecordingInteraction* ui, TVoDaoDBGrid& grid, int entry)
{
    QWidget* cell = grid.findChild<QWidget*>(QStringLiteral("MenuCell"));
    ASSERT_TRUE(cell && cell->isVisible());
    ui->menuAnswers.push_back(entry);
    QTest::mouseClick(cell, Qt::LeftButton, {}, cell->rect().center());
}

// The numbers in the first column of what the command-line program selects,
// in its order: what the engine gives without the dataset layer in between.
inline QList<int> numbersFromSqlTool(const QString& database, const QString& select)
{
    QProcess program;
    program.start(QStringLiteral(QUILLSTOCK_BIN_DIR "/quillstock-sql"), {database, select});
    EXPECT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    QList<int> numbers;
    const QList<QByteArray> lines = program.readAllStandardOutput().trimmed().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) // after the header
        numbers << lines[i].split(',').front().trimmed().toInt();
    return numbers;
}

} // namespace daouitest
