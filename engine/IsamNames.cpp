#include "engine/IsamNames.h"

#include <QSet>

namespace dao::isam {

QStringList shortFieldNames(const QStringList& names, int maxLength, const std::function<bool(QChar)>& allowed)
{
    QStringList out;
    QSet<QString> taken; // upper case
    for (const QString& original : names) {
        QString name = original.trimmed();
        for (QChar& c : name)
            if (!allowed(c))
                c = '_';
        if (name.isEmpty())
            name = QStringLiteral("FIELD");
        QString candidate = name.left(maxLength);
        for (int n = 1; taken.contains(candidate.toUpper()); ++n) {
            const QString suffix = QStringLiteral("_%1").arg(n);
            candidate = name.left(maxLength - int(suffix.size())) + suffix;
        }
        taken.insert(candidate.toUpper());
        out << candidate;
    }
    return out;
}

} // namespace dao::isam
