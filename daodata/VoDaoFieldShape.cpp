#include "daodata/VoDaoFieldShape.h"


namespace vodao {
FieldShape FieldShapeFor(const DaoFieldShape& dao)
{
    switch (dao.daoType) {
    case 1: return {ftBoolean, 0};
    case 2:
    case 3: return {ftSmallint, 0};
    case 4: return {(dao.attributes & 16) ? ftAutoInc : ftInteger, 0};
    case 16: return {ftInteger, 0};
    case 5: return {ftCurrency, 0};
    case 6:
    case 7:
    case 19:
    case 20:
    case 21: return {ftFloat, 0};
    case 8: {
        if (dao.format.isEmpty() || dao.format.compare("General Date", Qt::CaseInsensitive) == 0)
            return {ftDateTime, 0};
        for (const char* time : {"Long Time", "Medium Time", "Short Time"})
            if (dao.format.compare(QLatin1String(time), Qt::CaseInsensitive) == 0)
                return {ftTime, 0};
        return {ftDate, 0};
    }
    case 22: return {ftTime, 0};
    case 23: return {ftDateTime, 0};
    case 9:
    case 15: return {ftBytes, dao.daoSize};
    case 10:
    case 18: return {ftString, dao.daoSize > 0 ? dao.daoSize : 255};
    case 11:
    case 17: return {ftBlob, dao.daoSize};
    case 12: return {ftMemo, dao.daoSize};
    default: return {ftUnknown, 0};
    }
}

} // namespace vodao
