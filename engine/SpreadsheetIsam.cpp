#include "engine/SpreadsheetIsam.h"
#include "engine/JetErrors.h"
#include "engine/Ole2File.h"
#include "engine/SharedStrings.h"

#include "engine/IsamFormats.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace dao::isam {
namespace {

bool isWorkbook(biff::Version v) { return v == biff::Version::Biff5 || v == biff::Version::Biff8; }

// Excel reads a workbook stream best when it is not kept in the compound
// file's small-block area (streams under 4096 bytes).
constexpr qint64 kMinimumStream = 4096;

} // namespace

QString sheetName(const QString& tableName)
{
    QString name = tableName;
    for (QChar& c : name)
        if (QStringLiteral("[]:*?/\\").contains(c))
            c = '_';
    name = name.left(31);
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

std::unique_ptr<TableWriter> openSpreadsheet(biff::Version version, const std::string& where, const std::string& table,
                                             const std::vector<Column>& columns)
{
    const QString target = QString::fromStdString(where);
    if (target.isEmpty() || QFileInfo(target).isDir()) {
        // A folder: the table names the file, as for Excel 3.0/4.0 in Jet.
        const QString file = targetFile(where, table, QStringLiteral(".xls"));
        return std::make_unique<SpreadsheetWriter>(file, QFileInfo(file).completeBaseName(), version, columns);
    }
    const QFileInfo info(target);
    if (!info.absoluteDir().exists())
        throw jet::invalidPath(where);
    if (info.exists())
        throw jet::tableExists(table);
    return std::make_unique<SpreadsheetWriter>(target, QString::fromStdString(table), version, columns);
}

SpreadsheetWriter::SpreadsheetWriter(const QString& file, const QString& name, biff::Version version,
                                     const std::vector<Column>& columns)
    : version_(version), file_(file), sheetName_(sheetName(name)), columns_(columns)
{
    if (columns_.size() > size_t(biff::kMaxColumns))
        throw jet::tooManyFields();
    staged_.add(file_); // claims the name's folder and checks it can be written before any row
    if (!cells_.open())
        throw jet::fileAccessDenied(cells_.fileTemplate().toStdString());
    if (version_ == biff::Version::Biff8)
        strings_ = std::make_unique<SharedStrings>();
    headerRow();
}

void SpreadsheetWriter::headerRow()
{
    const int number = int(sheets_.size()) + 1;
    // Further sheets are named as Excel names copies: "Katalog (2)".
    const QString suffix = number == 1 ? QString() : QStringLiteral(" (%1)").arg(number);
    sheets_.push_back({sheetName_.left(31 - int(suffix.size())) + suffix, 0, 0});
    row_ = 0;
    for (size_t i = 0; i < columns_.size(); ++i)
        textCell(int(i), QString::fromStdString(columns_[i].name));
}

SpreadsheetWriter::~SpreadsheetWriter() = default;

void SpreadsheetWriter::spool(const QByteArray& record)
{
    if (cells_.write(record) != record.size())
        throw jet::fileAccessDenied(cells_.fileName().toStdString());
}

void SpreadsheetWriter::textCell(int column, const QString& text)
{
    if (strings_)
        spool(biff::labelSstCell(row_, column, strings_->add(text)));
    else
        spool(biff::labelCell(version_, row_, column, text));
}

void SpreadsheetWriter::valueCell(int column, const Variant& v)
{
    using biff::CellFormat;
    auto number = [&](CellFormat f, double d) { spool(biff::numberCell(row_, column, biff::xfIndex(version_, f), d)); };
    switch (v.type()) {
    case VarType::Null: return;
    case VarType::Boolean: spool(biff::booleanCell(version_, row_, column, v.toBool())); return;
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double: number(CellFormat::General, v.toDouble()); return;
    case VarType::Currency: number(CellFormat::Money, v.toDouble()); return;
    case VarType::Date: {
        const double d = v.toDouble();
        number(d == std::floor(d) ? CellFormat::Date : CellFormat::DateTime, d);
        return;
    }
    case VarType::Text: textCell(column, QString::fromStdString(v.bytes())); return;
    case VarType::Binary:
        textCell(column, QString::fromLatin1(QByteArray::fromStdString(v.bytes()).toHex().toUpper()));
        return;
    case VarType::Guid: textCell(column, QString::fromStdString(v.guidText())); return;
    }
}

void SpreadsheetWriter::nextRow()
{
    if (++row_ < biff::maxRows(version_))
        return;
    if (!isWorkbook(version_))
        throw jet::spreadsheetFull();
    sheets_.back().rows = row_;
    sheets_.back().cellsEnd = cells_.pos();
    headerRow();
    row_ = 1;
}

void SpreadsheetWriter::writeRow(const std::vector<Variant>& values)
{
    nextRow();
    for (size_t i = 0; i < columns_.size() && i < values.size(); ++i)
        valueCell(int(i), values[i]);
}

void SpreadsheetWriter::writeWorksheetFile(const QString& path)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw jet::fileAccessDenied(file_.toStdString());
    QByteArray head = biff::worksheetFilePrologue(version_) + biff::dimensions(version_, row_ + 1, int(columns_.size()));
    bool ok = out.write(head) == head.size();
    cells_.seek(0);
    while (ok) {
        const QByteArray chunk = cells_.read(1 << 16);
        if (chunk.isEmpty())
            break;
        ok = out.write(chunk) == chunk.size();
    }
    const QByteArray tail = biff::window2(version_, true) + biff::eof();
    ok = ok && out.write(tail) == tail.size() && out.flush();
    if (!ok)
        throw jet::fileAccessDenied(file_.toStdString());
}

