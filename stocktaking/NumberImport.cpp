#include "stocktaking/NumberImport.h"

#include "framework/data/EDatabaseError.h"
#include "platform/CodePages.h"
#include "stocktaking/NumberText.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringDecoder>
#include <exception>

namespace import {
namespace {

QString cannotRead(const QString& path) { return QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden").arg(path); }

QString noTextFile(const QString& path)
{
    return QStringLiteral("Die Datei \"%1\" ist keine Textdatei mit einer Zahl je Zeile").arg(path);
}

// A line as the label and the messages show it: a line of a wrong file may be
// megabytes long, more than a label can lay out or a message box can show.
QString shown(const QString& line)
{
    constexpr qsizetype kShown = 80;
    return line.size() <= kShown ? line : line.left(kShown) + QChar(0x2026);
}

// Warnings of the checking pass shown one by one; the rest are counted in one
// last message, so that a file of another kind does not ask for thousands of clicks.
constexpr int kWarnings = 20;

// The file's lines without their line ends (LF or CR LF). A file with a
// byte-order mark is read in its encoding (UTF-16 or UTF-8), any other line by
// line as UTF-8 or, where it is none, as Windows-1252. A file holding zero
// bytes outside UTF-16 is no text file: it is refused as a whole, before one
// of its "lines" can flood the user with warnings.
QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(cannotRead(path));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EDatabaseError(cannotRead(path));

    auto split = [](QStringView text) {
        QStringList lines;
        for (QStringView line : text.split(u'\n')) {
            if (line.endsWith(u'\r'))
                line.chop(1);
            lines << line.toString();
        }
        if (!lines.isEmpty() && lines.back().isEmpty() && text.endsWith(u'\n'))
            lines.removeLast(); // the final line break ends the last line, it starts none
        return lines;
    };
    const bool utf16le = data.startsWith("\xFF\xFE"), utf16be = data.startsWith("\xFE\xFF");
    if (utf16le || utf16be) {
        QStringDecoder decode(utf16le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                              QStringDecoder::Flag::ConvertInvalidToNull);
        const QString text = decode(data.mid(2));
        if (decode.hasError() || text.contains(QChar(0)))
            throw EDatabaseError(noTextFile(path));
        return split(text);
    }
    if (data.contains('\0'))
        throw EDatabaseError(noTextFile(path));
    if (data.startsWith("\xEF\xBB\xBF"))
        return split(QString::fromUtf8(data.mid(3)));

    QStringList lines;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        const qsizetype next = end < 0 ? data.size() : end + 1;
        if (end < 0)
            end = data.size();
        if (end > start && data[end - 1] == '\r')
            --end;
        lines << platform::fromUtf8OrCp1252(data.mid(start, end - start));
        start = next;
    }
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

// Lets the window be brought up to date at a human pace: at the first
// call, then once kShowEveryMs have passed since the last time.
class Pace {
public:
    bool due()
    {
        if (shown_.isValid() && shown_.elapsed() < kShowEveryMs)
            return false;
        shown_.start();
        return true;
    }

private:
    QElapsedTimer shown_;
};

} // namespace

void ImportNumbers(const QString& path, const ImportView& view)
{
    const QStringList lines = readLines(path);

    const QString checking = QStringLiteral("Prüfe Datei...");
    Pace checkPace;
    int counted = 0, bad = 0;
    for (const QString& line : lines) {
        if (checkPace.due())
            view.progress(checking);
        if (line.isEmpty())
            continue;
        ++counted;
        if (!numbers::ParseInteger(line) && ++bad <= kWarnings) {
            view.progress(checking);
            view.warn(QStringLiteral("Fehler: ") + shown(line) + QStringLiteral(" ist keine Zahl in Zeile:") +
                      QString::number(counted));
        }
    }
    if (bad > kWarnings) {
        view.progress(checking);
        view.warn(QStringLiteral("Fehler: %1 weitere Zeilen sind keine Zahl").arg(bad - kWarnings));
    }

    Batches batches(view);
    Pace importPace;
    try {
        for (const QString& line : lines) {
            if (importPace.due()) {
                view.progress(shown(line));
                view.processEvents();
            }
            if (line.isEmpty())
                continue;
            const std::optional<qint32> number = numbers::ParseInteger(line);
            if (!number) {
                view.progress(shown(line)); // the label keeps the line that stopped the import
                DatabaseError(numbers::NotAnIntegerText(shown(line)));
            }
            batches.beforeEntry();
            view.store(*number);
            batches.afterEntry();
        }
        if (!lines.isEmpty())
            view.progress(shown(lines.back()));
    } catch (...) {
        // The entries before the failing line stay stored.
        batches.commit();
        throw;
    }
    batches.commit();
}

} // namespace import
