#pragma once
// The two 8-bit code pages the program meets: Windows-1252 (ANSI) and code
// page 850 (OEM, the German DOS default).
#include <QByteArray>
#include <QString>

namespace platform {

QString fromCp1252(const QByteArray& bytes);
QByteArray toCp1252(const QString& text, char replacement = '?');
QString fromCp850(const QByteArray& bytes);
QByteArray toCp850(const QString& text, char replacement = '?');

// Byte-wise translation between the OEM and the ANSI character sets, as the
// platform's OemToChar / CharToOem do for one-byte strings.
QByteArray oemToAnsi(const QByteArray& oem);
QByteArray ansiToOem(const QByteArray& ansi);

// Text that is valid UTF-8 is read as UTF-8, anything else as Windows-1252.
QString fromUtf8OrCp1252(const QByteArray& bytes);
bool isValidUtf8(const QByteArray& bytes);

} // namespace platform
