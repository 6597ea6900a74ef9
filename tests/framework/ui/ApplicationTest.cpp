#include "framework/ui/QtInteraction.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "framework/ui/TFileDialog.h"
#include "framework/ui/TWaitCursor.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
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

TEST(QtInteraction, ANumberScannedIntoAMessageBoxClosesItAndIsHandedBack)
{
    QtInteraction qt;
    // Keys as a person or a scanner types them into the box that is up; "" ends with Escape.
    auto answer = [&](const QString& keys, bool takesScan) {
        QTimer::singleShot(0, [keys] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            QWidget* target = box->focusWidget() ? box->focusWidget() : box;
            for (const QChar c : keys) {
                if (c == QLatin1Char('<'))
                    QTest::keyClick(target, Qt::Key_Backspace);
                else if (c == QLatin1Char('\r'))
                    QTest::keyClick(target, Qt::Key_Return);
                else
                    QTest::keyClick(target, c.toLatin1());
            }
            if (QApplication::activeModalWidget() == box)
                QTest::keyClick(target, Qt::Key_Escape);
        });
        QString scan = QStringLiteral("before");
        MessageRequest request{QStringLiteral("T"), QStringLiteral("Nummer schon vorhanden!")};
        if (takesScan)
            request.scanMeanwhile = &scan;
        const int button = qt.message(request);
        return std::make_pair(button, scan);
    };
    EXPECT_EQ(answer("17\r", true), std::make_pair(0, QStringLiteral("17")));
    EXPECT_EQ(answer("12<8\r", true), std::make_pair(0, QStringLiteral("18")));
    EXPECT_EQ(answer("\r", true), std::make_pair(0, QString())) << "Enter alone acknowledges the box";
    EXPECT_EQ(answer("42", true), std::make_pair(0, QString())) << "digits without Enter are no scan";
    EXPECT_EQ(answer("17\r", false), std::make_pair(0, QStringLiteral("before")))
        << "a box that takes no scan closes on Enter and ignores the digits";
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
