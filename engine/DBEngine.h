#pragma once
// DAO's DBEngine: engine settings, workspaces, and the default workspace's
// OpenDatabase/CreateDatabase. Versions "3.5" and "3.6" are both installed.
#include "engine/Collection.h"
#include "engine/Workspace.h"

#include <memory>
#include <string>

namespace dao {

class DBEngine {
public:
    explicit DBEngine(std::string version = "3.6", bool privateEngine = false);

    // The engine a ProgID names ("DAO.DBEngine.36", "DAO.PrivateDBEngine.35" …,
    // any case), as COM creates it; 429 for a ProgID that is not installed.
    static std::shared_ptr<DBEngine> create(const std::string& progId);

    const std::string& version() const { return version_; }
    static std::vector<std::string> installedVersions() { return {"3.5", "3.6"}; }
    // A private engine shares nothing with other clients of the same version.
    bool isPrivate() const { return private_; }
    std::string progId() const;

    const std::string& systemDB() const { return systemDB_; }
    void setSystemDB(std::string path) { systemDB_ = std::move(path); }
    const std::string& defaultUser() const { return defaultUser_; }
    void setDefaultUser(std::string user) { defaultUser_ = std::move(user); }
    const std::string& defaultPassword() const { return defaultPassword_; }
    void setDefaultPassword(std::string password) { defaultPassword_ = std::move(password); }
    int defaultType() const { return defaultType_; }
    void setDefaultType(int type);
    int loginTimeout() const { return loginTimeout_; }
    void setLoginTimeout(int seconds) { loginTimeout_ = seconds; }

    // Type dbUseJet (2) or dbUseODBC (1); 0 takes DefaultType.
    std::shared_ptr<Workspace> createWorkspace(const std::string& name, const std::string& user,
                                               const std::string& password, int type = 0);
    // Workspaces(0) is the default workspace, made on first use.
    Collection<Workspace>& workspaces();
    void appendWorkspace(std::shared_ptr<Workspace> ws);

    // Frees locks and refreshes caches in DAO; nothing is pending here, so it returns at once.
    void idle(int action = 0) { (void)action; }

    std::shared_ptr<Database> openDatabase(const std::string& name, int options = 0, bool readOnly = false,
                                           const std::string& connect = {});
    std::shared_ptr<Database> createDatabase(const std::string& file, const std::string& locale, int options = 0);

private:
    std::shared_ptr<Workspace> defaultWorkspace();
    std::string version_;
    bool private_ = false;
    std::string systemDB_;
    std::string defaultUser_ = "admin";
    std::string defaultPassword_;
    int defaultType_ = 2;
    int loginTimeout_ = 20;
    Collection<Workspace> workspaces_;
};

} // namespace dao
