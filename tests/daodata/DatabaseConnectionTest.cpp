#include "daodata/TVoDaoDatabase.h"
#include "engine/DBEngine.h"
#include "engine/DaoError.h"
#include "engine/Database.h"
#include "engine/DaoConstants.h"
#include "engine/Workspace.h"
#include "framework/data/EDatabaseError.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "framework/ui/TLoginDialog.h"
#include "tests/support/ErrorText.h"
#include "tests/support/TempFolder.h"

#include <QLineEdit>
#include <gtest/gtest.h>

using testsupport::TempFolder;

namespace {

struct Connection : ::testing::Test {
    TempFolder dir;
    RecordingInteraction* ui = new RecordingInteraction;
    TApplication app{std::unique_ptr<Interaction>(ui)};
    TVoDaoDatabase db{"DB_Veltrano"};

    Connection()
    {
        db.ProgramFolder = dir.path();
        db.SetVersion("3.6");
    }
};

// Stands in for a dataset opened on the connection.
struct OpenDataset : TVoDaoDatasetLink {
    QString name;
    bool closedByDatabase = false;
    bool readOnly = false;
    explicit OpenDataset(QString n) : name(std::move(n)) {}
    QString DatasetName() const override { return name; }
    void CloseByDatabase() override { closedByDatabase = true; }
    void SetReadOnlyByDatabase(bool r) override { readOnly = r; }
};

using testsupport::errorText;

} // namespace

TEST(DatabaseConnection, DefaultsVersionsAndDatabaseTypes)
{
    TVoDaoDatabase db;
    EXPECT_EQ(db.AvailableVersions(), (QStringList{"3.5", "3.6"}));
    EXPECT_EQ(db.Version(), "3.5") << "the first available version";
    EXPECT_EQ(db.VersionInfo(), "(In Access'97 mode)");
    EXPECT_EQ(db.DatabaseType(), "Access");
    EXPECT_EQ(db.UserName(), "Admin");
    EXPECT_EQ(db.Workspace(), "DaoWorkspace");
    EXPECT_EQ(db.QueryTimeout, 60);
    EXPECT_TRUE(db.SmartOpen);
    EXPECT_FALSE(db.Connected());
    ASSERT_GE(db.DatabaseTypes().size(), 3);
    EXPECT_EQ(db.DatabaseTypes().mid(0, 2), (QStringList{"Access", "ODBC"}));
    EXPECT_TRUE(db.DatabaseTypes().contains("HTML Export"));

    db.SetVersion("3.6 (DAO)");
    EXPECT_EQ(db.Version(), "3.6");
    EXPECT_EQ(db.VersionDetails(), "3.6");
    EXPECT_EQ(db.VersionInfo(), "(In Access'2000 mode)");
    db.SetDatabase("x.mdb");
    db.SetDatabaseType("dBase IV");
    EXPECT_EQ(db.Database(), "") << "setting the type clears the database";
}

