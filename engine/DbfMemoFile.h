#pragma once
// The memo file beside a .dbf table: dBase III and dBase IV/5.0 .dbt files
// (512-byte blocks) and FoxPro .fpt files (64-byte blocks). Memos are
// appended as they come; the header's next free block is written at the end.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>

namespace dao::isam {

class DbfMemoFile {
public:
    enum class Layout { DBase3, DBase4, FoxPro };
    // tableName: the table's base name, which dBase IV keeps in the header.
    DbfMemoFile(const QString& path, Layout layout, const QString& tableName);
    // Stores a memo; returns its first block number.
    std::uint32_t append(const QByteArray& data);
    void finish();

private:
    void write(const QByteArray& bytes);

    QFile file_;
    Layout layout_;
    int blockSize_;
    std::uint32_t nextBlock_;
};

} // namespace dao::isam