void SpreadsheetWriter::writeWorkbook(const QString& path)
{
    sheets_.back().rows = row_ + 1;
    sheets_.back().cellsEnd = cells_.pos();
    const QByteArray prologue = biff::globalsPrologue(version_);
    QIODevice* strings = strings_ ? &strings_->records() : nullptr;
    // Each sheet's substream: BOF, DIMENSIONS, its cells, WINDOW2 (the first
    // sheet selected), EOF.
    auto sheetHead = [&](const Sheet& s) { return biff::sheetBof(version_) + biff::dimensions(version_, s.rows, int(columns_.size())); };
    auto sheetTail = [&](size_t i) { return biff::window2(version_, i == 0) + biff::eof(); };
    qint64 offset = prologue.size() + (strings ? strings->size() : 0) + biff::eof().size();
    for (const Sheet& s : sheets_)
        offset += biff::boundSheet(version_, s.name, 0).size();
    QByteArray boundSheets;
    qint64 cellsStart = 0;
    for (size_t i = 0; i < sheets_.size(); ++i) {
        boundSheets += biff::boundSheet(version_, sheets_[i].name, std::uint32_t(offset));
        offset += sheetHead(sheets_[i]).size() + (sheets_[i].cellsEnd - cellsStart) + sheetTail(i).size();
        cellsStart = sheets_[i].cellsEnd;
    }

    Ole2File ole(path, version_ == biff::Version::Biff8 ? "Workbook" : "Book");
    ole.write(prologue + boundSheets);
    if (strings)
        ole.write(*strings);
    ole.write(biff::eof());
    cells_.seek(0);
    for (size_t i = 0; i < sheets_.size(); ++i) {
        ole.write(sheetHead(sheets_[i]));
        ole.write(cells_, sheets_[i].cellsEnd - cells_.pos());
        ole.write(sheetTail(i));
    }
    if (ole.written() < kMinimumStream)
        ole.write(QByteArray(int(kMinimumStream - ole.written()), '\0'));
    ole.close();
}

void SpreadsheetWriter::finish()
{
    if (isWorkbook(version_))
        writeWorkbook(staged_.temporaryPath(0));
    else
        writeWorksheetFile(staged_.temporaryPath(0));
    staged_.commit();
}

} // namespace dao::isam
