#include "engine/DbfMemoFile.h"
#include "engine/JetErrors.h"

namespace dao::isam {
namespace {

QByteArray le32(std::uint32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

QByteArray be32(std::uint32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[3 - i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

} // namespace

DbfMemoFile::DbfMemoFile(const QString& path, Layout layout, const QString& tableName)
    : file_(path), layout_(layout), blockSize_(layout == Layout::FoxPro ? 64 : 512)
{
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw jet::fileAccessDenied(path.toStdString());
    QByteArray header(512, '\0');
    if (layout_ == Layout::DBase4) {
        header.replace(8, 8, tableName.toLatin1().left(8).leftJustified(8, '\0'));
        header[20] = char(blockSize_ & 0xFF);
        header[21] = char(blockSize_ >> 8);
    } else if (layout_ == Layout::FoxPro) {
        header[6] = char(blockSize_ >> 8);
        header[7] = char(blockSize_ & 0xFF);
    }
    write(header);
    nextBlock_ = std::uint32_t(512 / blockSize_);
}

void DbfMemoFile::write(const QByteArray& bytes)
{
    if (file_.write(bytes) != bytes.size())
        throw jet::fileAccessDenied(file_.fileName().toStdString());
}

std::uint32_t DbfMemoFile::append(const QByteArray& data)
{
    QByteArray block;
    switch (layout_) {
    case Layout::DBase3: block = data + "\x1A\x1A"; break;
    case Layout::DBase4: block = QByteArray("\xFF\xFF\x08\x00", 4) + le32(std::uint32_t(data.size() + 8)) + data; break;
    case Layout::FoxPro: block = be32(1) + be32(std::uint32_t(data.size())) + data; break; // type 1: text
    }
    const int blocks = int((block.size() + blockSize_ - 1) / blockSize_);
    block.append(QByteArray(blocks * blockSize_ - block.size(), '\0'));
    write(block);
    const std::uint32_t first = nextBlock_;
    nextBlock_ += std::uint32_t(blocks);
    return first;
}

void DbfMemoFile::finish()
{
    const QByteArray next = layout_ == Layout::FoxPro ? be32(nextBlock_) : le32(nextBlock_);
    if (!file_.seek(0) || file_.write(next) != 4 || !file_.flush())
        throw jet::fileAccessDenied(file_.fileName().toStdString());
    file_.close();
}

} // namespace dao::isam
