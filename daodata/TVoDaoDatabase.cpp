#include "daodata/TVoDaoDatabase.h"

#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/QueryDef.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "framework/data/EDatabaseError.h"
#include "framework/ui/LoginPrompt.h"
#include "framework/ui/TApplication.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"

#include <QFileInfo>

namespace {

QString jetRegistryVersion(const QString& version)
{
    if (version == "3.5")
        return QStringLiteral("3.5");
    if (version == "3.6")
        return QStringLiteral("4.0");
    return {};
}

// The value after "NAME=" in a list of name=value lines, if present.
bool loginValue(const QStringList& params, const QString& name, QString& value)
{
    for (const QString& line : params) {
        const qsizetype eq = line.indexOf('=');
        if (eq >= 0 && line.left(eq).compare(name, Qt::CaseInsensitive) == 0) {
            value = line.mid(eq + 1);
            return true;
        }
    }
    return false;
}

// Replaces the folder of path by folder ("/x/y/a.mdb" -> folder + "a.mdb").
QString inFolder(const QString& path, const QString& folder)
{
    QString name = path;
    const qsizetype cut = std::max(name.lastIndexOf('/'), name.lastIndexOf('\\'));
    if (cut >= 0)
        name = name.mid(cut + 1);
    return platform::withTrailingSlash(folder) + name;
}

} // namespace

QString TVoDaoDatabase::EngineProgId(const QString& version, bool privateEngine)
{
    return (privateEngine ? QStringLiteral("DAO.PrivateDBEngine.") : QStringLiteral("DAO.DBEngine.")) +
           QString(version).remove('.');
}

TVoDaoDatabase::TVoDaoDatabase(const QString& name) : Name(name), ProgramFolder(platform::programFolder())
{
    for (const QString& v : {QStringLiteral("3.5"), QStringLiteral("3.6")})
        if (platform::Registry::progIdInstalled(EngineProgId(v, false)))
            availableVersions_ << v;
    if (availableVersions_.isEmpty())
        DatabaseError(QStringLiteral("Cannot find DAO on your system!"));
    version_ = availableVersions_.front() == "3.5" ? QStringLiteral("3.5") : QStringLiteral("3.6");
    systemDatabase_ = platform::Registry::jetSystemDb(jetRegistryVersion(version_));
    FillDatabaseTypes();
    odbcDrivers_ = platform::Registry::odbcDrivers();
    odbcUserDSNs_ = platform::Registry::odbcUserDataSources();
    odbcSystemDSNs_ = platform::Registry::odbcSystemDataSources();
    CreateEngineAndWorkspace();
}

TVoDaoDatabase::~TVoDaoDatabase()
{
    try {
        if (connected_)
            Disconnect();
        if (coreWorkspace_)
            coreWorkspace_->close();
    } catch (...) {
        // Closing what is left cannot be reported from a destructor.
    }
}

void TVoDaoDatabase::EndLoad()
{
    loading_ = false;
    if (!connected_)
        CreateEngineAndWorkspace();
}

void TVoDaoDatabase::CheckDisconnected(const char* message) const
{
    if (connected_)
        DatabaseError(QString::fromUtf8(message));
}

void TVoDaoDatabase::SetDatabase(const QString& value)
{
    CheckDisconnected("TVoDaoDatabase.F_Set_Database: Cannot set Database while Database is connected!");
    database_ = value;
}

void TVoDaoDatabase::SetDatabaseType(const QString& value)
{
    CheckDisconnected("TVoDaoDatabase.F_Set_DatabaseType: Cannot set Database Type while Database is connected!");
    databaseType_ = value;
    database_.clear();
}

void TVoDaoDatabase::SetDatabaseParameters(const QString& value)
{
    CheckDisconnected(
        "TVoDaoDatabase.F_Set_DatabaseParameters: Cannot set DatabaseParameters while Database is connected!");
    databaseParameters_ = value;
}

void TVoDaoDatabase::SetReadOnly(bool value)
{
    CheckDisconnected("TVoDaoDatabase.F_Set_ReadOnly: Cannot change mode while Database is connected!");
    readOnly_ = value;
    if (value)
        for (auto& [name, dataset] : datasets_)
            dataset->SetReadOnlyByDatabase(true);
}

void TVoDaoDatabase::SetExclusive(bool value)
{
    CheckDisconnected("TVoDaoDatabase.F_Set_Exclusive: Cannot change Exclusive mode while Database is connected!");
    exclusive_ = value;
}

void TVoDaoDatabase::SetLoginPrompt(bool value)
{
    CheckDisconnected("TVoDaoDatabase.F_Set_LoginPrompt: Cannot change LoginPrompt while Database is connected!");
    loginPrompt_ = value;
}

