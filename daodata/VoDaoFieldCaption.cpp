#include "daodata/VoDaoFieldCaption.h"

#include "daodata/TVoDaoTable.h"
#include "framework/data/TField.h"
#include "engine/Field.h"
#include "engine/Recordset.h"

#include <strings.h>

namespace vodao {

QString FieldCaption(const TVoDaoTable& table, const TField& field)
{
    const std::shared_ptr<dao::Recordset> recordset = table.CoreRecordset();
    const int index = field.FieldNo() - 1;
    if (!recordset || field.FieldKind() != fkData || index < 0 || index >= recordset->fields().count())
        return QString();
    const auto& properties = recordset->fields().item(index)->properties();
    for (int i = 0; i < properties.count(); ++i) {
        const auto property = properties.item(i);
        if (strcasecmp(property->name().c_str(), "Caption") == 0)
            return QString::fromStdString(property->value().toText());
    }
    return QString();
}

} // namespace vodao
