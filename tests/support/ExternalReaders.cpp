#include "tests/support/ExternalReaders.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <stdexcept>

namespace testsupport {
namespace {

const char* const kHtmlReader = R"(
import sys, json
from html.parser import HTMLParser
class Reader(HTMLParser):
    def __init__(self):
        super().__init__(); self.rows = []; self.cell = None; self.title = None; self.in_title = False
    def handle_starttag(self, tag, attrs):
        if tag == 'tr': self.rows.append([])
        if tag in ('td', 'th'): self.cell = ''
        if tag == 'title': self.in_title = True; self.title = ''
    def handle_endtag(self, tag):
        if tag in ('td', 'th'): self.rows[-1].append(self.cell); self.cell = None
        if tag == 'title': self.in_title = False
    def handle_data(self, data):
        if self.cell is not None: self.cell += data
        if self.in_title: self.title += data
reader = Reader()
reader.feed(open(sys.argv[1], encoding='utf-8').read())
print(json.dumps({'title': reader.title, 'rows': reader.rows}))
)";

const char* const kCsvReader = R"(
import sys, csv, json
with open(sys.argv[1], encoding=sys.argv[3], newline='') as f:
    print(json.dumps({'rows': list(csv.reader(f, delimiter=sys.argv[2]))}))
)";

const char* const kFixedWidthReader = R"(
import sys, json
widths = [int(w) for w in sys.argv[2].split(',')]
rows = []
with open(sys.argv[1], encoding=sys.argv[3], newline='') as f:
    for line in f.read().split('\r\n'):
        if not line: continue
        row, at = [], 0
        for w in widths:
            row.append(line[at:at + w].rstrip(' ')); at += w
        rows.append(row)
print(json.dumps({'rows': rows}))
)";

QJsonObject runPython(const char* script, const QStringList& arguments)
{
    QProcess python;
    python.start(QStringLiteral("python3"), QStringList{QStringLiteral("-c"), QString::fromUtf8(script)} + arguments);
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        throw std::runtime_error("python3 could not read the file: " +
                                 python.readAllStandardError().toStdString());
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

} // namespace

QJsonArray htmlTableRows(const QString& path)
{
    return runPython(kHtmlReader, {path})[QStringLiteral("rows")].toArray();
}

QString htmlTitle(const QString& path)
{
    return runPython(kHtmlReader, {path})[QStringLiteral("title")].toString();
}

QJsonArray csvRows(const QString& path, const QString& delimiter, const QString& codec)
{
    return runPython(kCsvReader, {path, delimiter, codec})[QStringLiteral("rows")].toArray();
}

QJsonArray fixedWidthRows(const QString& path, const QList<int>& widths, const QString& codec)
{
    QStringList list;
    for (int w : widths)
        list << QString::number(w);
    return runPython(kFixedWidthReader, {path, list.join(','), codec})[QStringLiteral("rows")].toArray();
}

} // namespace testsupport
