#include "stocktaking/CaptureProgress.h"

#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"

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
    const auto entries = inventory.openRecordset(
        "SELECT NR FROM inventur WHERE inventur.inventurliste = " + std::to_string(listIdx), dao::dbOpenForwardOnly);
    std::vector<qint32> numbers;
    for (; !entries->eof(); entries->moveNext())
        if (const dao::Variant& number = entries->value(0); !number.isNull())
            numbers.push_back(number.toLong());
    return numbers;
}

} // namespace capture
