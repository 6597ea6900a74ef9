#pragma once
// GUID values of DAO fields: 16 bytes in Microsoft's layout (the first three
// groups little-endian) and their text "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include <QByteArray>
#include <QString>

namespace vodao {

// The GUID text of 16 bytes; empty for any other length.
QString GuidText(const QByteArray& bytes);
// The 16 bytes of GUID text (braces optional); empty when the text is no GUID.
QByteArray GuidBytes(const QString& text);

} // namespace vodao
