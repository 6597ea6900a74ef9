#pragma once
// The shared string table (SST) of a BIFF8 workbook, collected while the
// cells are written: its records go to a spool file and only a bounded
// number of texts is remembered to share repeated ones, so memory stays flat
// however many rows an export writes.
#include <QString>
#include <QTemporaryFile>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace dao::isam {

class SharedStrings {
public:
    SharedStrings();
    // The index of text in the table, adding it when it is not known.
    std::uint32_t add(const QString& text);
    // The SST record and its CONTINUE records, to be copied into the globals.
    QIODevice& records(); // rewound and complete

private:
    void appendBytes(const QByteArray& bytes);
    void startContinue(bool withOptionByte, bool compressed);
    void flushPending();

    QTemporaryFile spool_;
    QByteArray pending_; // the record being filled, payload only
    bool first_ = true;  // pending_ is the SST record itself
    std::uint32_t references_ = 0, unique_ = 0;
    std::unordered_map<std::string, std::uint32_t> known_;
};

} // namespace dao::isam
