#include "engine/DBEngine.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "platform/Registry.h"

#include <algorithm>
#include <strings.h>

namespace dao {

DBEngine::DBEngine(std::string version, bool privateEngine) : version_(std::move(version)), private_(privateEngine)
{
    if (version_ != "3.5" && version_ != "3.6")
        throw jet::error(429, {}, "DAO.DBEngine");
}

std::shared_ptr<DBEngine> DBEngine::create(const std::string& progId)
{
    for (const bool privateEngine : {false, true})
        for (const std::string& version : installedVersions()) {
            const std::string name = DBEngine(version, privateEngine).progId();
            if (strcasecmp(name.c_str(), progId.c_str()) == 0
                && platform::Registry::progIdInstalled(QString::fromStdString(name)))
                return std::make_shared<DBEngine>(version, privateEngine);
        }
    throw jet::error(429, {}, progId);
}

std::string DBEngine::progId() const
{
    std::string digits = version_;
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    return (private_ ? "DAO.PrivateDBEngine." : "DAO.DBEngine.") + digits;
}

void DBEngine::setDefaultType(int type)
{
    if (type != dbUseJet && type != dbUseODBC)
        throw jet::invalidArgument();
    defaultType_ = type;
}

std::shared_ptr<Workspace> DBEngine::createWorkspace(const std::string& name, const std::string& user,
                                                     const std::string& password, int type)
{
    if (type == 0)
        type = defaultType_;
    if (type != dbUseJet && type != dbUseODBC)
        throw jet::invalidArgument();
    return std::make_shared<Workspace>(name, user, password, type);
}

Collection<Workspace>& DBEngine::workspaces()
{
    if (workspaces_.count() == 0)
        workspaces_.append(createWorkspace("#Default Workspace#", defaultUser_, defaultPassword_, dbUseJet));
    return workspaces_;
}

void DBEngine::appendWorkspace(std::shared_ptr<Workspace> ws)
{
    if (!ws)
        throw jet::invalidArgument();
    if (!ws->name().empty() && workspaces().contains(ws->name()))
        throw jet::objectExists(ws->name());
    workspaces_.append(std::move(ws));
}

std::shared_ptr<Workspace> DBEngine::defaultWorkspace() { return workspaces().item(0); }

std::shared_ptr<Database> DBEngine::openDatabase(const std::string& name, int options, bool readOnly,
                                                 const std::string& connect)
{
    return defaultWorkspace()->openDatabase(name, options, readOnly, connect);
}

std::shared_ptr<Database> DBEngine::createDatabase(const std::string& file, const std::string& locale, int options)
{
    return defaultWorkspace()->createDatabase(file, locale, options);
}

} // namespace dao
