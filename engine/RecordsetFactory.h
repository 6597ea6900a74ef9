#pragma once
// Opens recordsets: on SQL (a dynaset over the plain columns of one local table
// is an editable keyset of its rowids in the query's order; other results are
// translated, run and held in memory in the query's order) or on a table (a
// keyset of its rowids). Each recordset keeps how to reopen itself for Requery.
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
    std::shared_ptr<Recordset> runQuery(const std::string& jetSql, const ParameterValues& values, int type,
                                        int options, int lockEdit, long maxRecords) const;
    std::shared_ptr<Recordset> runTable(const std::string& table, int type, int options, int lockEdit) const;
    // An editable keyset for a SELECT over the plain columns of one local table; null when it is not one.
    std::shared_ptr<Recordset> openQueryKeyset(const std::string& jetSql, const sql::Statement& st,
                                               const ParameterValues& values, const SqliteStatement& select,
                                               const std::vector<FieldInfo>& fields, int options, int lockEdit) const;

    std::shared_ptr<Storage> storage_;
};

// Checks the type and options of OpenRecordset (3001 for contradicting options, 3251 for dynamic).
void checkRecordsetArguments(int type, int options, int lockEdit);

} // namespace dao
