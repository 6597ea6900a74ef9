#include "engine/SharedStrings.h"
#include "engine/BiffRecords.h"
#include "engine/JetErrors.h"

namespace dao::isam {
namespace {

constexpr int kSst = 0x00FC, kContinue = 0x003C;
constexpr int kMaxPayload = 8224;
// Texts remembered for sharing: enough for the repeated titles and authors
// of a catalogue, few enough to keep memory small.
constexpr size_t kRemembered = 20000;
constexpr int kRememberedLength = 256;

void putU32(QByteArray& b, int at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

} // namespace

SharedStrings::SharedStrings()
{
    if (!spool_.open())
        throw jet::fileAccessDenied(spool_.fileTemplate().toStdString());
    pending_ = QByteArray(8, '\0'); // total and unique counts, filled in at the end
}

std::uint32_t SharedStrings::add(const QString& text)
{
    const QString t = text.left(biff::kMaxCellCharacters);
    ++references_;
    std::string key;
    if (t.size() <= kRememberedLength) {
        key = t.toStdString();
        if (auto it = known_.find(key); it != known_.end())
            return it->second;
    }
    const std::uint32_t index = unique_++;
    if (!key.empty() && known_.size() < kRemembered)
        known_.emplace(std::move(key), index);

    const bool compressed = biff::fitsCompressed(t);
    const int charBytes = compressed ? 1 : 2;
    // A string's count and option byte never part from its first character.
    if (kMaxPayload - pending_.size() < 3 + (t.isEmpty() ? 0 : charBytes))
        startContinue(false, compressed);
    QByteArray head;
    head.append(char(t.size() & 0xFF)).append(char(t.size() >> 8)).append(char(compressed ? 0 : 1));
    pending_ += head;
    int at = 0;
    while (at < t.size()) {
        int room = (kMaxPayload - int(pending_.size())) / charBytes;
        if (room == 0) {
            // The rest continues in the next record, which repeats the option byte.
            startContinue(true, compressed);
            room = (kMaxPayload - int(pending_.size())) / charBytes;
        }
        const int take = std::min(room, int(t.size()) - at);
        biff::appendCharacters(pending_, t.mid(at, take), compressed);
        at += take;
    }
    return index;
}

void SharedStrings::startContinue(bool withOptionByte, bool compressed)
{
    flushPending();
    if (withOptionByte)
        pending_.append(char(compressed ? 0 : 1));
}

void SharedStrings::flushPending()
{
    const QByteArray rec = biff::record(first_ ? kSst : kContinue, pending_);
    if (spool_.write(rec) != rec.size())
        throw jet::fileAccessDenied(spool_.fileName().toStdString());
    first_ = false;
    pending_.clear();
}

QIODevice& SharedStrings::records()
{
    if (!pending_.isEmpty() || first_)
        flushPending();
    // The counts sit behind the 4-byte header of the first record.
    QByteArray counts(8, '\0');
    putU32(counts, 0, references_);
    putU32(counts, 4, unique_);
    if (!spool_.seek(4) || spool_.write(counts) != 8 || !spool_.seek(0))
        throw jet::fileAccessDenied(spool_.fileName().toStdString());
    return spool_;
}

} // namespace dao::isam
