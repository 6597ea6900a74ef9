#include "stocktaking/NumberImport.h"

#include "framework/data/EDatabaseError.h"
#include "framework/data/TDataSet.h"
#include "framework/data/TField.h"
#include "platform/CodePages.h"
#include "stocktaking/NumberText.h"

#include <QElapsedTimer>
#include <QFile>
#include <exception>

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

// Groups the appended entries into transactions: a batch is committed once it
// holds kBatchEntries entries or is kBatchMs old, and at the end.
class Batches {
public:
    static constexpr int kBatchEntries = 2000;
    static constexpr qint64 kBatchMs = 250;

    explicit Batches(const ImportView& view) : view_(view) {}
    ~Batches()
    {
        if (open_ && view_.rollbackBatch) {
            try {
                view_.rollbackBatch();
            } catch (...) {
            }
        }
    }

    void beforeEntry()
    {
        if (open_ || !view_.beginBatch)
            return;
        view_.beginBatch();
        open_ = true;
        entries_ = 0;
        age_.start();
    }
    void afterEntry()
    {
        if (open_ && (++entries_ >= kBatchEntries || age_.elapsed() >= kBatchMs))
            commit();
    }
    void commit()
    {
        if (!open_)
            return;
        open_ = false;
        try {
            view_.commitBatch();
        } catch (...) {
            if (view_.rollbackBatch)
                view_.rollbackBatch();
            throw;
        }
    }

private:
    const ImportView& view_;
    bool open_ = false;
    int entries_ = 0;
    QElapsedTimer age_;
};

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

    Batches batches(view);
    try {
        for (const QString& line : lines) {
            view.progress(line);
            if (line.isEmpty())
                continue;
            const std::optional<qint32> number = numbers::ParseInteger(line);
            if (!number)
                DatabaseError(numbers::NotAnIntegerText(line));
            view.processEvents();
            batches.beforeEntry();
            entries.Append();
            try {
                entries.FieldByName(QStringLiteral("NR"))->SetAsInteger(*number);
                entries.Post();
            } catch (...) {
                entries.Cancel();
                throw;
            }
            batches.afterEntry();
            view.processEvents();
        }
    } catch (...) {
        // The entries before the failing line stay stored.
        batches.commit();
        throw;
    }
    batches.commit();
}

} // namespace import
