#pragma once
// Installable formats that SELECT … INTO … IN '<folder>' [<format>;] writes:
// one writer per target table, fed row by row. Nothing of the target exists
// until finish() completes; a writer dropped before that leaves no file.
#include "engine/DaoError.h"
#include "engine/Variant.h"
#include "engine/sql/JetTranslator.h"

#include <memory>
#include <string>
#include <vector>

namespace dao::isam {

struct Column {
    std::string name;
    sql::JetType type = sql::JetType::Text;
    int size = 0; // characters for Text
};

class TableWriter {
public:
    virtual ~TableWriter() = default;
    virtual void writeRow(const std::vector<Variant>& values) = 0;
    virtual void finish() = 0;
};

// The format name of a connect part: "HTML Export" of "HTML Export;DATABASE=x".
std::string formatName(const std::string& connect);

// The format names openWriter knows, as the registry lists installed formats.
std::vector<std::string> writableFormats();

// Opens the writer for table (as named after INTO, '#' standing for '.') of
// the format that connect names, in folder (or the DATABASE= of connect when
// folder is empty). Raises 3170 for a format that is not installed, 3044 for a
// missing folder, 3010 when the target file exists, 3442 for a bad schema.ini
// entry. The spreadsheet formats take the workbook file as folder (or a folder
// with one file per table).
std::unique_ptr<TableWriter> openWriter(const std::string& connect, const std::string& folder,
                                        const std::string& table, const std::vector<Column>& columns);

} // namespace dao::isam