TEST_F(Connection, ConnectsToAGenuineAccessFileAndListsItsTables)
{
    QStringList events;
    db.OnBeforeConnect = [&](TVoDaoDatabase*) { events << "before"; };
    db.OnAfterConnect = [&](TVoDaoDatabase* s) { events << (s->Connected() ? "after-connected" : "after"); };
    db.SetDatabase(dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb"));
    db.SetConnected(true);
    EXPECT_TRUE(db.Connected());
    EXPECT_EQ(events, (QStringList{"before", "after-connected"}));
    EXPECT_TRUE(db.TableNames().contains("EXEMPLAR"));
    EXPECT_TRUE(db.TableNames().contains("TITEL"));
    for (const QString& t : db.TableNames())
        EXPECT_FALSE(t.startsWith("MSys")) << t.toStdString();
    EXPECT_EQ(db.DatabaseVersionInfo(), "4.0");
    EXPECT_EQ(db.DatabaseLanguage(), "General (English, French, German, Portuguese, Italian, and Modern Spanish)");
    ASSERT_NE(db.CoreDatabase(), nullptr);
    EXPECT_EQ(db.CoreDatabase()->queryTimeout(), 60);
}

TEST_F(Connection, AnEmptyDatabaseIsRefusedBeforeAnyEvent)
{
    bool fired = false;
    db.OnBeforeConnect = [&](TVoDaoDatabase*) { fired = true; };
    EXPECT_EQ(errorText([&] { db.SetConnected(true); }),
              "TVoDaoDatabase.F_Set_Active: Database property is not defined!");
    EXPECT_FALSE(fired);
    EXPECT_FALSE(db.Connected());
}

TEST_F(Connection, SettersRefuseWhileConnectedAndKeepTheOldValue)
{
    const QString path = dir.copyFixture("catalogue/veltrano.mdb");
    db.SetDatabase(path);
    db.SetConnected(true);
    EXPECT_EQ(errorText([&] { db.SetDatabase("other.mdb"); }),
              "TVoDaoDatabase.F_Set_Database: Cannot set Database while Database is connected!");
    EXPECT_EQ(db.Database(), path);
    EXPECT_EQ(errorText([&] { db.SetUserName("x"); }),
              "TVoDaoDatabase.F_Set_UserName: Cannot change User Name while Database is connected!");
    EXPECT_EQ(errorText([&] { db.SetPrivateEngine(true); }),
              "TVoDaoDatabase.F_Set_EngineType: Cannot set PrivateEngine Type while Database is connected!");
    EXPECT_EQ(errorText([&] { db.SetTrackTransactions(false); }),
              "Cannot set TrackTransactions property when Database is connected!");
    EXPECT_EQ(errorText([&] { db.SetVersion("3.5"); }),
              "TVoDaoDatabase.F_Set_DaoVersion: Cannot set Dao Version while Database is connected!");
    db.SetConnected(true); // same value: nothing happens
    EXPECT_TRUE(db.Connected());
}

TEST_F(Connection, SmartOpenLooksBesideTheProgram)
{
    dir.copyFixture("catalogue/veltrano.mdb");
    db.SetDatabase("/no/such/folder/veltrano.mdb");
    db.SetConnected(true);
    EXPECT_TRUE(db.Connected());
    EXPECT_EQ(db.Database(), dir.file("veltrano.mdb"));

    TVoDaoDatabase other;
    other.ProgramFolder = dir.path();
    other.SetDatabase("/no/such/folder/missing.mdb");
    EXPECT_EQ(errorText([&] { other.SetConnected(true); }), "Cannot find Database:\r\n" + dir.file("missing.mdb"));
    EXPECT_FALSE(other.Connected());
}

TEST_F(Connection, QueryTimeoutOtherThan60IsSent)
{
    db.SetDatabase(dir.copyFixture("catalogue/veltrano.mdb"));
    db.QueryTimeout = 61;
    db.SetConnected(true);
    EXPECT_EQ(db.CoreDatabase()->queryTimeout(), 61);
}

TEST_F(Connection, DisconnectingClosesEveryAttachedDataset)
{
    db.SetDatabase(dir.copyFixture("catalogue/veltrano.mdb"));
    db.SetConnected(true);
    OpenDataset a("TB_INV"), b("TB_Master");
    db.AttachDataset(&a);
    db.AttachDataset(&b);
    db.AttachDataset(&a);
    EXPECT_EQ(db.AttachedDatasetCount(), 2);
    QStringList events;
    db.OnBeforeDisconnect = [&](TVoDaoDatabase* s) { events << (s->Connected() ? "before-connected" : "before"); };
    db.OnAfterDisconnect = [&](TVoDaoDatabase* s) { events << (s->Connected() ? "after-connected" : "after"); };
    auto core = db.CoreDatabase();
    db.SetConnected(false);
    EXPECT_TRUE(a.closedByDatabase);
    EXPECT_TRUE(b.closedByDatabase);
    EXPECT_EQ(db.AttachedDatasetCount(), 0);
    EXPECT_EQ(db.CoreDatabase(), nullptr);
    EXPECT_FALSE(core->isOpen());
    EXPECT_TRUE(db.TableNames().isEmpty());
    EXPECT_EQ(events, (QStringList{"before-connected", "after"}));
}

TEST_F(Connection, EngineErrorsPropagateAndLeaveItDisconnected)
{
    dir.write("random.mdb", QByteArray(4096, '\x5a'));
    db.SetDatabase(dir.file("random.mdb"));
    try {
        db.SetConnected(true);
        FAIL() << "a random-bytes file must not open";
    } catch (const dao::DaoError& e) {
        EXPECT_GT(e.number(), 0);
    }
    EXPECT_FALSE(db.Connected());
    EXPECT_EQ(db.CoreDatabase(), nullptr);
}

TEST_F(Connection, OnLoginSeesAndChangesTheCredentials)
{
    db.SetDatabase(dir.copyFixture("catalogue/veltrano.mdb"));
    db.SetPassword("pw");
    QStringList seen;
    db.OnLogin = [&](TVoDaoDatabase*, QStringList& params) {
        seen = params;
        params = QStringList{"USER NAME=Maria", "PASSWORD=geheim", "DBPASSWORD=db"};
    };
    db.SetConnected(true);
    EXPECT_EQ(seen, (QStringList{"USER NAME=Admin", "PASSWORD=pw", "DBPASSWORD="}));
    EXPECT_EQ(db.UserName(), "Maria");
    EXPECT_EQ(db.Password(), "geheim");
    EXPECT_EQ(db.DatabasePassword(), "db");
}

TEST_F(Connection, LoginDialogTakesTheEditsOrWarnsWhenCancelled)
{
    const QString path = dir.copyFixture("catalogue/veltrano.mdb");
    db.SetDatabase(path);
    db.SetLoginPrompt(true);
    ui->dialogAnswers.push_back([&](QDialog& d) {
        auto& login = dynamic_cast<TLoginDialog&>(d);
        EXPECT_EQ(login.windowTitle(), "Database Login");
        EXPECT_EQ(login.UserNameEdit->text(), "Admin");
        EXPECT_EQ(login.PasswordEdit->echoMode(), QLineEdit::Password);
        login.UserNameEdit->setText("Maria");
        login.PasswordEdit->setText("geheim");
        return int(QDialog::Accepted);
    });
    db.SetConnected(true);
    EXPECT_EQ(db.UserName(), "Maria");
    EXPECT_EQ(db.Password(), "geheim");
    db.SetConnected(false);

    db.SetConnected(true); // no scripted answer: the dialog is cancelled
    EXPECT_EQ(ui->messageTexts(),
              QStringList{"If You not enter Username and Password You may not gain access to your data!"});
    EXPECT_EQ(db.UserName(), "");
    EXPECT_EQ(db.Password(), "");
}

TEST_F(Connection, ConnectsToAnEngineMadeDatabase)
{
    {
        dao::DBEngine engine;
        auto created = engine.createDatabase(dir.file("db_inv.mdb").toStdString(), dao::dbLangGeneral);
        created->execute("CREATE TABLE inventurliste (IDX COUNTER PRIMARY KEY, Bezeichnung TEXT(50))");
        created->close();
    }
    db.SetDatabase(dir.file("db_inv.mdb"));
    db.SetConnected(true);
    EXPECT_EQ(db.TableNames(), QStringList{"inventurliste"});
}

TEST_F(Connection, PrivateEnginesAndOdbcDirectWorkspaces)
{
    EXPECT_EQ(db.CoreDBEngine()->progId(), "DAO.DBEngine.36");
    db.SetPrivateEngine(true);
    EXPECT_EQ(db.CoreDBEngine()->progId(), "DAO.PrivateDBEngine.36");
    db.SetVersion("3.5");
    EXPECT_EQ(db.CoreDBEngine()->progId(), "DAO.PrivateDBEngine.35");
    db.SetPrivateEngine(false);
    EXPECT_EQ(db.CoreDBEngine()->progId(), "DAO.DBEngine.35");

    // An ODBCDirect workspace gets the cursor driver when it is made, and
    // reaches an ODBC data source through OpenConnection.
    db.DefaultCursorDriver = dao::dbUseServerCursor;
    db.SetEngineType(1);
    EXPECT_EQ(db.CoreWorkspace()->type(), dao::dbUseODBC);
    EXPECT_EQ(db.CoreWorkspace()->defaultCursorDriver(), dao::dbUseServerCursor);
    db.SetDatabaseType("ODBC");
    db.SetDatabase("Katalog");
    try {
        db.SetConnected(true);
        FAIL() << "no ODBC driver is reachable";
    } catch (const dao::DaoError& e) {
        EXPECT_EQ(e.number(), 3146);
    }
    EXPECT_FALSE(db.Connected());

    // Access files need a Jet workspace, which takes no cursor driver.
    db.SetDatabaseType("Access");
    db.SetDatabase(dir.copyFixture("catalogue/veltrano.mdb"));
    EXPECT_EQ(errorText([&] { db.SetConnected(true); }),
              "TVoDaoDatabase.F_Set_Active: ODBC direct workspaces\r\nare NOT supported for MS Access Databases!");
    db.SetEngineType(2);
    db.SetConnected(true);
    EXPECT_TRUE(db.Connected());
}
