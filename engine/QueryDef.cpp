#include "engine/QueryDef.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/Metadata.h"
#include "engine/RecordsetFactory.h"
#include "engine/Storage.h"

#include <strings.h>

namespace dao {

QueryDef::QueryDef(std::shared_ptr<Storage> storage, std::string name, std::string sql, double created,
                   double updated)
    : storage_(std::move(storage)), name_(std::move(name)), sql_(std::move(sql)), created_(created), updated_(updated)
{
}

void QueryDef::checkOpen() const
{
    if (closed_ || !storage_->isOpen())
        throw jet::objectInvalid();
}

void QueryDef::setSql(const std::string& sql)
{
    checkOpen();
    sql_ = sql;
    parameters_.reset();
    if (!temporary()) {
        if (storage_->readOnly())
            throw jet::readOnly();
        updated_ = jetNow();
        storage_->metadata().saveQuery({name_, sql_, created_, updated_});
    }
}

int QueryDef::type() const
{
    checkOpen();
    using K = sql::StatementKind;
    switch (storage_->translate(sql_).kind) {
    case K::Select: return dbQSelect;
    case K::SelectInto: return dbQMakeTable;
    case K::Insert: return dbQAppend;
    case K::Update: return dbQUpdate;
    case K::Delete: return dbQDelete;
    default: return dbQDDL;
    }
}

Collection<Parameter>& QueryDef::parameters()
{
    checkOpen();
    if (!parameters_) {
        parameters_ = std::make_unique<Collection<Parameter>>();
        if (!sql_.empty())
            for (const auto& p : storage_->translate(sql_).parameters)
                parameters_->append(std::make_shared<Parameter>(p.name, static_cast<int>(p.type)));
    }
    return *parameters_;
}

ParameterValues QueryDef::values()
{
    ParameterValues out;
    if (!parameters_)
        return out;
    for (const auto& p : *parameters_)
        if (p->hasValue())
            out.emplace_back(p->name(), p->value());
    return out;
}

std::shared_ptr<Recordset> QueryDef::openRecordset(int type, int options, int lockEdit)
{
    checkOpen();
    return RecordsetFactory(storage_).openQuery(sql_, values(), type, options, lockEdit, maxRecords_);
}

void QueryDef::execute(int options)
{
    checkOpen();
    const sql::Statement st = storage_->translate(sql_);
    recordsAffected_ = storage_->execute(st, values(), (options & dbFailOnError) != 0);
}

} // namespace dao
