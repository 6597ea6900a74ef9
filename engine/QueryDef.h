#pragma once
// A DAO QueryDef: a saved query (kept in the metadata of the database) or a
// temporary one (empty name). Its Parameters are the names declared by
// PARAMETERS and then those no table of the statement has, as the translator
// lists them.
#include "engine/Collection.h"
#include "engine/Parameter.h"
#include "engine/Recordset.h"
#include "engine/Storage.h"

#include <memory>
#include <string>

namespace dao {

class Storage;

class QueryDef {
public:
    QueryDef(std::shared_ptr<Storage> storage, std::string name, std::string sql, double created = 0,
             double updated = 0);

    const std::string& name() const { return name_; }
    const std::string& sql() const { return sql_; }
    void setSql(const std::string& sql); // saved at once for a named query
    int type() const;                   // QueryDefTypeEnum
    long maxRecords() const { return maxRecords_; }
    void setMaxRecords(long n) { maxRecords_ = n; }
    int odbcTimeout() const { return odbcTimeout_; }
    void setOdbcTimeout(int seconds) { odbcTimeout_ = seconds; }
    long recordsAffected() const { return recordsAffected_; }
    Variant dateCreated() const { return Variant::date(created_); }
    Variant lastUpdated() const { return Variant::date(updated_); }
    bool temporary() const { return name_.empty(); }

    Collection<Parameter>& parameters();
    std::shared_ptr<Parameter> parameter(const std::string& name) { return parameters().item(name); }

    std::shared_ptr<Recordset> openRecordset(int type = 0, int options = 0, int lockEdit = 0);
    void execute(int options = 0);
    void close() { closed_ = true; }

private:
    ParameterValues values();
    void checkOpen() const;
    std::shared_ptr<Storage> storage_;
    std::string name_;
    std::string sql_;
    double created_;
    double updated_;
    long maxRecords_ = 0;
    int odbcTimeout_ = 60;
    long recordsAffected_ = 0;
    bool closed_ = false;
    std::unique_ptr<Collection<Parameter>> parameters_;
};

} // namespace dao
