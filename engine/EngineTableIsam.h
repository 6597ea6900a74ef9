#pragma once
#include "engine/IsamWriter.h"
#include "engine/SqliteStatement.h"
#include "engine/StagedFiles.h"

#include <memory>

namespace dao {
class Storage;
}

namespace dao::isam {

// A table in a new engine database: SELECT … INTO [file].[table] when the
// file does not exist yet. The database is built under a temporary name,
// its rows inserted in one transaction, and it takes the file's name only
// once complete, so a failed export leaves no database behind.
class EngineTableWriter : public TableWriter {
public:
    EngineTableWriter(const std::string& file, const std::string& table, const std::vector<Column>& columns);
    ~EngineTableWriter() override;
    void writeRow(const std::vector<Variant>& values) override;
    void finish() override;

private:
    StagedFiles staged_;
    std::shared_ptr<Storage> storage_;
    std::unique_ptr<SqliteStatement> insert_;
};

} // namespace dao::isam
