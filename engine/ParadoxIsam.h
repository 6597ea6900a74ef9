#pragma once
#include "engine/IsamWriter.h"
#include "engine/PagedFile.h"
#include "engine/StagedFiles.h"

#include <cstdio>
#include <memory>

typedef struct px_doc pxdoc_t;

namespace dao::isam {

// A Paradox table (.db, with its memos in a .mb file) written through pxlib,
// in the layout and with the file version of Paradox 3.x, 4.x, 5.x or 7.x.
// Field types follow the version: Paradox 3 and 4 know alpha, number, money,
// short and date fields (Booleans become short 1/0, memos alpha text cut to
// 255 characters in Paradox 3); Paradox 5 and 7 add logical, long integer,
// timestamp. Text is Windows-1252.
class ParadoxWriter : public TableWriter {
public:
    // version: 3, 4, 5 or 7
    ParadoxWriter(const QString& file, int version, const std::vector<Column>& columns);
    ~ParadoxWriter() override;
    void writeRow(const std::vector<Variant>& values) override;
    void finish() override;

    struct Field {
        char type;
        int length;
        int offset;
    };

private:
    void open(const std::vector<Column>& columns);
    [[noreturn]] void fail() const;
    void close();

    int version_;
    QString file_;
    std::vector<Field> fields_;
    std::vector<char> record_;
    StagedFiles staged_;
    pxdoc_t* px_ = nullptr;
    FILE* table_ = nullptr;
    FILE* blobs_ = nullptr;
    std::unique_ptr<PagedFile> paged_;
    std::string error_; // pxlib's last complaint
};

// The writer for "Paradox 3.X;" … "Paradox 7.X;": the table names a file in folder.
std::unique_ptr<TableWriter> openParadox(int version, const std::string& folder, const std::string& table,
                                         const std::vector<Column>& columns);

// The byte at offset 0x39 of a table that names its file version.
int paradoxVersionByte(int version);

} // namespace dao::isam
