#pragma once
// Opens recordsets: on SQL (a dynaset whose statement shows one local table's
// rows field for field is an editable keyset of its rowids in the query's
// order; other results are run and held in memory in the query's order) or on
// a table (a keyset of its rowids). Each recordset keeps its source, so that
// Requery and OpenRecordset build its statement again.
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
    // A recordset over a source with the Filter and Sort it gathered (Recordset::openRecordset).
    std::shared_ptr<Recordset> openSource(const RecordsetSource& source, int type, int options, int lockEdit) const;

    // The statement of a source: its SQL (a table's SELECT *), refined by each Filter and Sort in turn.
    sql::Statement statementOf(const RecordsetSource& source) const;

private:
    std::shared_ptr<Recordset> runSource(const RecordsetSource& source, int type, int options, int lockEdit,
                                         long maxRecords) const;
    std::shared_ptr<Recordset> runTable(const std::string& table, int type, int options, int lockEdit) const;
    // An editable keyset when the statement shows one local table's rows field for field; null otherwise.
    std::shared_ptr<Recordset> openKeyset(const RecordsetSource& source, const sql::Statement& st,
                                          const SqliteStatement& select, const std::vector<FieldInfo>& fields,
                                          int options, int lockEdit) const;

    std::shared_ptr<Storage> storage_;
};

// Checks the type and options of OpenRecordset (3001 for contradicting options, 3251 for dynamic).
void checkRecordsetArguments(int type, int options, int lockEdit);

} // namespace dao
