#pragma once
#include "engine/DbfMemoFile.h"
#include "engine/IsamWriter.h"
#include "engine/StagedFiles.h"

#include <QFile>
#include <memory>

namespace dao::isam {

enum class DbfFlavour { DBase3, DBase4, DBase5, FoxPro20, FoxPro25, FoxPro26, VisualFoxPro };

// A .dbf table of dBase III/IV/5.0 or FoxPro 2.x, or a Visual FoxPro table
// (FoxPro 3.0), with its memo file when a column is a memo. Field names are
// cut to ten characters without clashes; text is Windows-1252, marked so in
// the header. Rows stream to the file; the record count is written at the end.
class DbfWriter : public TableWriter {
public:
    DbfWriter(const QString& file, DbfFlavour flavour, const std::vector<Column>& columns);
    ~DbfWriter() override;
    void writeRow(const std::vector<Variant>& values) override;
    void finish() override;

    struct Field {
        QString name;
        char type = 'C';
        int length = 0, decimals = 0;
        int offset = 0;    // in the record, after the deletion flag
        int nullBit = -1;  // Visual FoxPro: bit in the null flags, -1 when not nullable
    };

private:
    void writeHeader();
    void put(QByteArray& record, const Field& f, const Variant& value, QByteArray& nullFlags);

    DbfFlavour flavour_;
    std::vector<Field> fields_;
    Field nullFlagsField_; // Visual FoxPro's hidden _NullFlags
    int recordLength_ = 1;
    std::uint32_t records_ = 0;
    StagedFiles staged_;
    QFile file_;
    std::unique_ptr<DbfMemoFile> memo_;
};

// The writer for "dBase III;" … "FoxPro 3.0;": the table names a file in folder.
std::unique_ptr<TableWriter> openDbf(DbfFlavour flavour, const std::string& folder, const std::string& table,
                                     const std::vector<Column>& columns);

} // namespace dao::isam
