#include "stocktaking/ListEntryWriter.h"

#include "engine/DaoConstants.h"
#include "engine/Database.h"
#include "engine/Parameter.h"
#include "engine/QueryDef.h"

namespace capture {

ListEntryWriter::ListEntryWriter(dao::Database& inventory, int listIdx)
    : inventory_(inventory),
      insert_(inventory.createQueryDef({}, "PARAMETERS [Nummer] Long, [Liste] Long; "
                                           "INSERT INTO inventur (NR, Inventurliste) VALUES ([Nummer], [Liste])")),
      listIdx_(listIdx)
{
    insert_->parameter("Liste")->setValue(dao::Variant::longValue(listIdx));
    number_ = insert_->parameter("Nummer");
}

ListEntryWriter::~ListEntryWriter() = default;

void ListEntryWriter::Store(qint32 number)
{
    number_->setValue(dao::Variant::longValue(number));
    insert_->execute(dao::dbFailOnError);
}

int ListEntryWriter::NewestIdx() const
{
    auto newest = inventory_.openRecordset("SELECT MAX(IDX) FROM inventur WHERE Inventurliste = " +
                                               std::to_string(listIdx_),
                                           dao::dbOpenSnapshot);
    return newest->eof() || newest->value(0).isNull() ? 0 : int(newest->value(0).toLong());
}

} // namespace capture
