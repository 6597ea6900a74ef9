#pragma once
// Opens recordsets: on SQL (translated, run and held in memory in the query's
// order) or on a table (a keyset of its rowids).
#include "engine/Recordset.h"
#include "engine/Storage.h"

#include <memory>
#include <string>

namespace dao {

class RecordsetFactory {
public:
    explicit RecordsetFactory(std::shared_ptr<Storage> storage) : storage_(std::move(storage)) {}

    std::shared_ptr<Recordset> openQuery(const std::string& jetSql, const ParameterValues& values, int type,
                                         int options, int lockEdit, long maxRecords = 0) const;
    std::shared_ptr<Recordset> openTable(const std::string& table, int type, int options, int lockEdit) const;

    // The fields of a prepared SELECT, typed from the Jet metadata of the columns they come from.
    std::vector<FieldInfo> resultFields(const SqliteStatement& select) const;

private:
    std::shared_ptr<Storage> storage_;
};

// Checks the type and options of OpenRecordset (3001 for contradicting options, 3251 for dynamic).
void checkRecordsetArguments(int type, int options, int lockEdit);

} // namespace dao
