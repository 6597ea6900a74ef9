#pragma once
#include "engine/BiffRecords.h"
#include "engine/IsamWriter.h"
#include "engine/StagedFiles.h"

#include <QTemporaryFile>
#include <memory>

namespace dao::isam {

class SharedStrings;

// The rows of a table in an Excel file: BIFF3/BIFF4 worksheet files, BIFF5/BIFF8
// workbooks in an OLE2 compound file. The first row holds the field names;
// numbers, dates (with a date format), Booleans and text become cells of
// their kind, nulls stay empty. Cells are spooled to a temporary file and the
// file is assembled once the row count is known. Rows beyond what a sheet
// holds (65,536 in Excel 97, 16,384 in Excel 5.0) continue on further sheets
// of a workbook ("Name (2)" …, each with the field names again); a
// BIFF3/BIFF4 file holds one sheet of 16,384 rows, and more rows raise 3437
// and leave no file.
class SpreadsheetWriter : public TableWriter {
public:
    SpreadsheetWriter(const QString& file, const QString& sheetName, biff::Version version,
                      const std::vector<Column>& columns);
    ~SpreadsheetWriter() override;
    void writeRow(const std::vector<Variant>& values) override;
    void finish() override;

private:
    void nextRow();
    void headerRow();
    void textCell(int column, const QString& text);
    void valueCell(int column, const Variant& value);
    void spool(const QByteArray& record);
    void writeWorksheetFile(const QString& path);
    void writeWorkbook(const QString& path);

    struct Sheet {
        QString name;
        qint64 cellsEnd = 0; // where its cells end in the spool
        int rows = 0;
    };

    biff::Version version_;
    QString file_, sheetName_;
    std::vector<Column> columns_;
    std::vector<Sheet> sheets_;
    int row_ = 0; // the row being written, in the current sheet
    QTemporaryFile cells_;
    std::unique_ptr<SharedStrings> strings_;
    StagedFiles staged_;
};

// The writer for "Excel 3.0;" … "Excel 8.0;": where names the workbook file
// (as IN "C:\x\book.xls" does) or a folder holding one file per table.
std::unique_ptr<TableWriter> openSpreadsheet(biff::Version version, const std::string& where, const std::string& table,
                                             const std::vector<Column>& columns);

// A sheet name Excel accepts: at most 31 characters, none of []:*?/\ .
QString sheetName(const QString& tableName);

} // namespace dao::isam
