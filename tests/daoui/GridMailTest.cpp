// Save as and Mail as XLS/HTML: the dataset exported as the grid shows it,
// handed to the mail program through xdg-email (a stand-in script on PATH
// records the call), nothing sent without it.
#include "GridTestSupport.h"

#include "tests/support/ExternalReaders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace {

// Puts a folder first on PATH for the life of the object.
class PathFirst {
public:
    explicit PathFirst(const QString& folder, bool only = false) : saved_(qgetenv("PATH"))
    {
        qputenv("PATH", only ? folder.toLocal8Bit() : (folder + QLatin1Char(':')).toLocal8Bit() + saved_);
    }
    ~PathFirst() { qputenv("PATH", saved_); }

private:
    QByteArray saved_;
};

QStringList MailFolders() { return QDir::temp().entryList({QStringLiteral("quillstock-mail-*")}, QDir::Dirs); }

} // namespace

struct MailGrid : GridTest {
    void SetUp() override
    {
        OpenCatalogue();
        OpenTableType(QStringLiteral("EXEMPLAR"), QStringLiteral("EXEMPLARNUMMER"));
        Show();
        grid.setFocus();
    }
    // A stand-in for xdg-email that writes its arguments, one a line, into a file.
    QString StandIn()
    {
        const QString folder = dir.file(QStringLiteral("bin"));
        QDir().mkpath(folder);
        const QString script = folder + QStringLiteral("/xdg-email");
        QFile file(script);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$0.call\"\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return folder;
    }
    static QStringList WaitForCall(const QString& callFile)
    {
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(callFile) && waited.elapsed() < 10000)
            QTest::qWait(20);
        QTest::qWait(50);
        QFile file(callFile);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

TEST_F(MailGrid, CtrlTHandsBothExportsOfTheVisibleColumnsToTheMailProgram)
{
    const QString bin = StandIn();
    PathFirst path(bin);
    const int standort = grid.Columns().IndexOfField(QStringLiteral("STANDORT"));
    grid.Columns()[standort].Visible = false; // default columns keep their settings until the layout changes
    grid.setColumnHidden(standort, true);

    QTest::keyClick(&grid, Qt::Key_T, Qt::ControlModifier);
    const QStringList call = WaitForCall(bin + QStringLiteral("/xdg-email.call"));
    ASSERT_EQ(call.size(), 6) << call.join(' ').toStdString();
    EXPECT_EQ(call[0], "--subject");
    EXPECT_EQ(call[1], "EXEMPLAR");
    EXPECT_EQ(call[2], "--attach");
    EXPECT_EQ(QFileInfo(call[3]).fileName(), "EXEMPLAR.xls");
    EXPECT_EQ(QFileInfo(call[5]).fileName(), "EXEMPLAR.htm");
    EXPECT_TRUE(ui->messages().empty());

    // The attachments stay for the mail program; no schema.ini is left beside them.
    const QJsonObject workbook = testsupport::xlrdWorkbook(call[3]);
    EXPECT_EQ(workbook["biff"].toInt(), 80) << "Excel 8.0";
    EXPECT_EQ(workbook["sheets"].toArray(), QJsonArray{"EXEMPLAR"});
    const QJsonArray rows = workbook["rows"].toArray();
    ASSERT_EQ(rows.size(), 71);
    EXPECT_EQ(rows[0].toArray(), (QJsonArray{"EXEMPLARNUMMER", "TITEL", "PREIS", "AUSGELIEHEN"}))
        << "a hidden column is not exported";
    const QJsonArray page = testsupport::htmlTableRows(call[5]);
    ASSERT_EQ(page.size(), 71);
    EXPECT_EQ(page[0].toArray(), rows[0].toArray());
    EXPECT_FALSE(QFile::exists(QFileInfo(call[3]).dir().filePath(QStringLiteral("schema.ini"))));
    EXPECT_TRUE(table.FieldByName(QStringLiteral("STANDORT"))->Visible()) << "the field is shown again";
    EXPECT_EQ(table.ExportMethod, VisibleFields);

    // A second mail replaces the first one's files; a grid takes its files along when it goes.
    const QString firstFolder = QFileInfo(call[3]).absolutePath();
    QFile::remove(bin + QStringLiteral("/xdg-email.call"));
    grid.MailClick();
    ASSERT_EQ(WaitForCall(bin + QStringLiteral("/xdg-email.call")).size(), 6);
    EXPECT_FALSE(QFileInfo::exists(firstFolder));
    QFile::remove(bin + QStringLiteral("/xdg-email.call"));
    auto other = std::make_unique<TVoDaoDBGrid>();
    other->SetDataSource(&source);
    other->MailClick();
    const QStringList third = WaitForCall(bin + QStringLiteral("/xdg-email.call"));
    ASSERT_EQ(third.size(), 6);
    EXPECT_TRUE(QFileInfo::exists(third[3]));
    other.reset();
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(third[3]).absolutePath()));
}

TEST_F(MailGrid, WithoutXdgEmailNothingIsSentAndTheUserIsTold)
{
    const QString empty = dir.file(QStringLiteral("empty"));
    QDir().mkpath(empty);
    PathFirst path(empty, true);
    const QStringList before = MailFolders();
    QTest::keyClick(&grid, Qt::Key_T, Qt::ControlModifier);
    ASSERT_EQ(ui->messageTexts().size(), 1);
    EXPECT_TRUE(ui->messageTexts()[0].contains(QStringLiteral("nothing was sent")));
    EXPECT_EQ(MailFolders(), before) << "the temporary files are gone";
}

TEST_F(GridTest, SaveAsExportsTheFieldsWhoseColumnsShowAndStartsInTheExportFolder)
{
    OpenCatalogue();
    grid.Columns().Add(QStringLiteral("EXEMPLARNUMMER")).Visible = false;
    grid.Columns().Add(QStringLiteral("TITEL"));
    grid.Columns().Add(QStringLiteral("AUSGELIEHEN"));
    table.SetSQL(QStringLiteral("SELECT * FROM EXEMPLAR"));
    table.Open();
    table.FieldByName(QStringLiteral("TITEL"))->SetVisible(false); // a hidden field whose column shows
    grid.SetDefaultExportDir(dir.file(QStringLiteral("REPORTS")));
    QStringList exported;
    TVoDaoGridDialogs dialogs;
    dialogs.exportForGrid = [&](TVoDaoTable& t, TVoDaoDBGrid&, const QString& folder) {
        exported << folder << t.ExportFieldList(false);
        t.ExportMethod = AllFields; // whatever the dialog does, the grid puts it back
    };
    grid.SetDialogs(dialogs);
    Show();
    QTest::keyClick(&grid, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(exported.size(), 2);
    EXPECT_EQ(exported[0], dir.file(QStringLiteral("REPORTS")));
    EXPECT_EQ(exported[1], " [TITEL], [AUSGELIEHEN]");
    EXPECT_FALSE(table.FieldByName(QStringLiteral("TITEL"))->Visible()) << "the fields' own settings are back";
    EXPECT_TRUE(table.FieldByName(QStringLiteral("STANDORT"))->Visible());
    EXPECT_EQ(table.ExportMethod, VisibleFields);
    EXPECT_EQ(grid.Columns().Count(), 3);
}
