#include "platform/ProfileFile.h"
#include "platform/CodePages.h"

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

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value) const
{
    QByteArray data;
    QFile existing(path_);
    if (existing.exists()) {
        if (QFileInfo(path_).isDir() || !existing.open(QIODevice::ReadOnly))
            throw ProfileError("cannot read " + path_.toStdString());
        data = existing.readAll();
        existing.close();
    }
    auto lines = splitLines(data);
    QByteArray eol = "\r\n";
    if (!lines.empty() && !lines.front().ending.isEmpty())
        eol = lines.front().ending;

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

    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly))
        throw ProfileError("cannot write " + path_.toStdString());
    for (const Line& line : lines) {
        out.write(line.raw);
        out.write(line.ending);
    }
    if (!out.commit())
        throw ProfileError("cannot write " + path_.toStdString());
}

} // namespace platform
