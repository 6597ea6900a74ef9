#include "platform/ProfileFile.h"
#include "platform/CodePages.h"
#include "platform/SaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>
#include <vector>

namespace platform {
namespace {

struct Line {
    QByteArray raw;    // the line as stored, without its line ending
    QByteArray ending; // "\r\n", "\n" or "" for a last line without one
    QString text() const { return fromUtf8OrCp1252(raw).trimmed(); }
};

std::vector<Line> splitLines(const QByteArray& data)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype nl = data.indexOf('\n', start);
        if (nl < 0) {
            lines.push_back({data.mid(start), {}});
            break;
        }
        qsizetype end = nl;
        QByteArray ending = "\n";
        if (end > start && data[end - 1] == '\r') {
            --end;
            ending = "\r\n";
        }
        lines.push_back({data.mid(start, end - start), ending});
        start = nl + 1;
    }
    return lines;
}

std::optional<QString> sectionName(const QString& text)
{
    if (!text.startsWith('['))
        return std::nullopt;
    const qsizetype close = text.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return text.mid(1, close - 1).trimmed();
}

bool isKeyLine(const QString& text, const QString& key, QString* value)
{
    if (text.startsWith(';'))
        return false;
    const qsizetype eq = text.indexOf('=');
    if (eq < 0 || text.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
        return false;
    if (value) {
        QString v = text.mid(eq + 1).trimmed();
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        *value = v;
    }
    return true;
}

// Locates section and key: index of the section header (or -1), index of the
// key line (or -1) and the index after which a new key line belongs.
struct Position {
    int section = -1;
    int key = -1;
    int lastOfSection = -1;
};

Position locate(const std::vector<Line>& lines, const QString& section, const QString& key, QString* value)
{
    Position pos;
    bool inSection = false;
    for (int i = 0; i < int(lines.size()); ++i) {
        const QString text = lines[i].text();
        if (auto name = sectionName(text)) {
            if (inSection)
                break; // Windows uses the first section of that name only
            inSection = name->compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                pos.section = pos.lastOfSection = i;
            continue;
        }
        if (!inSection)
            continue;
        if (!text.isEmpty())
            pos.lastOfSection = i;
        if (isKeyLine(text, key, value)) {
            pos.key = i;
            return pos;
        }
    }
    return pos;
}

} // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return defaultValue;
    const auto lines = splitLines(file.readAll());
    QString value;
    const Position pos = locate(lines, section, key, &value);
    return pos.key >= 0 ? value : defaultValue;
}

namespace {

// The lines of a file that is to be changed: a missing file has none, one that
// exists but cannot be read raises (it must not be overwritten).
std::vector<Line> linesForUpdate(const QString& path)
{
    QFile existing(path);
    if (!existing.exists())
        return {};
    if (QFileInfo(path).isDir() || !existing.open(QIODevice::ReadOnly))
        throw ProfileError("cannot read " + path.toStdString());
    return splitLines(existing.readAll());
}

QByteArray lineEnding(const std::vector<Line>& lines)
{
    return !lines.empty() && !lines.front().ending.isEmpty() ? lines.front().ending : QByteArray("\r\n");
}

void writeLines(const QString& path, const std::vector<Line>& lines)
{
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        throw ProfileError("cannot write " + path.toStdString());
    for (const Line& line : lines) {
        out.write(line.raw);
        out.write(line.ending);
    }
    if (!commitWhole(out))
        throw ProfileError("cannot write " + path.toStdString());
}

} // namespace

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value) const
{
    auto lines = linesForUpdate(path_);
    const QByteArray eol = lineEnding(lines);

    const Line keyLine{key.toUtf8() + '=' + value.toUtf8(), eol};
    const Position pos = locate(lines, section, key, nullptr);
    if (pos.key >= 0) {
        lines[pos.key].raw = keyLine.raw;
        if (lines[pos.key].ending.isEmpty())
            lines[pos.key].ending = eol;
    } else if (pos.section >= 0) {
        if (lines[pos.lastOfSection].ending.isEmpty())
            lines[pos.lastOfSection].ending = eol;
        lines.insert(lines.begin() + pos.lastOfSection + 1, keyLine);
    } else {
        if (!lines.empty() && lines.back().ending.isEmpty())
            lines.back().ending = eol;
        lines.push_back({'[' + section.toUtf8() + ']', eol});
        lines.push_back(keyLine);
    }
    writeLines(path_, lines);
}

QList<QPair<QString, QString>> ProfileFile::readSection(const QString& section) const
{
    QList<QPair<QString, QString>> entries;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    bool inSection = false, seen = false;
    for (const Line& line : splitLines(file.readAll())) {
        const QString text = line.text();
        if (auto name = sectionName(text)) {
            if (seen)
                break;
            inSection = seen = name->compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = text.indexOf('=');
        if (!inSection || text.startsWith(';') || eq < 0)
            continue;
        QString value;
        isKeyLine(text, text.left(eq).trimmed(), &value);
        entries.append({text.left(eq).trimmed(), value});
    }
    return entries;
}

void ProfileFile::writeSection(const QString& section, const QList<QPair<QString, QString>>& entries) const
{
    auto lines = linesForUpdate(path_);
    const QByteArray eol = lineEnding(lines);
    std::vector<Line> content;
    for (const auto& [key, value] : entries)
        content.push_back({key.toUtf8() + '=' + value.toUtf8(), eol});

    int begin = -1, end = int(lines.size());
    for (int i = 0; i < int(lines.size()); ++i) {
        if (auto name = sectionName(lines[i].text())) {
            if (begin >= 0) {
                end = i;
                break;
            }
            if (name->compare(section, Qt::CaseInsensitive) == 0)
                begin = i;
        }
    }
    if (begin < 0) {
        if (!lines.empty() && lines.back().ending.isEmpty())
            lines.back().ending = eol;
        lines.push_back({'[' + section.toUtf8() + ']', eol});
        lines.insert(lines.end(), content.begin(), content.end());
    } else {
        // Keep blank lines that separate this section from the next one.
        int keepFrom = end;
        while (keepFrom - 1 > begin && lines[keepFrom - 1].text().isEmpty())
            --keepFrom;
        if (lines[begin].ending.isEmpty())
            lines[begin].ending = eol;
        lines.erase(lines.begin() + begin + 1, lines.begin() + keepFrom);
        lines.insert(lines.begin() + begin + 1, content.begin(), content.end());
    }
    writeLines(path_, lines);
}

} // namespace platform
