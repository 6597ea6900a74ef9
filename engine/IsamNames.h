#pragma once
// Field names for formats with a short name limit (dBase and FoxPro: 10
// characters, Paradox: 25): each name cut to the limit, characters the
// format cannot hold replaced, and a name that then equals an earlier one
// (ignoring case) given a numbered ending instead.
#include <QString>
#include <QStringList>
#include <functional>

namespace dao::isam {

// allowed(c) tells whether a character may stay; others become '_'.
QStringList shortFieldNames(const QStringList& names, int maxLength, const std::function<bool(QChar)>& allowed);

} // namespace dao::isam
