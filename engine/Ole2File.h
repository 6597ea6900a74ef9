#pragma once
// A compound document (OLE2 structured storage, the container of Excel 5.0
// and 97 workbooks) holding one stream, written through libgsf.
#include <QByteArray>
#include <QIODevice>
#include <QString>

typedef struct _GsfOutput GsfOutput;
typedef struct _GsfOutfile GsfOutfile;

namespace dao::isam {

class Ole2File {
public:
    Ole2File(const QString& path, const char* streamName);
    ~Ole2File(); // without close() the file is left incomplete for the caller to remove
    Ole2File(const Ole2File&) = delete;
    Ole2File& operator=(const Ole2File&) = delete;

    void write(const QByteArray& bytes);
    void write(QIODevice& device, qint64 bytes = -1); // bytes of device from its position, -1: the rest
    qint64 written() const { return written_; }
    void close();

private:
    QString path_;
    GsfOutput* sink_ = nullptr;
    GsfOutfile* root_ = nullptr;
    GsfOutput* stream_ = nullptr;
    qint64 written_ = 0;
};

} // namespace dao::isam
