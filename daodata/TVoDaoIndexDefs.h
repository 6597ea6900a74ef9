#pragma once
// The index definitions of a table as the query dataset reads them from the
// table definition's Indexes.
#include <QList>
#include <QString>
#include <QStringList>

struct TVoDaoIndexDef {
    QString Name;
    QStringList Fields;      // in index order
    QList<bool> Descending;  // one flag per field
    bool Primary = false;
    bool Unique = false;
    // The field names separated by ";".
    QString FieldsText() const { return Fields.join(';'); }
};

using TVoDaoIndexDefs = QList<TVoDaoIndexDef>;
