#include "tests/support/ParadoxReader.h"

#include <QFile>
#include <QJsonObject>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <stdexcept>

extern "C" {
#include <paradox.h>
}

namespace testsupport {
namespace {

QString fromCp1252(const char* bytes, size_t length)
{
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
    std::string out(length * 3 + 1, '\0');
    char* in = const_cast<char*>(bytes);
    char* to = out.data();
    size_t inLeft = length, outLeft = out.size();
    iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    return QString::fromUtf8(out.data(), qsizetype(out.size() - outLeft));
}

void onError(pxdoc_t*, int type, const char* message, void*)
{
    if (type != PX_Warning)
        fprintf(stderr, "pxlib: %s\n", message);
}

// pxlib 0.6.8 cannot open a memo file for reading (PX_set_blob_file smashes
// its stack in build_mb_block_list); its blob reader itself works when the
// file is attached directly.
void attachMemoFile(pxdoc_t* px, FILE* file)
{
    pxblob_t* blob = PX_new_blob(px);
    auto* stream = static_cast<pxstream_t*>(px->malloc(px, sizeof(pxstream_t), "memo stream"));
    std::memset(stream, 0, sizeof *stream);
    stream->type = pxfIOFile;
    stream->mode = pxfFileRead;
    stream->close = px_false;
    stream->s.fp = file;
    blob->mb_stream = stream;
    blob->mb_head = static_cast<mbhead_t*>(px->malloc(px, sizeof(mbhead_t), "memo head"));
    std::memset(blob->mb_head, 0, sizeof(mbhead_t));
    blob->read = [](pxblob_t*, pxstream_t* s, size_t n, void* buffer) { return fread(buffer, 1, n, s->s.fp); };
    blob->seek = [](pxblob_t*, pxstream_t* s, long offset, int whence) { return fseek(s->s.fp, offset, whence); };
    blob->tell = [](pxblob_t*, pxstream_t* s) { return ftell(s->s.fp); };
}

QJsonValue text(pxdoc_t* px, char* value, size_t length)
{
    const QJsonValue v(fromCp1252(value, length));
    px->free(px, value);
    return v;
}

} // namespace

ParadoxTable readParadox(const QString& db, const QString& mb)
{
    pxdoc_t* px = PX_new2(onError, nullptr, nullptr, nullptr);
    if (PX_open_file(px, QFile::encodeName(db).constData()) < 0)
        throw std::runtime_error("pxlib cannot open " + db.toStdString());
    FILE* memo = mb.isEmpty() ? nullptr : fopen(QFile::encodeName(mb).constData(), "rb");
    if (memo)
        attachMemoFile(px, memo);

    ParadoxTable table;
    table.fileVersion = px->px_head->px_fileversion;
    const int count = PX_get_num_fields(px);
    for (int i = 0; i < count; ++i) {
        pxfield_t* f = PX_get_field(px, i);
        table.fields << fromCp1252(f->px_fname, strlen(f->px_fname));
        table.types << f->px_ftype;
    }
    std::vector<char> record(size_t(PX_get_recordsize(px)));
    for (int r = 0; r < PX_get_num_records(px); ++r) {
        if (!PX_get_record(px, r, record.data()))
            throw std::runtime_error("pxlib cannot read a record");
        QJsonArray row;
        char* at = record.data();
        for (int i = 0; i < count; ++i) {
            pxfield_t* f = PX_get_field(px, i);
            QJsonValue v;
            switch (f->px_ftype) {
            case pxfAlpha: {
                char* value = nullptr;
                if (PX_get_data_alpha(px, at, f->px_flen, &value) > 0)
                    v = text(px, value, strlen(value));
                break;
            }
            case pxfShort: {
                short value;
                if (PX_get_data_short(px, at, f->px_flen, &value) > 0)
                    v = double(value);
                break;
            }
            case pxfLong:
            case pxfDate: {
                long value;
                if (PX_get_data_long(px, at, f->px_flen, &value) > 0) {
                    if (f->px_ftype == pxfLong) {
                        v = double(value);
                    } else {
                        char* s = PX_date2string(px, value, "Y-m-d");
                        v = QJsonObject{{"date", QString::fromLatin1(s)}};
                        px->free(px, s);
                    }
                }
                break;
            }
            case pxfNumber:
            case pxfCurrency:
            case pxfTimestamp: {
                double value;
                if (PX_get_data_double(px, at, f->px_flen, &value) > 0) {
                    if (f->px_ftype == pxfTimestamp) {
                        char* s = PX_timestamp2string(px, value, "Y-m-d H:i:s");
                        v = QJsonObject{{"date", QString::fromLatin1(s)}};
                        px->free(px, s);
                    } else {
                        v = value;
                    }
                }
                break;
            }
            case pxfLogical: {
                char value;
                if (PX_get_data_byte(px, at, f->px_flen, &value) > 0)
                    v = value != 0;
                break;
            }
            case pxfMemoBLOb:
            case pxfBLOb: {
                char* value = nullptr;
                int modification = 0, size = 0;
                if (PX_get_data_blob(px, at, f->px_flen, &modification, &size, &value) > 0 && value)
                    v = text(px, value, size_t(size));
                break;
            }
            }
            row.append(v);
            at += f->px_flen;
        }
        table.rows.append(row);
    }
    PX_close(px);
    PX_delete(px);
    if (memo)
        fclose(memo);
    return table;
}

} // namespace testsupport
