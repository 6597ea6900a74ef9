#include "framework/ui/QtInteraction.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "framework/ui/TFileDialog.h"
#include "framework/ui/TWaitCursor.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

struct AppFixture : ::testing::Test {
    RecordingInteraction* ui = new RecordingInteraction;
    TApplication app{std::unique_ptr<Interaction>(ui)};
    AppFixture() { app.Title = QStringLiteral("Quillstock -Toolbox for Veltrano"); }
};

} // namespace

TEST(ErrorText, FullStopOnlyAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(TApplication::errorText("Record is deleted"), "Record is deleted.");
    EXPECT_EQ(TApplication::errorText("Expected 1"), "Expected 1.");
    EXPECT_EQ(TApplication::errorText(QStringLiteral("Größe ü")), QStringLiteral("Größe ü."));
    EXPECT_EQ(TApplication::errorText("Database is NOT connected!"), "Database is NOT connected!");
    EXPECT_EQ(TApplication::errorText("(3167)"), "(3167)");
    EXPECT_EQ(TApplication::errorText("Done."), "Done.");
    EXPECT_EQ(TApplication::errorText("a-"), "a-") << "'-' comes before '.'";
    EXPECT_EQ(TApplication::errorText(""), "");
}

TEST_F(AppFixture, DefaultErrorDisplayShowsStopBoxWithTitle)
{
    app.Run([] { throw std::runtime_error("Operation bei leerer Datenmenge nicht ausführbar"); });
    ASSERT_EQ(ui->messages().size(), 1u);
    const MessageRequest m = ui->messages()[0];
    EXPECT_EQ(m.caption, "Quillstock -Toolbox for Veltrano");
    EXPECT_EQ(m.text, QStringLiteral("Operation bei leerer Datenmenge nicht ausführbar."));
    EXPECT_EQ(m.icon, MessageIcon::Stop);
    EXPECT_EQ(m.buttons, QStringList{"OK"});
}

TEST_F(AppFixture, MessageAndConfirmationBoxes)
{
    app.MessageBox("Programm neu starten!");
    ui->messageAnswers = {0, 1, -1};
    EXPECT_TRUE(app.Confirm("Wirklich?"));
    EXPECT_FALSE(app.Confirm("Wirklich?"));
    EXPECT_FALSE(app.Confirm("Wirklich?")) << "closing the box counts as no";
    const auto shown = ui->messages();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].caption, "Quillstock -Toolbox for Veltrano");
    EXPECT_EQ(shown[0].icon, MessageIcon::None);
    EXPECT_EQ(shown[1].caption, QStringLiteral("Bestätigung"));
    EXPECT_EQ(shown[1].icon, MessageIcon::Question);
    EXPECT_EQ(shown[1].buttons, (QStringList{"&Ja", "&Nein"}));
    app.Beep();
    EXPECT_EQ(ui->beeps(), 1);
}

TEST_F(AppFixture, FileDialogKeepsTheLastChoice)
{
    TOpenDialog dialog;
    dialog.Filter = "Access-Datenbanken|*.mdb|Alle Dateien|*.*";
    ui->fileAnswers.push_back(FileDialogResult{"/x/a.txt", 2});
    ui->fileAnswers.push_back(std::nullopt);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/x/a.txt");
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/x/a.txt") << "cancel keeps the previous choice";
    ASSERT_EQ(ui->shown.size(), 2u);
    EXPECT_EQ(ui->shown[0].file.filterIndex, 1);
    EXPECT_EQ(ui->shown[1].file.filterIndex, 2);
    EXPECT_EQ(ui->shown[1].file.fileName, "/x/a.txt");
}

TEST(QtInteraction, DelphiFiltersBecomeQtFilters)
{
    EXPECT_EQ(QtInteraction::qtFilters("Access-Datenbanken|*.mdb|Alle Dateien|*.*|CSV|*.csv;*.txt"),
              (QStringList{"Access-Datenbanken (*.mdb)", "Alle Dateien (*)", "CSV (*.csv *.txt)"}));
    EXPECT_EQ(QtInteraction::qtFilters("Text files(*.txt)|*.txt|All files (*.*)|*.*"),
              (QStringList{"Text files (*.txt)", "All files (*)"}))
        << "patterns named in the description are shown once";
}

TEST(WaitCursor, RestoredAlsoWhenAnExceptionLeaves)
{
    try {
        TWaitCursor wait;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        throw std::runtime_error("x");
    } catch (const std::exception&) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

#include "framework/data/EDatabaseError.h"

TEST_F(AppFixture, TheSilentExceptionShowsNothing)
{
    app.Run([] { throw EAbort(); });
    EXPECT_TRUE(ui->messages().empty());
}
