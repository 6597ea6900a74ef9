#include "stocktaking/ScanResult.h"

#include "stocktaking/CatalogueLookup.h"

namespace capture {

ScanResult DescribeScan(CatalogueLookup& catalogue, qint32 number, Outcome outcome)
{
    ScanResult result;
    result.number = number;
    const std::optional<CatalogueCopy> copy = catalogue.Find(number);
    if (copy) {
        result.title = copy->title;
        result.author = copy->author;
    }
    result.finding = outcome == Outcome::AlreadyThere ? Finding::AlreadyThere
                     : copy                           ? Finding::Found
                                                      : Finding::Unknown;
    return result;
}

} // namespace capture
