#include "daodata/VoDaoGuid.h"

#include <QUuid>

#include <algorithm>

namespace vodao {
namespace {

// Swaps between Microsoft's layout and RFC 4122 order (the same swap both ways).
QByteArray swapGroups(QByteArray bytes)
{
    std::reverse(bytes.begin(), bytes.begin() + 4);
    std::reverse(bytes.begin() + 4, bytes.begin() + 6);
    std::reverse(bytes.begin() + 6, bytes.begin() + 8);
    return bytes;
}

} // namespace

QString GuidText(const QByteArray& bytes)
{
    if (bytes.size() != 16)
        return {};
    return QUuid::fromRfc4122(swapGroups(bytes)).toString(QUuid::WithBraces).toUpper();
}

QByteArray GuidBytes(const QString& text)
{
    const QString trimmed = text.trimmed();
    const QUuid id = QUuid::fromString(trimmed);
    if (id.isNull()) {
        // QUuid gives null for bad text as well as for the all-zero GUID.
        QString digits = trimmed;
        digits.remove(QLatin1Char('{')).remove(QLatin1Char('}')).remove(QLatin1Char('-'));
        if (digits.size() != 32 || digits.count(QLatin1Char('0')) != 32)
            return {};
    }
    return swapGroups(id.toRfc4122());
}

} // namespace vodao
