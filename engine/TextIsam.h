#pragma once
#include "engine/IsamFormats.h"

#include <QSaveFile>

namespace dao::isam {

// Text files (delimited or fixed length) described by schema.ini: the
// options of the file's section are read first, and the section is written
// back completed with the columns once the file is done.
class TextWriter : public TableWriter {
public:
    TextWriter(const std::string& folder, const std::string& table, const std::vector<Column>& columns);
    void writeRow(const std::vector<Variant>& values) override;
    void finish() override;

private:
    QString field(const QString& text, int column, bool quote) const;
    void writeLine(const QStringList& fields);
    void writeSchemaIni() const;

    QString folder_, fileName_;
    std::vector<Column> columns_;
    TextOptions options_;
    std::vector<int> widths_;
    QSaveFile file_;
};

} // namespace dao::isam
