#pragma once
// The one adapter over libmdb: opens a genuine Access file (Jet 3 or Jet 4)
// read-only, lists its tables, reports their Jet schema and streams their rows
// as Variants. All of libmdb's types stay inside MdbFile.cpp.
#include "engine/TableSchema.h"
#include "engine/Variant.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dao {

class MdbFile {
public:
    // Raises 3343 when libmdb cannot read the file.
    explicit MdbFile(const std::string& path);
    ~MdbFile();
    MdbFile(const MdbFile&) = delete;
    MdbFile& operator=(const MdbFile&) = delete;

    const std::string& path() const { return path_; }
    bool isJet3() const;

    struct TableEntry {
        std::string name;
        bool system = false;
    };
    const std::vector<TableEntry>& tables() const { return tables_; }
    // The stored spelling of a table name (compared without regard to case), or "".
    std::string findTable(const std::string& name) const;

    TableSchema schema(const std::string& table);
    // The row count the table's definition records (a hint for reserving memory).
    size_t rowCount(const std::string& table);

    // Calls sink once per row with one value per column of schema(table).columns.
    // The sink may take the values (move them out); the next row refills the vector.
    using RowSink = std::function<void(std::vector<Variant>&)>;
    void readRows(const std::string& table, const RowSink& sink);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string path_;
    std::vector<TableEntry> tables_;
    void readObjectDates(TableSchema& schema);
};

} // namespace dao
