#pragma once
// A DAO Workspace: opens and creates databases and holds the transaction
// that spans them.
#include "engine/Collection.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"

#include <memory>
#include <string>

namespace dao {

class Workspace : public std::enable_shared_from_this<Workspace> {
public:
    Workspace(std::string name, std::string user, std::string password, int type);

    const std::string& name() const { return name_; }
    const std::string& userName() const { return user_; }
    int type() const { return type_; }

    // Options: the Exclusive flag (non-zero) for Jet. Connect: ";PWD=…" and the like;
    // a connect part naming another format ("Text;", "dBASE IV;") raises 3170.
    std::shared_ptr<Database> openDatabase(const std::string& name, int options = 0, bool readOnly = false,
                                           const std::string& connect = {});
    // ODBCDirect only: a connection to an ODBC data source, with OpenDatabase's
    // arguments (options: dbDriverNoPrompt and the like). The engine reaches no
    // ODBC driver manager, so every connection fails as an ODBC call does (3146);
    // a Jet workspace refuses the call (3251).
    std::shared_ptr<Database> openConnection(const std::string& name, int options = dbDriverNoPrompt,
                                             bool readOnly = false, const std::string& connect = {});
    // ODBCDirect only (3251 on a Jet workspace): the cursor library of later
    // connections, one of CursorDriverEnum.
    int defaultCursorDriver() const;
    void setDefaultCursorDriver(int driver);
    // A new, empty SQLite database (3204 if the file exists). Locale as dbLangGeneral.
    std::shared_ptr<Database> createDatabase(const std::string& file, const std::string& locale = dbLangGeneralText(),
                                             int options = 0);
    const Collection<Database>& databases() const { return databases_; }

    void beginTrans();
    void commitTrans(int options = 0);
    void rollback();

    void close();
    bool isOpen() const { return open_; }

private:
    static std::string dbLangGeneralText();
    void checkOpen() const;
    std::vector<std::shared_ptr<Database>> openDatabases() const;
    std::string name_;
    std::string user_;
    std::string password_;
    int type_;
    int cursorDriver_ = dbUseDefaultCursor;
    bool open_ = true;
    int level_ = 0; // open transaction levels (DAO allows five)
    Collection<Database> databases_;
};

} // namespace dao
