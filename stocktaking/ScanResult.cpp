#include "stocktaking/ScanResult.h"

#include "stocktaking/CatalogueLookup.h"

namespace capture {

ScanResult DescribeScan(CatalogueLookup& catalogue, qint32 number, Outcome outcome,
                        const std::function<bool(qint32)>& standsHere)
{
    ScanResult result;
    result.number = number;
    const std::optional<CatalogueCopy> copy = catalogue.Find(number);
    if (copy) {
        result.title = copy->title;
        result.author = copy->author;
        result.location = copy->location;
    }
    result.finding = outcome == Outcome::AlreadyThere    ? Finding::AlreadyThere
                     : !copy                             ? Finding::Unknown
                     : standsHere && !standsHere(number) ? Finding::Misplaced
                                                         : Finding::Found;
    return result;
}

} // namespace capture
