#pragma once
// A DAO Database: an open database file (SQLite read-write, Access read-only).
#include "engine/Collection.h"
#include "engine/QueryDef.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"

#include <memory>
#include <string>

namespace dao {

class Storage;
class Workspace;

class Database : public std::enable_shared_from_this<Database> {
public:
    Database(std::shared_ptr<Storage> storage, std::string name, std::string connect, std::weak_ptr<Workspace> ws);

    const std::string& name() const { return name_; }
    const std::string& connect() const { return connect_; }
    std::string version() const;  // "4.0" (Jet 4 and engine-made), "3.0" (Jet 3)
    int collatingOrder() const;   // dbSortGeneral
    bool updatable() const;
    int queryTimeout() const { return queryTimeout_; }
    void setQueryTimeout(int seconds);

    // Source: a table name, a saved query's name or SQL text. Type 0 picks as DAO
    // does: table type for a local table, dynaset otherwise.
    std::shared_ptr<Recordset> openRecordset(const std::string& source, int type = 0, int options = 0,
                                             int lockEdit = 0);
    // What OpenRecordset on source followed by Sort and OpenRecordset gives, in one
    // open: the sorted statement runs, the unsorted one never does. The arguments
    // are checked as the first OpenRecordset checks them.
    std::shared_ptr<Recordset> openSorted(const std::string& source, const std::string& sort, int type = 0,
                                          int options = 0, int lockEdit = 0);
    // Runs an action query or DDL; a SELECT raises 3065.
    void execute(const std::string& sql, int options = 0);
    long recordsAffected() const { return recordsAffected_; }

    Collection<QueryDef>& queryDefs();
    // A named query definition is saved at once (3012 if the name is taken); "" makes a temporary one.
    std::shared_ptr<QueryDef> createQueryDef(const std::string& name = {}, const std::string& sql = {});
    void deleteQueryDef(const std::string& name); // QueryDefs.Delete
    Collection<TableDef>& tableDefs();

    // Transactions belong to the workspace in DAO; these forward to this database's storage.
    void beginTrans();
    void commitTrans();
    void rollback();

    void close();
    bool isOpen() const;
    std::shared_ptr<Storage> storage() const; // 3420 once closed

private:
    std::shared_ptr<Storage> storage_;
    std::string name_;
    std::string connect_;
    std::weak_ptr<Workspace> workspace_;
    int queryTimeout_ = 60;
    long recordsAffected_ = 0;
    std::unique_ptr<Collection<QueryDef>> queryDefs_;
    std::unique_ptr<Collection<TableDef>> tableDefs_;
};

} // namespace dao
