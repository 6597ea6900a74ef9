#pragma once
// The "Caption" property of a field's DAO field object, as Access keeps it
// for a column (the title a form or datasheet shows for the field).
#include <QString>

class TField;
class TVoDaoTable;

namespace vodao {

// The caption of a data field of an open table: the value of the property
// named "Caption" (any case) of its DAO field, read through the table's
// recordset; empty when the field has none or is not a field of the recordset.
QString FieldCaption(const TVoDaoTable& table, const TField& field);

} // namespace vodao
