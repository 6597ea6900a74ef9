#include "stocktaking/CatalogueLocations.h"

#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"

#include <unordered_map>

namespace lists {

QStringList CatalogueLocations(dao::Database& catalogue)
{
    // A DISTINCT over all copies compares every copy's location through
    // Jet's collation, which is slow for a large catalogue. So one plain pass
    // finds one copy number for each location as it is spelt, and the engine
    // then sorts and merges only those few copies' locations.
    std::unordered_map<std::string, qint32> firstCopy;
    {
        const auto copies =
            catalogue.openRecordset("SELECT EXEMPLAR.EXEMPLARNUMMER, EXEMPLAR.STANDORT FROM EXEMPLAR", dao::dbOpenForwardOnly);
        for (; !copies->eof(); copies->moveNext()) {
            const dao::Variant& number = copies->value(0);
            const dao::Variant& location = copies->value(1);
            if (number.isNull() || location.isNull())
                continue;
            std::string spelling = location.toText();
            if (!spelling.empty())
                firstCopy.try_emplace(std::move(spelling), number.toLong());
        }
    }
    QStringList locations;
    if (firstCopy.empty())
        return locations;
    std::string numbers;
    for (const auto& [spelling, number] : firstCopy)
        numbers += (numbers.empty() ? "" : ",") + std::to_string(number);
    const auto distinct = catalogue.openRecordset(
        "SELECT DISTINCT EXEMPLAR.STANDORT FROM EXEMPLAR WHERE EXEMPLAR.EXEMPLARNUMMER IN (" + numbers +
            ") AND EXEMPLAR.STANDORT <> '' ORDER BY EXEMPLAR.STANDORT",
        dao::dbOpenForwardOnly);
    for (; !distinct->eof(); distinct->moveNext())
        locations << QString::fromStdString(distinct->value(0).toText());
    return locations;
}

} // namespace lists
