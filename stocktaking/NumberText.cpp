#include "stocktaking/NumberText.h"

#include "framework/data/DbConsts.h"

#include <limits>

namespace numbers {

std::optional<qint32> ParseInteger(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const int digit = text[i].isDigit() && text[i].unicode() < 128 ? text[i].unicode() - '0'
                          : base == 16 && QStringLiteral("abcdef").contains(text[i].toLower())
                              ? 10 + (text[i].toLower().unicode() - 'a')
                              : -1;
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > qint64(std::numeric_limits<quint32>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    // Hexadecimal texts may name the 32-bit pattern of a negative number.
    if (base == 16 && !negative && value > std::numeric_limits<qint32>::max() &&
        value <= std::numeric_limits<quint32>::max())
        value -= qint64(1) << 32;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

QString NotAnIntegerText(const QString& text) { return QString::fromUtf8(DbConsts::SInvalidInteger).arg(text); }

std::optional<qint32> ParseBookNumber(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > std::numeric_limits<qint32>::max())
            return std::nullopt;
    }
    return qint32(value);
}

bool IsCaptureKey(QChar key) { return key == QChar(8) || key == QChar(13) || (key >= '0' && key <= '9'); }

QString CaptureTestQuery(const QString& numberText, const QString& listIdx)
{
    return QStringLiteral(" SELECT NR FROM inventur WHERE NR = ") + numberText +
           QStringLiteral(" AND inventur.inventurliste =") + listIdx;
}

} // namespace numbers
