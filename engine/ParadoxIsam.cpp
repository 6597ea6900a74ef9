#include "engine/ParadoxIsam.h"
#include "engine/IsamFormats.h"
#include "engine/IsamNames.h"
#include "engine/JetErrors.h"
#include "platform/CodePages.h"

#include <QDate>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <cmath>

extern "C" {
#include <paradox.h>
}

namespace dao::isam {
namespace {

using sql::JetType;

constexpr int kMaxNameLength = 25;
constexpr int kMemoLength = 50;  // in the record: 40 bytes of the text and the reference into the .mb file
constexpr long kGregorianDay1 = 1721425; // Julian day before 1 January 0001, Paradox's day 0

ParadoxWriter::Field fieldFor(const Column& c, int version)
{
    const bool modern = version >= 5; // logical, long integer and timestamp fields
    switch (c.type) {
    case JetType::Boolean: return modern ? ParadoxWriter::Field{pxfLogical, 1, 0} : ParadoxWriter::Field{pxfShort, 2, 0};
    case JetType::Byte:
    case JetType::Integer: return {pxfShort, 2, 0};
    case JetType::Long: return modern ? ParadoxWriter::Field{pxfLong, 4, 0} : ParadoxWriter::Field{pxfNumber, 8, 0};
    case JetType::Currency: return {pxfCurrency, 8, 0};
    case JetType::Single:
    case JetType::Double:
    case JetType::Float:
    case JetType::Numeric:
    case JetType::Decimal:
    case JetType::BigInt: return {pxfNumber, 8, 0};
    case JetType::Date:
    case JetType::Time:
    case JetType::TimeStamp: return modern ? ParadoxWriter::Field{pxfTimestamp, 8, 0} : ParadoxWriter::Field{pxfDate, 4, 0};
    case JetType::Memo:
        return version >= 4 ? ParadoxWriter::Field{pxfMemoBLOb, kMemoLength, 0} : ParadoxWriter::Field{pxfAlpha, 255, 0};
    case JetType::Binary:
    case JetType::VarBinary:
    case JetType::LongBinary:
        return version >= 4 ? ParadoxWriter::Field{pxfBLOb, kMemoLength, 0} : ParadoxWriter::Field{pxfAlpha, 255, 0};
    case JetType::Guid: return {pxfAlpha, 38, 0};
    case JetType::Text:
    case JetType::Char: return {pxfAlpha, std::clamp(c.size > 0 ? c.size : 255, 1, 255), 0};
    }
    return {pxfAlpha, 255, 0};
}

void onPxError(pxdoc_t*, int type, const char* message, void* data)
{
    if (type != PX_Warning && data && message)
        *static_cast<std::string*>(data) = message;
}

// pxlib's file access, redirected to a page cache.
PagedFile& pagedOf(pxstream_t* s) { return *static_cast<PagedFile*>(s->s.stream); }
size_t pagedRead(pxdoc_t*, pxstream_t* s, size_t n, void* buffer) { return pagedOf(s).read(buffer, n); }
size_t pagedWrite(pxdoc_t*, pxstream_t* s, size_t n, void* buffer) { return pagedOf(s).write(buffer, n); }
int pagedSeek(pxdoc_t*, pxstream_t* s, long offset, int whence) { return pagedOf(s).seek(offset, whence); }
long pagedTell(pxdoc_t*, pxstream_t* s) { return pagedOf(s).tell(); }

long paradoxDay(double jetDays)
{
    return long(QDate(1899, 12, 30).addDays(qint64(std::floor(jetDays))).toJulianDay() - kGregorianDay1);
}

} // namespace

int paradoxVersionByte(int version)
{
    switch (version) {
    case 3: return 0x03;
    case 4: return 0x09;
    case 5: return 0x0B;
    default: return 0x0C;
    }
}

std::unique_ptr<TableWriter> openParadox(int version, const std::string& folder, const std::string& table,
                                         const std::vector<Column>& columns)
{
    return std::make_unique<ParadoxWriter>(targetFile(folder, table, QStringLiteral(".db")), version, columns);
}

ParadoxWriter::ParadoxWriter(const QString& file, int version, const std::vector<Column>& columns)
    : version_(version), file_(file)
{
    if (columns.empty() || columns.size() > 255)
        throw jet::tooManyFields();
    try {
        open(columns);
    } catch (...) {
        close(); // a constructor that throws gets no destructor call
        throw;
    }
}

void ParadoxWriter::open(const std::vector<Column>& columns)
{
    QStringList names;
    for (const Column& c : columns)
        names << QString::fromStdString(c.name);
    names = shortFieldNames(names, kMaxNameLength, [](QChar c) {
        return c.unicode() >= 32 && !QStringLiteral("[]{}()#\"").contains(c) && platform::toCp1252(QString(c)) != "?";
    });

    px_ = PX_new3(onPxError, nullptr, nullptr, nullptr, &error_);
    if (!px_)
        fail();
    auto* specs = static_cast<pxfield_t*>(px_->malloc(px_, columns.size() * sizeof(pxfield_t), "fields"));
    int offset = 0;
    bool blobs = false;
    for (size_t i = 0; i < columns.size(); ++i) {
        Field f = fieldFor(columns[i], version_);
        f.offset = offset;
        offset += f.length;
        blobs = blobs || f.type == pxfMemoBLOb || f.type == pxfBLOb;
        fields_.push_back(f);
        specs[i].px_fname = PX_strdup(px_, platform::toCp1252(names[int(i)]).constData());
        specs[i].px_ftype = f.type;
        specs[i].px_flen = f.length;
        specs[i].px_fdc = 0;
    }
    record_.resize(size_t(offset));

    const QFileInfo info(file_);
    const QString tablePath = staged_.add(file_);
    table_ = std::fopen(QFile::encodeName(tablePath).constData(), "w+b");
    if (!table_ || PX_create_fp(px_, specs, int(columns.size()), table_, pxfFileTypNonIndexDB) < 0 || std::fflush(table_) != 0)
        fail();
    // From here on pxlib reads and writes the table through the page cache.
    paged_ = std::make_unique<PagedFile>(tablePath);
    if (paged_->failed())
        fail();
    px_->px_stream->s.stream = paged_.get();
    px_->read = pagedRead;
    px_->write = pagedWrite;
    px_->seek = pagedSeek;
    px_->tell = pagedTell;
    // pxlib lays the header out by this number (30: no data header, 70: long table name).
    px_->px_head->px_fileversion = version_ * 10;
    px_->px_head->px_doscodepage = 1252;
    if (PX_set_tablename(px_, platform::toCp1252(info.completeBaseName()).left(version_ >= 7 ? 260 : 78).constData()) < 0)
        fail();

    if (blobs) {
        QString extension = QStringLiteral(".mb");
        if (!info.suffix().isEmpty() && info.suffix() == info.suffix().toUpper())
            extension = extension.toUpper();
        const QString blobPath = staged_.add(info.absoluteDir().filePath(info.completeBaseName() + extension));
        blobs_ = std::fopen(QFile::encodeName(blobPath).constData(), "w+b");
        pxblob_t* blob = blobs_ ? PX_new_blob(px_) : nullptr;
        if (!blob || PX_create_blob_fp(blob, blobs_) < 0)
            fail();
    }
}

ParadoxWriter::~ParadoxWriter() { close(); }

void ParadoxWriter::close()
{
    if (px_) {
        PX_close(px_);
        PX_delete(px_);
        px_ = nullptr;
    }
    if (table_)
        std::fclose(table_);
    if (blobs_)
        std::fclose(blobs_);
    table_ = blobs_ = nullptr;
}

void ParadoxWriter::fail() const
{
    DaoError e = jet::fileAccessDenied(file_.toStdString());
    throw error_.empty() ? e : DaoError(e.number(), e.what(), "Paradox: " + error_);
}

void ParadoxWriter::writeRow(const std::vector<Variant>& values)
{
    std::fill(record_.begin(), record_.end(), 0); // all zero bytes: null in every field type
    for (size_t i = 0; i < fields_.size() && i < values.size(); ++i) {
        const Variant& v = values[i];
        if (v.isNull())
            continue;
        const Field& f = fields_[i];
        char* at = record_.data() + f.offset;
        switch (f.type) {
        case pxfAlpha: {
            const QByteArray text = platform::toCp1252(QString::fromStdString(v.type() == VarType::Guid ? v.guidText() : v.toText()));
            PX_put_data_alpha(px_, at, f.length, const_cast<char*>(text.left(f.length).constData()));
            break;
        }
        case pxfShort: PX_put_data_short(px_, at, 2, short(v.type() == VarType::Boolean ? (v.toBool() ? 1 : 0) : v.toLong())); break;
        case pxfLong: PX_put_data_long(px_, at, 4, v.toLong()); break;
        case pxfNumber:
        case pxfCurrency: PX_put_data_double(px_, at, 8, v.toDouble()); break;
        case pxfLogical: PX_put_data_byte(px_, at, 1, v.toBool() ? 1 : 0); break;
        case pxfDate: PX_put_data_long(px_, at, 4, int(paradoxDay(v.toDouble()))); break;
        case pxfTimestamp: {
            const double days = v.toDouble();
            const double ms = std::round((days - std::floor(days)) * 86400000.0);
            PX_put_data_double(px_, at, 8, double(paradoxDay(days)) * 86400000.0 + ms);
            break;
        }
        case pxfMemoBLOb:
        case pxfBLOb: {
            QByteArray data = v.type() == VarType::Binary ? QByteArray::fromStdString(v.bytes())
                                                          : platform::toCp1252(QString::fromStdString(v.toText()));
            if (!data.isEmpty() && PX_put_data_blob(px_, at, f.length, data.data(), int(data.size())) < 0)
                fail();
            break;
        }
        }
    }
    if (PX_put_record(px_, record_.data()) < 0 || paged_->failed())
        fail();
}

void ParadoxWriter::finish()
{
    PX_close(px_);
    // pxlib marks every older layout as Paradox 5; the version byte names the real one.
    const char versionByte = char(paradoxVersionByte(version_));
    bool ok = paged_->seek(0x39, SEEK_SET) == 0 && paged_->write(&versionByte, 1) == 1;
    // pxlib's encryption word 0xFF00FF00 sends a reader to the data header,
    // which a Paradox 3 table does not have: there 0 says "not encrypted".
    const char none[4] = {};
    if (version_ == 3)
        ok = ok && paged_->seek(0x25, SEEK_SET) == 0 && paged_->write(none, 4) == 4;
    // The referential-integrity byte, which pxlib leaves as it finds it in memory.
    ok = ok && paged_->seek(0x55, SEEK_SET) == 0 && paged_->write(none, 1) == 1;
    ok = ok && paged_->flush() && (!blobs_ || std::fflush(blobs_) == 0);
    PX_delete(px_);
    px_ = nullptr;
    if (!ok)
        fail();
    close();
    staged_.commit();
}

} // namespace dao::isam
