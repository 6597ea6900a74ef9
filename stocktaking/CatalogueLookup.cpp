#include "stocktaking/CatalogueLookup.h"

#include "checks/CheckQueries.h"
#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/QueryDef.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "stocktaking/NumberColumn.h"

namespace capture {

namespace {

const std::string kNumberParameter = "Buchnummer";

QString text(const dao::Variant& value) { return QString::fromStdString(value.toText()); }

} // namespace

CatalogueLookup::CatalogueLookup(std::shared_ptr<dao::Database> catalogue) : catalogue_(std::move(catalogue))
{
    // A catalogue without locations still gives titles and authors.
    const auto copies = catalogue_->tableDefs().find("EXEMPLAR");
    hasLocations_ = copies && copies->fields().contains("STANDORT");
    const QString sql = QStringLiteral("PARAMETERS [%1] Long;").arg(QString::fromStdString(kNumberParameter)) +
                        QStringLiteral(" SELECT EXEMPLAR.EXEMPLARNUMMER, TITEL.HAUPTTITEL, TITEL.HAUPTEINTRAG, ") +
                        (hasLocations_ ? QStringLiteral("EXEMPLAR.STANDORT") : QStringLiteral("Null")) +
                        CatalogueJoinText() +
                        QStringLiteral(" AND EXEMPLAR.EXEMPLARNUMMER = [%1]").arg(QString::fromStdString(kNumberParameter));
    lookup_ = catalogue_->createQueryDef({}, sql.toStdString());
}

CatalogueLookup::~CatalogueLookup() = default;

std::optional<CatalogueCopy> CatalogueLookup::Find(qint32 number)
{
    lookup_->parameter(kNumberParameter)->setValue(dao::Variant::longValue(number));
    const auto copy = lookup_->openRecordset(dao::dbOpenForwardOnly);
    if (copy->eof())
        return std::nullopt;
    return CatalogueCopy{text(copy->value(1)), text(copy->value(2)), text(copy->value(3))};
}

std::vector<qint32> CatalogueLookup::CopyNumbers(const QString& condition)
{
    return NumberColumn(*catalogue_,
                        (QStringLiteral("SELECT EXEMPLAR.EXEMPLARNUMMER") + CatalogueJoinText() + condition).toStdString());
}

} // namespace capture
