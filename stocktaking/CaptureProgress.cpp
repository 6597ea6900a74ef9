#include "stocktaking/CaptureProgress.h"

#include "stocktaking/NumberColumn.h"

namespace capture {

void CaptureProgress::SetCatalogue(const std::vector<qint32>& copyNumbers)
{
    catalogue_.clear();
    catalogue_.reserve(qsizetype(copyNumbers.size()));
    for (qint32 number : copyNumbers)
        ++catalogue_[number];
    copies_ = int(copyNumbers.size());
    recorded_ = 0;
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it)
        recorded_ += catalogue_.value(it.key());
}

void CaptureProgress::SetList(int listIdx, const std::vector<qint32>& numbers)
{
    ForgetList();
    list_ = listIdx;
    for (qint32 number : numbers)
        EntryAdded(number);
}

void CaptureProgress::ForgetList()
{
    list_.reset();
    entries_.clear();
    recorded_ = 0;
}

void CaptureProgress::EntryAdded(qint32 number)
{
    if (++entries_[number] == 1)
        recorded_ += catalogue_.value(number);
}

void CaptureProgress::EntryRemoved(qint32 number)
{
    const auto it = entries_.find(number);
    if (it == entries_.end())
        return;
    if (--it.value() == 0) {
        entries_.erase(it);
        recorded_ -= catalogue_.value(number);
    }
}

QString CaptureProgress::Text() const
{
    return QStringLiteral("erfasst: %1 von %2 Exemplaren — fehlen noch: %3").arg(Recorded()).arg(Copies()).arg(Missing());
}

std::vector<qint32> ListNumbers(dao::Database& inventory, int listIdx)
{
    return NumberColumn(inventory, "SELECT NR FROM inventur WHERE inventur.inventurliste = " + std::to_string(listIdx));
}

} // namespace capture