void TVoDaoDatabase::SetUserName(const QString& value)
{
    CheckDisconnected("TVoDaoDatabase.F_Set_UserName: Cannot change User Name while Database is connected!");
    userName_ = value;
}

void TVoDaoDatabase::SetPassword(const QString& value)
{
    CheckDisconnected("TVoDaoDatabase.F_Set_Password: Cannot change Password while Database is connected!");
    password_ = value;
}

void TVoDaoDatabase::SetDatabasePassword(const QString& value)
{
    CheckDisconnected(
        "TVoDaoDatabase.F_Set_DatabasePassword: Cannot change Database Password while Database is connected!");
    databasePassword_ = value;
}

void TVoDaoDatabase::SetSystemDatabase(const QString& value)
{
    CheckDisconnected("TVoDaoDatabase.F_Set_SystemDatabase: Cannot set SystemDatabase while Database is connected!");
    systemDatabase_ = value;
}

void TVoDaoDatabase::SetWorkspace(const QString& value)
{
    CheckDisconnected("TVoDaoDatabase.F_Set_Workspace: Cannot set Workspace while Database is connected!");
    workspace_ = value;
    if (!loading_)
        CreateEngineAndWorkspace();
}

void TVoDaoDatabase::SetEngineType(int value)
{
    CheckDisconnected("TVoDaoDatabase.F_Set_EngineType: Cannot set EngineType Type while Database is connected!");
    engineType_ = value;
    if (!loading_)
        CreateEngineAndWorkspace();
}

void TVoDaoDatabase::SetPrivateEngine(bool value)
{
    CheckDisconnected("TVoDaoDatabase.F_Set_EngineType: Cannot set PrivateEngine Type while Database is connected!");
    privateEngine_ = value;
    if (!loading_)
        CreateEngineAndWorkspace();
}

void TVoDaoDatabase::SetVersion(const QString& value)
{
    CheckDisconnected("TVoDaoDatabase.F_Set_DaoVersion: Cannot set Dao Version while Database is connected!");
    version_ = value.left(3);
    FillDatabaseTypes();
    if (!loading_)
        CreateEngineAndWorkspace();
}

void TVoDaoDatabase::SetTrackTransactions(bool value)
{
    if (connected_)
        DatabaseError(QStringLiteral("Cannot set TrackTransactions property when Database is connected!"));
    trackTransactions_ = value;
}

void TVoDaoDatabase::SetShowSystemObjects(bool value)
{
    showSystemObjects_ = value;
    if (connected_)
        RefreshNameLists();
}

void TVoDaoDatabase::CreateQueryDef(const QString& name, const QString& sqlText)
{
    if (!coreDatabase_)
        DatabaseError(QStringLiteral("Database is not connected!"));
    coreDatabase_->createQueryDef(name.toStdString(), sqlText.toStdString());
    RefreshNameLists();
}

void TVoDaoDatabase::DeleteQueryDef(const QString& name)
{
    if (!coreDatabase_)
        DatabaseError(QStringLiteral("Database is not connected!"));
    RefreshNameLists();
    coreDatabase_->deleteQueryDef(name.toStdString());
    RefreshNameLists();
}

void TVoDaoDatabase::CreateDatabase(const QString& fileName, const QString& locale, int format)
{
    if (!coreWorkspace_)
        DatabaseError(QStringLiteral("Database is not connected!"));
    coreWorkspace_->createDatabase(fileName.toStdString(), locale.toStdString(), format)->close();
}

void TVoDaoDatabase::FillDatabaseTypes()
{
    const QString key = jetRegistryVersion(version_);
    databaseTypes_ = key.isEmpty() ? QStringList() : platform::Registry::isamFormats(key);
    databaseTypes_.prepend(QStringLiteral("ODBC"));
    databaseTypes_.prepend(QStringLiteral("Access"));
}

void TVoDaoDatabase::CreateEngineAndWorkspace()
{
    if (connecting_)
        return;
    if (coreWorkspace_) {
        coreWorkspace_->close();
        coreWorkspace_.reset();
        engine_.reset();
    }
    engine_ = dao::DBEngine::create(EngineProgId(version_, privateEngine_).toStdString());
    engine_->setSystemDB(systemDatabase_.toStdString());
    versionDetails_ = QString::fromStdString(engine_->version());
    if (versionDetails_.size() >= 3)
        versionInfo_ = versionDetails_[2] == '5' ? QStringLiteral("(In Access'97 mode)")
                                                 : QStringLiteral("(In Access'2000 mode)");
    engine_->setDefaultUser(userName_.toStdString());
    engine_->setDefaultPassword(password_.toStdString());
    engine_->setDefaultType(2);
    coreWorkspace_ = engine_->createWorkspace(workspace_.toStdString(), userName_.toStdString(),
                                              password_.toStdString(), engineType_);
    engine_->appendWorkspace(coreWorkspace_);
    if (engineType_ == dao::dbUseODBC)
        coreWorkspace_->setDefaultCursorDriver(DefaultCursorDriver);
    workspace_ = QString::fromStdString(coreWorkspace_->name());
}

