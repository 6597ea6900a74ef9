// libgsf's glib headers come before Qt's, whose keywords they would trip over.
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include "engine/Ole2File.h"
#include "engine/JetErrors.h"

#include <QFile>
#include <mutex>

namespace dao::isam {
namespace {

void initialiseGsf()
{
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

} // namespace

Ole2File::Ole2File(const QString& path, const char* streamName) : path_(path)
{
    initialiseGsf();
    GError* error = nullptr;
    sink_ = gsf_output_stdio_new(QFile::encodeName(path).constData(), &error);
    if (!sink_) {
        if (error)
            g_error_free(error);
        throw jet::fileAccessDenied(path.toStdString());
    }
    root_ = gsf_outfile_msole_new(sink_);
    stream_ = gsf_outfile_new_child(root_, streamName, FALSE);
    if (!root_ || !stream_)
        throw jet::fileAccessDenied(path.toStdString());
}

Ole2File::~Ole2File()
{
    if (stream_)
        g_object_unref(stream_);
    if (root_)
        g_object_unref(root_);
    if (sink_)
        g_object_unref(sink_);
}

void Ole2File::write(const QByteArray& bytes)
{
    if (!gsf_output_write(stream_, size_t(bytes.size()), reinterpret_cast<const guint8*>(bytes.constData())))
        throw jet::fileAccessDenied(path_.toStdString());
    written_ += bytes.size();
}

void Ole2File::write(QIODevice& device, qint64 bytes)
{
    while (bytes != 0) {
        const QByteArray chunk = device.read(bytes < 0 ? qint64(1 << 16) : std::min<qint64>(bytes, 1 << 16));
        if (chunk.isEmpty())
            break;
        write(chunk);
        if (bytes > 0)
            bytes -= chunk.size();
    }
    if (bytes > 0)
        throw jet::fileAccessDenied(path_.toStdString());
}

void Ole2File::close()
{
    const bool ok = gsf_output_close(stream_) && gsf_output_close(GSF_OUTPUT(root_))
                    && (gsf_output_is_closed(sink_) || gsf_output_close(sink_));
    if (!ok)
        throw jet::fileAccessDenied(path_.toStdString());
}

} // namespace dao::isam
