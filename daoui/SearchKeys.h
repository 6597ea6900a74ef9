#pragma once
// What the find/seek dialog hands to the dataset: key field names joined by
// ";" and one value or a list of values. No widgets.
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

// One row of the find/seek dialog.
struct TSearchRow {
    QString Field;
    bool Checked = false;
    QString Text;
};

struct TSearchKeys {
    QString Fields;  // "A;B"
    QVariant Values; // a QString for one field, a QVariantList for several
};

// Find mode: the checked rows, in row order; nothing when none is checked.
std::optional<TSearchKeys> FindKeys(const QList<TSearchRow>& rows);
// Seek mode: every row (the index's fields in index order); an unchecked
// row gives an empty (null) value in its place. Nothing without rows.
std::optional<TSearchKeys> SeekKeys(const QList<TSearchRow>& rows);