void TVoDaoDatabase::SetConnected(bool value)
{
    if (value == connected_)
        return;
    if (value)
        Connect();
    else
        Disconnect();
}

bool TVoDaoDatabase::GetCredentials(bool& cancelled)
{
    cancelled = false;
    auto takeFrom = [this](const QStringList& params) {
        loginValue(params, QStringLiteral("USER NAME"), userName_);
        loginValue(params, QStringLiteral("PASSWORD"), password_);
        loginValue(params, QStringLiteral("DBPASSWORD"), databasePassword_);
    };
    if (OnLogin) {
        QStringList params{"USER NAME=" + userName_, "PASSWORD=" + password_, "DBPASSWORD=" + databasePassword_};
        OnLogin(this, params);
        takeFrom(params);
        return true;
    }
    if (!LoginParams.isEmpty()) {
        takeFrom(LoginParams);
        return true;
    }
    if (!loginPrompt_)
        return true;
    const LoginAnswer answer = RunLoginDialog(database_, SaveUserName ? userName_ : QString());
    if (answer.accepted) {
        userName_ = answer.userName;
        password_ = answer.password;
        databasePassword_ = answer.databasePassword;
        return true;
    }
    Application->MessageBox(
        QStringLiteral("If You not enter Username and Password You may not gain access to your data!"));
    userName_.clear();
    password_.clear();
    databasePassword_.clear();
    cancelled = true;
    return false;
}

std::string TVoDaoDatabase::ConnectPart(const QString& format) const
{
    return format.toStdString();
}

void TVoDaoDatabase::Connect()
{
    if (database_.isEmpty())
        DatabaseError(QStringLiteral("TVoDaoDatabase.F_Set_Active: Database property is not defined!"));
    if (databaseType_.isEmpty())
        DatabaseError(QStringLiteral("TVoDaoDatabase.F_Set_Active: DatabaseType property is not defined!"));
    if (OnBeforeConnect)
        OnBeforeConnect(this);

    // Credentials, then engine and workspace; with the login prompt a failure
    // is shown and the user asked again, a cancelled dialog ends quietly.
    for (;;) {
        bool cancelled = false;
        GetCredentials(cancelled);
        try {
            CreateEngineAndWorkspace();
            break;
        } catch (const std::exception& e) {
            if (!loginPrompt_)
                throw;
            if (cancelled)
                return;
            Application->ShowException(e);
        }
    }

    connecting_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{connecting_};

    const QString type = databaseType_;
    if (type.compare(QStringLiteral("Access"), Qt::CaseInsensitive) == 0) {
        if (SmartOpen && !QFileInfo(database_).isFile())
            database_ = inFolder(database_, ProgramFolder);
        if (!QFileInfo(database_).isFile())
            DatabaseError("Cannot find Database:\r\n" + database_);
        if (engineType_ != 2)
            DatabaseError(QStringLiteral(
                "TVoDaoDatabase.F_Set_Active: ODBC direct workspaces\r\nare NOT supported for MS Access Databases!"));
        const QString connect =
            QStringLiteral(";UID=%1;PWD=%2;%3").arg(userName_, databasePassword_, databaseParameters_);
        coreDatabase_ = coreWorkspace_->openDatabase(database_.toStdString(), exclusive_ ? 1 : 0, readOnly_,
                                                     connect.toStdString());
    } else if (type.compare(QStringLiteral("ODBC"), Qt::CaseInsensitive) == 0) {
        const QString connect =
            database_.startsWith(QStringLiteral("odbc;"), Qt::CaseInsensitive)
                ? QStringLiteral("%1;%2").arg(database_, databaseParameters_)
                : QStringLiteral("%1;UID=%2;PWD=%3;DSN=%4;%5")
                      .arg(databaseType_, userName_, password_, database_, databaseParameters_);
        coreDatabase_ = engineType_ == dao::dbUseODBC
                            ? coreWorkspace_->openConnection(database_.toStdString(), dao::dbDriverNoPrompt, readOnly_,
                                                             connect.toStdString())
                            : coreWorkspace_->openDatabase(database_.toStdString(), dao::dbDriverNoPrompt, readOnly_,
                                                           connect.toStdString());
    } else {
        if (engineType_ != 2)
            DatabaseError(QStringLiteral("TVoDaoDatabase.F_Set_Active: ODBC direct workspaces NOT supported!"));
        const QString connect =
            password_.isEmpty() || userName_.isEmpty()
                ? QStringLiteral("%1;%2").arg(databaseType_, databaseParameters_)
                : QStringLiteral("%1;UID=%2;PWD=%3;%4").arg(databaseType_, userName_, password_, databaseParameters_);
        coreDatabase_ = coreWorkspace_->openDatabase(database_.toStdString(), exclusive_ ? 1 : 0, readOnly_,
                                                     connect.toStdString());
    }

    if (QueryTimeout != 60)
        coreDatabase_->setQueryTimeout(QueryTimeout);
    if (type.compare(QStringLiteral("ODBC"), Qt::CaseInsensitive) != 0)
        databaseVersionInfo_ = QString::fromStdString(coreDatabase_->version());
    RefreshNameLists();
    databaseLanguage_ = CollatingOrderName(coreDatabase_->collatingOrder());

    connected_ = true;
    Idle();
    if (OnAfterConnect)
        OnAfterConnect(this);
}

