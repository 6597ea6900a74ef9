#include "daoui/SearchFields.h"

#include "daodata/TVoDaoTable.h"
#include "framework/data/TField.h"

std::vector<TField*> SearchFields(const TVoDaoTable& table, bool seekMode)
{
    std::vector<TField*> fields;
    const auto offer = [&](TField* field) {
        if (field && field->FieldKind() == fkData && field->Visible())
            fields.push_back(field);
    };
    if (seekMode) {
        const int count = table.IndexFieldCount();
        for (int i = 0; i < count; ++i)
            offer(table.IndexFields(i));
    } else {
        for (int i = 0; i < table.FieldCount(); ++i)
            offer(table.Fields()[i]);
    }
    return fields;
}
