#include "engine/DbfIsam.h"
#include "engine/IsamFormats.h"
#include "engine/IsamNames.h"
#include "engine/JetErrors.h"
#include "platform/CodePages.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <cstring>

namespace dao::isam {
namespace {

using sql::JetType;

constexpr int kMaxFields = 255;
constexpr int kMaxRecordLength = 65500;
constexpr std::uint32_t kJulianDay18991230 = 2415019;

bool visual(DbfFlavour f) { return f == DbfFlavour::VisualFoxPro; }
bool foxPro(DbfFlavour f)
{
    return f == DbfFlavour::FoxPro20 || f == DbfFlavour::FoxPro25 || f == DbfFlavour::FoxPro26 || visual(f);
}

void putLe(QByteArray& b, int at, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// The field a Jet column becomes.
DbfWriter::Field fieldFor(const Column& c, DbfFlavour flavour)
{
    DbfWriter::Field f;
    const bool vfp = visual(flavour);
    switch (c.type) {
    case JetType::Boolean: f.type = 'L'; f.length = 1; break;
    case JetType::Byte: f.type = 'N'; f.length = 3; break;
    case JetType::Integer: f.type = 'N'; f.length = 6; break;
    case JetType::Long:
        if (vfp) { f.type = 'I'; f.length = 4; } else { f.type = 'N'; f.length = 11; }
        break;
    case JetType::BigInt: f.type = 'N'; f.length = 20; break;
    case JetType::Currency:
        if (vfp) { f.type = 'Y'; f.length = 8; f.decimals = 4; } else { f.type = 'N'; f.length = 20; f.decimals = 4; }
        break;
    case JetType::Single:
    case JetType::Double:
    case JetType::Float:
    case JetType::Numeric:
    case JetType::Decimal:
        if (vfp) { f.type = 'B'; f.length = 8; f.decimals = 6; } else { f.type = 'N'; f.length = 20; f.decimals = 6; }
        break;
    case JetType::Date:
    case JetType::Time:
    case JetType::TimeStamp:
        if (vfp) { f.type = 'T'; f.length = 8; } else { f.type = 'D'; f.length = 8; }
        break;
    case JetType::Memo:
    case JetType::Binary:
    case JetType::VarBinary:
    case JetType::LongBinary: f.type = 'M'; f.length = vfp ? 4 : 10; break;
    case JetType::Guid: f.type = 'C'; f.length = 38; break;
    case JetType::Text:
    case JetType::Char: f.type = 'C'; f.length = std::clamp(c.size > 0 ? c.size : 255, 1, 254); break;
    }
    return f;
}

// A number right-aligned in its width; fewer decimals when the width is
// short, 3349 when even the whole part does not fit.
QByteArray numberText(double v, const DbfWriter::Field& f)
{
    for (int d = f.decimals; d >= 0; --d) {
        const QByteArray t = QByteArray::number(v, 'f', d);
        if (t.size() <= f.length)
            return t.rightJustified(f.length, ' ');
    }
    throw jet::numericOverflow();
}

QByteArray dateText(double days)
{
    const QDate d = QDate(1899, 12, 30).addDays(qint64(std::floor(days)));
    return d.toString(QStringLiteral("yyyyMMdd")).toLatin1();
}

DbfMemoFile::Layout memoLayout(DbfFlavour f)
{
    if (foxPro(f))
        return DbfMemoFile::Layout::FoxPro;
    return f == DbfFlavour::DBase3 ? DbfMemoFile::Layout::DBase3 : DbfMemoFile::Layout::DBase4;
}

} // namespace

std::unique_ptr<TableWriter> openDbf(DbfFlavour flavour, const std::string& folder, const std::string& table,
                                     const std::vector<Column>& columns)
{
    return std::make_unique<DbfWriter>(targetFile(folder, table, QStringLiteral(".dbf")), flavour, columns);
}

DbfWriter::DbfWriter(const QString& file, DbfFlavour flavour, const std::vector<Column>& columns) : flavour_(flavour)
{
    if (columns.size() > size_t(kMaxFields))
        throw jet::tooManyFields();
    QStringList names;
    for (const Column& c : columns)
        names << QString::fromStdString(c.name);
    names = shortFieldNames(names, 10, [](QChar c) { return c.unicode() < 128 && (c.isLetterOrNumber() || c == '_'); });
    bool memo = false;
    int nullable = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        Field f = fieldFor(columns[i], flavour_);
        f.name = names[int(i)].toUpper();
        f.offset = recordLength_;
        recordLength_ += f.length;
        if (visual(flavour_))
            f.nullBit = nullable++;
        memo = memo || f.type == 'M';
        fields_.push_back(f);
    }
    if (nullable > 0) {
        nullFlagsField_ = {QStringLiteral("_NullFlags"), '0', (nullable + 7) / 8, 0, recordLength_, -1};
        recordLength_ += nullFlagsField_.length;
    }
    if (recordLength_ > kMaxRecordLength)
        throw jet::tooManyFields();

