#pragma once
#include "engine/IsamFormats.h"

#include <QSaveFile>

namespace dao::isam {

// One HTML table per file: a caption with the table's name, a header row of
// field names and a row per record, in a declared character set (UTF-8
// unless the file's schema.ini section names another).
class HtmlWriter : public TableWriter {
public:
    HtmlWriter(const std::string& folder, const std::string& table, const std::vector<Column>& columns);
    void writeRow(const std::vector<Variant>& values) override;
    void finish() override;

private:
    void write(const QString& text);

    std::vector<Column> columns_;
    TextOptions options_;
    QString characterSet_;
    QSaveFile file_;
};

} // namespace dao::isam
