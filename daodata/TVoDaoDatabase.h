#pragma once
// The connection component: one DAO engine, one workspace and at most one
// open database. Datasets point to it and register while they are open.
#include "daodata/TVoDaoDatasetLink.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace dao {
class DBEngine;
class Workspace;
class Database;
} // namespace dao

class TVoDaoDatabase {
public:
    using TNotifyEvent = std::function<void(TVoDaoDatabase* sender)>;
    using TLoginEvent = std::function<void(TVoDaoDatabase* sender, QStringList& loginParams)>;

    explicit TVoDaoDatabase(const QString& name = {});
    ~TVoDaoDatabase();
    TVoDaoDatabase(const TVoDaoDatabase&) = delete;
    TVoDaoDatabase& operator=(const TVoDaoDatabase&) = delete;

    QString Name;

    // While loading (between BeginLoad and EndLoad) setters store values only;
    // EndLoad creates engine and workspace when not connected.
    void BeginLoad() { loading_ = true; }
    void EndLoad();
    bool Loading() const { return loading_; }

    const QString& Database() const { return database_; }
    void SetDatabase(const QString& value);
    const QString& DatabaseType() const { return databaseType_; }
    void SetDatabaseType(const QString& value);
    const QString& DatabaseParameters() const { return databaseParameters_; }
    void SetDatabaseParameters(const QString& value);
    bool Connected() const { return connected_; }
    void SetConnected(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool Exclusive() const { return exclusive_; }
    void SetExclusive(bool value);
    bool LoginPrompt() const { return loginPrompt_; }
    void SetLoginPrompt(bool value);
    const QString& UserName() const { return userName_; }
    void SetUserName(const QString& value);
    const QString& Password() const { return password_; }
    void SetPassword(const QString& value);
    const QString& DatabasePassword() const { return databasePassword_; }
    void SetDatabasePassword(const QString& value);
    bool SaveUserName = true;
    const QString& SystemDatabase() const { return systemDatabase_; }
    void SetSystemDatabase(const QString& value);
    const QString& Workspace() const { return workspace_; }
    void SetWorkspace(const QString& value);
    int EngineType() const { return engineType_; }
    void SetEngineType(int value);
    bool PrivateEngine() const { return privateEngine_; }
    void SetPrivateEngine(bool value);
    const QString& Version() const { return version_; }
    void SetVersion(const QString& value);
    const QString& VersionDetails() const { return versionDetails_; }
    const QString& VersionInfo() const { return versionInfo_; }
    const QString& DatabaseVersionInfo() const { return databaseVersionInfo_; }
    const QString& DatabaseLanguage() const { return databaseLanguage_; }
    bool SmartOpen = true;
    bool MdbVersionAutoDetect = false;
    bool TrackTransactions() const { return trackTransactions_; }
    void SetTrackTransactions(bool value);
    int QueryTimeout = 60;
    int DefaultCursorDriver = -1; // put to ODBCDirect workspaces when they are made
    bool ShowSystemObjects() const { return showSystemObjects_; }
    void SetShowSystemObjects(bool value);
    bool UseODBCDialog = true;
    bool UsesDynaDao = false;
    QString ComponentVersion = QStringLiteral("7.70");
    // The folder a missing .mdb file is looked for in (with SmartOpen).
    QString ProgramFolder;

    TLoginEvent OnLogin;
    TNotifyEvent OnBeforeConnect, OnAfterConnect, OnBeforeDisconnect, OnAfterDisconnect;

    // Name lists, filled while connected.
    const QStringList& TableNames() const { return tableNames_; }
    const QStringList& QueryDefNames() const { return queryDefNames_; }
    const QStringList& AvailableVersions() const { return availableVersions_; }
    const QStringList& DatabaseTypes() const { return databaseTypes_; }
    const QStringList& ODBCDrivers() const { return odbcDrivers_; }
    const QStringList& ODBCUserDSNs() const { return odbcUserDSNs_; }
    const QStringList& ODBCSystemDSNs() const { return odbcSystemDSNs_; }
    QStringList LoginParams; // "USER NAME=…", "PASSWORD=…", "DBPASSWORD=…"
    const QStringList& TransactionList() const { return transactionList_; }
    void RefreshNameLists();
    // A saved query of the core database; the name lists are refreshed
    // after the creation and before and after the deletion.
    void CreateQueryDef(const QString& name, const QString& sqlText);
    void DeleteQueryDef(const QString& name);
    // A new, empty database file made by the engine of the core workspace
    // (locale as ";LANGID=0x0409;CP=1252;COUNTRY=0", format a dbVersion
    // value); it is closed again at once. Raises the engine's error, for
    // example when the file exists.
    void CreateDatabase(const QString& fileName, const QString& locale, int format);

    // The engine objects (empty when not made / not connected).
    std::shared_ptr<dao::DBEngine> CoreDBEngine() const { return engine_; }
    std::shared_ptr<dao::Workspace> CoreWorkspace() const { return coreWorkspace_; }
    std::shared_ptr<dao::Database> CoreDatabase() const { return coreDatabase_; }

    // Asks the engine to idle: release read locks and refresh its cache.
    void Idle();

    // Datasets register when they open and leave when they close.
    void AttachDataset(TVoDaoDatasetLink* dataset);
    void DetachDataset(TVoDaoDatasetLink* dataset);
    int AttachedDatasetCount() const { return int(datasets_.size()); }
    // Records an opening dataset in the current transaction level.
    void RecordTransaction(const QString& datasetName, const QString& value);

    // The ProgID the engine of a DAO version is created by: "DAO.DBEngine.36",
    // or "DAO.PrivateDBEngine.36" for a private engine.
    static QString EngineProgId(const QString& version, bool privateEngine);

    // The collating order as DAO describes it.
    static QString CollatingOrderName(int order);

private:
    void CheckDisconnected(const char* message) const;
    void CreateEngineAndWorkspace();
    void FillDatabaseTypes();
    void Connect();
    void Disconnect();
    bool GetCredentials(bool& cancelled);
    void OpenAccess(const QString& user, const QString& dbPassword);
    std::string ConnectPart(const QString& format) const;

    QString database_, databaseType_ = QStringLiteral("Access"), databaseParameters_;
    bool connected_ = false, readOnly_ = false, exclusive_ = false, loginPrompt_ = false;
    QString userName_ = QStringLiteral("Admin"), password_, databasePassword_, systemDatabase_;
    QString workspace_ = QStringLiteral("DaoWorkspace");
    int engineType_ = 2;
    bool privateEngine_ = false;
    QString version_, versionDetails_, versionInfo_ = QStringLiteral("(In Access'2000 mode)");
    QString databaseVersionInfo_, databaseLanguage_;
    bool trackTransactions_ = true, showSystemObjects_ = false;
    bool loading_ = false, connecting_ = false;

    std::shared_ptr<dao::DBEngine> engine_;
    std::shared_ptr<dao::Workspace> coreWorkspace_;
    std::shared_ptr<dao::Database> coreDatabase_;
    QStringList tableNames_, queryDefNames_, availableVersions_, databaseTypes_;
    QStringList odbcDrivers_, odbcUserDSNs_, odbcSystemDSNs_, transactionList_;
    std::vector<std::pair<QString, TVoDaoDatasetLink*>> datasets_;
};