    const QFileInfo info(file);
    file_.setFileName(staged_.add(file));
    if (memo) {
        // The memo file's extension follows the case of the table's.
        QString extension = foxPro(flavour_) ? QStringLiteral(".fpt") : QStringLiteral(".dbt");
        if (!info.suffix().isEmpty() && info.suffix() == info.suffix().toUpper())
            extension = extension.toUpper();
        const QString memoPath = info.absoluteDir().filePath(info.completeBaseName() + extension);
        memo_ = std::make_unique<DbfMemoFile>(staged_.add(memoPath), memoLayout(flavour_), info.completeBaseName());
    }
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw jet::fileAccessDenied(file.toStdString());
    writeHeader();
}

DbfWriter::~DbfWriter() = default;

void DbfWriter::writeHeader()
{
    std::vector<Field> all = fields_;
    if (nullFlagsField_.length > 0)
        all.push_back(nullFlagsField_);
    const int backlink = visual(flavour_) ? 263 : 0;
    const int headerLength = 32 + 32 * int(all.size()) + 1 + backlink;
    QByteArray h(32, '\0');
    unsigned char version = 0x03;
    if (visual(flavour_))
        version = 0x30;
    else if (memo_)
        version = foxPro(flavour_) ? 0xF5 : flavour_ == DbfFlavour::DBase3 ? 0x83 : 0x8B;
    h[0] = char(version);
    const QDate today = QDate::currentDate();
    h[1] = char(today.year() - 1900);
    h[2] = char(today.month());
    h[3] = char(today.day());
    putLe(h, 4, records_, 4);
    putLe(h, 8, std::uint64_t(headerLength), 2);
    putLe(h, 10, std::uint64_t(recordLength_), 2);
    if (visual(flavour_) && memo_)
        h[28] = 0x02; // the table has a memo file
    // Code page mark: Windows ANSI (1252); dBase IV and 5.0 name it with their own driver id.
    h[29] = char(flavour_ == DbfFlavour::DBase4 || flavour_ == DbfFlavour::DBase5 ? 0x57 : 0x03);
    for (const Field& f : all) {
        QByteArray d(32, '\0');
        d.replace(0, 11, f.name.toLatin1().left(10).leftJustified(11, '\0'));
        d[11] = f.type;
        if (visual(flavour_))
            putLe(d, 12, std::uint64_t(f.offset), 4);
        d[16] = char(f.length);
        d[17] = char(f.decimals);
        if (visual(flavour_))
            d[18] = char(f.type == '0' ? 0x05 : f.nullBit >= 0 ? 0x02 : 0x00);
        h += d;
    }
    h += '\x0D';
    h += QByteArray(backlink, '\0');
    if (!file_.seek(0) || file_.write(h) != h.size())
        throw jet::fileAccessDenied(file_.fileName().toStdString());
}

void DbfWriter::put(QByteArray& record, const Field& f, const Variant& v, QByteArray& nullFlags)
{
    char* at = record.data() + f.offset;
    if (v.isNull()) {
        if (f.nullBit >= 0)
            nullFlags[f.nullBit / 8] = char(nullFlags[f.nullBit / 8] | (1 << (f.nullBit % 8)));
        // Without null flags a blank field reads as empty, and a logical as unknown.
        if (f.type == 'L')
            *at = '?';
        else if (f.type == 'I' || f.type == 'Y' || f.type == 'B' || f.type == 'T' || (f.type == 'M' && f.length == 4))
            std::memset(at, 0, size_t(f.length));
        return;
    }
    switch (f.type) {
    case 'C': {
        const QByteArray t = platform::toCp1252(QString::fromStdString(v.type() == VarType::Guid ? v.guidText() : v.toText()));
        std::memcpy(at, t.constData(), size_t(std::min<qsizetype>(t.size(), f.length)));
        return;
    }
    case 'N': {
        const QByteArray t = numberText(v.toDouble(), f);
        std::memcpy(at, t.constData(), size_t(f.length));
        return;
    }
    case 'L': *at = v.toBool() ? 'T' : 'F'; return;
    case 'D': std::memcpy(at, dateText(v.toDouble()).constData(), 8); return;
    case 'I': putLe(record, f.offset, std::uint32_t(v.toLong()), 4); return;
    case 'Y': putLe(record, f.offset, std::uint64_t(std::llround(v.toDouble() * 10000.0)), 8); return;
    case 'B': {
        const double d = v.toDouble();
        std::uint64_t bits;
        std::memcpy(&bits, &d, 8);
        putLe(record, f.offset, bits, 8);
        return;
    }
    case 'T': {
        const double days = v.toDouble();
        const double whole = std::floor(days);
        const auto ms = std::llround((days - whole) * 86400000.0);
        putLe(record, f.offset, std::uint32_t(kJulianDay18991230 + std::int64_t(whole)), 4);
        putLe(record, f.offset + 4, std::uint32_t(ms), 4);
        return;
    }
    case 'M': {
        const QByteArray data = v.type() == VarType::Binary ? QByteArray::fromStdString(v.bytes())
                                                            : platform::toCp1252(QString::fromStdString(v.toText()));
        if (data.isEmpty())
            return; // no block: an empty memo
        const std::uint32_t block = memo_->append(data);
        if (f.length == 4)
            putLe(record, f.offset, block, 4);
        else
            std::memcpy(at, QByteArray::number(block).rightJustified(10, ' ').constData(), 10);
        return;
    }
    }
}

void DbfWriter::writeRow(const std::vector<Variant>& values)
{
    QByteArray record(recordLength_, ' ');
    QByteArray nullFlags(nullFlagsField_.length, '\0');
    for (size_t i = 0; i < fields_.size(); ++i)
        put(record, fields_[i], i < values.size() ? values[i] : Variant(), nullFlags);
    if (nullFlagsField_.length > 0)
        record.replace(nullFlagsField_.offset, nullFlags.size(), nullFlags);
    if (file_.write(record) != record.size())
        throw jet::fileAccessDenied(file_.fileName().toStdString());
    ++records_;
}

void DbfWriter::finish()
{
    if (file_.write("\x1A", 1) != 1)
        throw jet::fileAccessDenied(file_.fileName().toStdString());
    writeHeader(); // now with the record count
    if (!file_.flush())
        throw jet::fileAccessDenied(file_.fileName().toStdString());
    file_.close();
    if (memo_)
        memo_->finish();
    staged_.commit();
}

} // namespace dao::isam