void TVoDaoDatabase::Idle()
{
    if (!engine_)
        return;
    engine_->idle(1); // free locks
    engine_->idle(8); // refresh the cache
}

void TVoDaoDatabase::Disconnect()
{
    if (OnBeforeDisconnect)
        OnBeforeDisconnect(this);
    tableNames_.clear();
    queryDefNames_.clear();
    // Closing a dataset detaches it: work on a copy of the list.
    const auto datasets = datasets_;
    for (auto& [name, dataset] : datasets)
        dataset->CloseByDatabase();
    datasets_.clear();
    if (coreDatabase_) {
        auto db = std::move(coreDatabase_);
        coreDatabase_.reset();
        db->close();
    }
    transactionList_.clear();
    connected_ = false;
    if (OnAfterDisconnect)
        OnAfterDisconnect(this);
}

void TVoDaoDatabase::RefreshNameLists()
{
    tableNames_.clear();
    queryDefNames_.clear();
    if (!coreDatabase_)
        return;
    auto& tables = coreDatabase_->tableDefs();
    tables.refresh();
    for (const auto& table : tables) {
        const bool system = (table->attributes() & dao::dbSystemObject) != 0;
        if (!system || showSystemObjects_)
            tableNames_ << QString::fromStdString(table->name());
    }
    auto& queries = coreDatabase_->queryDefs();
    queries.refresh();
    for (const auto& query : queries)
        queryDefNames_ << QString::fromStdString(query->name());
}

void TVoDaoDatabase::AttachDataset(TVoDaoDatasetLink* dataset)
{
    for (auto& entry : datasets_)
        if (entry.second == dataset)
            return;
    datasets_.emplace_back(dataset->DatasetName(), dataset);
}

void TVoDaoDatabase::DetachDataset(TVoDaoDatasetLink* dataset)
{
    std::erase_if(datasets_, [dataset](const auto& entry) { return entry.second == dataset; });
}

void TVoDaoDatabase::RecordTransaction(const QString& datasetName, const QString& value)
{
    if (!trackTransactions_ || transactionList_.isEmpty())
        return;
    QStringList pairs = transactionList_.back().split(',', Qt::SkipEmptyParts);
    bool found = false;
    for (QString& pair : pairs)
        if (pair.section('=', 0, 0).compare(datasetName, Qt::CaseInsensitive) == 0) {
            pair = datasetName + '=' + value;
            found = true;
        }
    if (!found)
        pairs << datasetName + '=' + value;
    transactionList_.back() = pairs.join(',');
}

QString TVoDaoDatabase::CollatingOrderName(int order)
{
    switch (order) {
    case 1033: return QStringLiteral("General (English, French, German, Portuguese, Italian, and Modern Spanish)");
    case 1024: return QStringLiteral("Neutral");
    case 1025: return QStringLiteral("Arabic");
    case 1049: return QStringLiteral("Russian");
    case 1029: return QStringLiteral("Czech");
    case 1043: return QStringLiteral("Dutch");
    case 1030: return QStringLiteral("Danish, Norwegian");
    case 1035: return QStringLiteral("Finnish, Swedish");
    case 1032: return QStringLiteral("Greek");
    case 1037: return QStringLiteral("Hebrew");
    case 1038: return QStringLiteral("Hungarian");
    case 1039: return QStringLiteral("Icelandic");
    case 1041: return QStringLiteral("Japanese");
    case 1042: return QStringLiteral("Korean");
    case 1045: return QStringLiteral("Polish");
    case 1034: return QStringLiteral("Traditional Spanish");
    case 1055: return QStringLiteral("Turkish");
    case 2052: return QStringLiteral("Chinese Simplified");
    case 1028: return QStringLiteral("Chinese Traditional");
    case 1054: return QStringLiteral("Thai");
    default: return QStringLiteral("Undefined or unknown");
    }
}
