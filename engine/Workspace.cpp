#include "engine/Workspace.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/Storage.h"

#include <strings.h>

namespace dao {

Workspace::Workspace(std::string name, std::string user, std::string password, int type)
    : name_(std::move(name)), user_(std::move(user)), password_(std::move(password)), type_(type)
{
}

std::string Workspace::dbLangGeneralText() { return dbLangGeneral; }

void Workspace::checkOpen() const
{
    if (!open_)
        throw jet::objectInvalid();
}

std::vector<std::shared_ptr<Database>> Workspace::openDatabases() const
{
    std::vector<std::shared_ptr<Database>> out;
    for (const auto& d : databases_)
        if (d->isOpen())
            out.push_back(d);
    return out;
}

namespace {

// The format named before the connect string's first semicolon ("" for Jet's own).
std::string connectFormat(const std::string& connect)
{
    std::string type = connect.substr(0, connect.find(';'));
    const auto b = type.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    type = type.substr(b, type.find_last_not_of(' ') - b + 1);
    return strcasecmp(type.c_str(), "MS Access") == 0 ? std::string() : type;
}

} // namespace

std::shared_ptr<Database> Workspace::openDatabase(const std::string& name, int options, bool readOnly,
                                                  const std::string& connect)
{
    checkOpen();
    // ODBC data sources, named by the connect string or by an ODBCDirect workspace.
    if (const std::string format = connectFormat(connect); strcasecmp(format.c_str(), "ODBC") == 0 || type_ == dbUseODBC)
        throw jet::odbcCallFailed();
    else if (!format.empty())
        throw jet::isamNotFound(format);
    auto storage = Storage::open(name, options != 0, readOnly);
    auto db = std::make_shared<Database>(storage, name, connect, weak_from_this());
    databases_.append(db);
    // A transaction already open in this workspace spans the new database too.
    for (int level = 0; level < level_; ++level)
        storage->beginTrans();
    return db;
}

std::shared_ptr<Database> Workspace::openConnection(const std::string& name, int options, bool readOnly,
                                                    const std::string& connect)
{
    checkOpen();
    if (type_ != dbUseODBC)
        throw jet::notSupported();
    (void)name;
    (void)options;
    (void)readOnly;
    (void)connect;
    throw jet::odbcCallFailed();
}

int Workspace::defaultCursorDriver() const
{
    checkOpen();
    if (type_ != dbUseODBC)
        throw jet::notSupported();
    return cursorDriver_;
}

void Workspace::setDefaultCursorDriver(int driver)
{
    checkOpen();
    if (type_ != dbUseODBC)
        throw jet::notSupported();
    if (driver != dbUseDefaultCursor && (driver < dbUseODBCCursor || driver > dbUseNoCursor))
        throw jet::invalidArgument();
    cursorDriver_ = driver;
}

std::shared_ptr<Database> Workspace::createDatabase(const std::string& file, const std::string& locale, int options)
{
    checkOpen();
    (void)options; // every version option gives the engine's SQLite format
    if (strncasecmp(locale.c_str(), ";LANGID=", 8) != 0)
        throw jet::invalidLocale();
    auto storage = Storage::create(file);
    auto db = std::make_shared<Database>(storage, file, std::string(), weak_from_this());
    databases_.append(db);
    return db;
}

void Workspace::beginTrans()
{
    checkOpen();
    if (level_ >= 5)
        throw jet::tooManyTransactions();
    for (const auto& d : openDatabases())
        d->storage()->beginTrans();
    ++level_;
}

void Workspace::commitTrans(int)
{
    checkOpen();
    if (level_ == 0)
        throw jet::noTransaction();
    for (const auto& d : openDatabases())
        d->storage()->commitTrans();
    --level_;
}

void Workspace::rollback()
{
    checkOpen();
    if (level_ == 0)
        throw jet::noTransaction();
    for (const auto& d : openDatabases())
        d->storage()->rollback();
    --level_;
}

void Workspace::close()
{
    checkOpen();
    while (level_ > 0)
        rollback();
    for (const auto& d : openDatabases())
        d->close();
    databases_.clear();
    open_ = false;
}

} // namespace dao
