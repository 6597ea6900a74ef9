#include "stocktaking/NumberImport.h"

#include "framework/data/EDatabaseError.h"
#include "framework/data/TDataSet.h"
#include "framework/data/TField.h"
#include "platform/CodePages.h"
#include "stocktaking/NumberText.h"

#include <QFile>

namespace import {
namespace {

// The file's lines without their line ends (LF or CR LF).
QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden").arg(path));
    QStringList lines;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        lines << platform::fromUtf8OrCp1252(line);
    }
    if (file.error() != QFileDevice::NoError)
        throw EDatabaseError(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden").arg(path));
    return lines;
}

} // namespace

void ImportNumbers(const QString& path, TDataSet& entries, const ImportView& view)
{
    const QStringList lines = readLines(path);

    int counted = 0;
    for (const QString& line : lines) {
        view.progress(QStringLiteral("Prüfe Datei..."));
        if (line.isEmpty())
            continue;
        ++counted;
        if (!numbers::ParseInteger(line))
            view.warn(QStringLiteral("Fehler: ") + line + QStringLiteral(" ist keine Zahl in Zeile:") +
                      QString::number(counted));
    }

    for (const QString& line : lines) {
        view.progress(line);
        if (line.isEmpty())
            continue;
        const std::optional<qint32> number = numbers::ParseInteger(line);
        if (!number)
            DatabaseError(numbers::NotAnIntegerText(line));
        view.processEvents();
        entries.Append();
        try {
            entries.FieldByName(QStringLiteral("NR"))->SetAsInteger(*number);
            entries.Post();
        } catch (...) {
            entries.Cancel();
            throw;
        }
        view.processEvents();
    }
}

} // namespace import
