#include "engine/Database.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/Metadata.h"
#include "engine/RecordsetFactory.h"
#include "engine/Storage.h"
#include "engine/Workspace.h"

#include <cctype>
#include <strings.h>

namespace dao {

Database::Database(std::shared_ptr<Storage> storage, std::string name, std::string connect,
                   std::weak_ptr<Workspace> ws)
    : storage_(std::move(storage)), name_(std::move(name)), connect_(std::move(connect)), workspace_(std::move(ws))
{
}

std::shared_ptr<Storage> Database::storage() const
{
    if (!storage_ || !storage_->isOpen())
        throw jet::objectInvalid();
    return storage_;
}

bool Database::isOpen() const { return storage_ && storage_->isOpen(); }

std::string Database::version() const { return storage()->isJet3() ? "3.0" : "4.0"; }

int Database::collatingOrder() const
{
    storage();
    return dbSortGeneral;
}

bool Database::updatable() const { return !storage()->readOnly(); }

void Database::setQueryTimeout(int seconds)
{
    storage();
    if (seconds < 0)
        throw jet::invalidArgument();
    queryTimeout_ = seconds;
}

namespace {

// SQL text rather than a table or query name: it starts with a statement keyword or a parenthesis.
bool looksLikeSql(const std::string& source)
{
    size_t b = source.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return false;
    if (source[b] == '(')
        return true;
    size_t e = b;
    while (e < source.size() && std::isalpha(static_cast<unsigned char>(source[e])))
        ++e;
    const std::string word = source.substr(b, e - b);
    for (const char* k : {"SELECT", "TRANSFORM", "PARAMETERS", "INSERT", "UPDATE", "DELETE", "CREATE", "DROP", "ALTER"})
        if (strcasecmp(word.c_str(), k) == 0 && (e == source.size() || !std::isalnum(static_cast<unsigned char>(source[e]))))
            return true;
    return false;
}

} // namespace

std::shared_ptr<Recordset> Database::openRecordset(const std::string& source, int type, int options, int lockEdit)
{
    auto s = storage();
    RecordsetFactory factory(s);
    if (looksLikeSql(source))
        return factory.openQuery(source, {}, type, options, lockEdit);
    if (auto q = queryDefs().find(source))
        return q->openRecordset(type == 0 ? dbOpenDynaset : type, options, lockEdit);
    return factory.openTable(source, type, options, lockEdit);
}

std::shared_ptr<Recordset> Database::openSorted(const std::string& source, const std::string& sort, int type,
                                               int options, int lockEdit)
{
    auto s = storage();
    const bool forwardOnly = type == dbOpenForwardOnly || (options & dbForwardOnly);
    if (!looksLikeSql(source) || sort.empty() || type == dbOpenTable || forwardOnly) {
        auto rs = openRecordset(source, type, options, lockEdit);
        if (sort.empty())
            return rs;
        rs->setSort(sort);
        auto sorted = rs->openRecordset(type, options);
        rs->close();
        return sorted;
    }
    checkRecordsetArguments(type, options, lockEdit);
    // The sorted copy locks its rows as its source would.
    const int sortedLock = lockEdit == 0 || lockEdit == dbPessimistic ? dbPessimistic : dbOptimistic;
    return RecordsetFactory(s).openSource(RecordsetSource{source, false, {{std::string(), sort}}, {}},
                                          type == 0 ? static_cast<int>(dbOpenDynaset) : type, options, sortedLock);
}

void Database::execute(const std::string& sql, int options)
{
    auto s = storage();
    if ((options & dbInconsistent) && (options & dbConsistent))
        throw jet::invalidArgument();
    const sql::Statement st = s->translate(sql);
    recordsAffected_ = 0;
    recordsAffected_ = s->execute(st, {}, (options & dbFailOnError) != 0);
    if (st.kind == sql::StatementKind::CreateTable || st.kind == sql::StatementKind::DropTable)
        if (tableDefs_)
            tableDefs_->refresh();
}

Collection<QueryDef>& Database::queryDefs()
{
    storage();
    if (!queryDefs_) {
        std::weak_ptr<Storage> weak = storage_;
        queryDefs_ = std::make_unique<Collection<QueryDef>>([weak]() {
            std::vector<std::shared_ptr<QueryDef>> out;
            auto s = weak.lock();
            if (!s || !s->isOpen())
                throw jet::objectInvalid();
            // Access files keep the queries saved while they are open in memory.
            if (s->metadata().present())
                for (const auto& q : s->metadata().queries())
                    out.push_back(std::make_shared<QueryDef>(s, q.name, q.sql, q.dateCreated, q.lastUpdated));
            return out;
        });
    }
    return *queryDefs_;
}

std::shared_ptr<QueryDef> Database::createQueryDef(const std::string& name, const std::string& sql)
{
    auto s = storage();
    if (name.empty())
        return std::make_shared<QueryDef>(s, "", sql, jetNow(), jetNow());
    // An Access file cannot be written: its saved queries live as long as the
    // database is open (the export makes and drops one within one call).
    if (s->readOnly() && s->kind() != Storage::Kind::Access)
        throw jet::readOnly();
    if (queryDefs().contains(name))
        throw jet::objectExists(name);
    for (const auto& t : s->tableNames(true))
        if (strcasecmp(t.c_str(), name.c_str()) == 0)
            throw jet::objectExists(name);
    if (!sql.empty())
        s->translate(sql); // a query that does not translate is not saved
    const double now = jetNow();
    Metadata meta = s->metadata();
    if (!meta.present())
        meta.create();
    meta.saveQuery({name, sql, now, now});
    auto q = std::make_shared<QueryDef>(s, name, sql, now, now);
    queryDefs().append(q);
    return q;
}

void Database::deleteQueryDef(const std::string& name)
{
    auto s = storage();
    auto q = queryDefs().item(name);
    if (s->readOnly() && s->kind() != Storage::Kind::Access)
        throw jet::readOnly();
    s->metadata().deleteQuery(q->name());
    queryDefs().removeItem(q->name());
    q->close();
}

Collection<TableDef>& Database::tableDefs()
{
    storage();
    if (!tableDefs_) {
        std::weak_ptr<Storage> weak = storage_;
        tableDefs_ = std::make_unique<Collection<TableDef>>([weak]() {
            std::vector<std::shared_ptr<TableDef>> out;
            auto s = weak.lock();
            if (!s || !s->isOpen())
                throw jet::objectInvalid();
            for (const auto& name : s->tableNames(true))
                if (auto schema = s->tableSchema("main", name))
                    out.push_back(std::make_shared<TableDef>(s, *schema));
            return out;
        });
    }
    return *tableDefs_;
}

void Database::beginTrans()
{
    auto s = storage();
    if (auto ws = workspace_.lock(); ws && ws->isOpen())
        ws->beginTrans();
    else
        s->beginTrans();
}

void Database::commitTrans()
{
    auto s = storage();
    if (auto ws = workspace_.lock(); ws && ws->isOpen())
        ws->commitTrans();
    else
        s->commitTrans();
}

void Database::rollback()
{
    auto s = storage();
    if (auto ws = workspace_.lock(); ws && ws->isOpen())
        ws->rollback();
    else
        s->rollback();
}

void Database::close()
{
    if (!storage_ || !storage_->isOpen())
        throw jet::objectInvalid();
    storage_->close();
    queryDefs_.reset();
    tableDefs_.reset();
}

} // namespace dao
