#include "tests/support/ExternalReaders.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <stdexcept>

namespace testsupport {
namespace {

const char* const kHtmlReader = R"(
import sys, json, re
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
# Decoded as a browser does: by the character set the page declares.
data = open(sys.argv[1], 'rb').read()
declared = re.search(rb'charset=([A-Za-z0-9_-]+)', data[:2048])
reader = Reader()
reader.feed(data.decode(declared.group(1).decode() if declared else 'utf-8'))
print(json.dumps({'title': reader.title, 'rows': reader.rows}))
)";

const char* const kCsvReader = R"(
import sys, csv, json
with open(sys.argv[1], encoding=sys.argv[3], newline='') as f:
    print(json.dumps({'rows': list(csv.reader(f, delimiter=sys.argv[2]))}))
)";

const char* const kSqliteReader = R"(
import sys, json, sqlite3
db = sqlite3.connect('file:' + sys.argv[1] + '?mode=ro', uri=True)
print(json.dumps({'rows': [list(r) for r in db.execute(sys.argv[2])]}))
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

const char* const kXlrdReader = R"(
import sys, json, xlrd
book = xlrd.open_workbook(sys.argv[1])
sheet = book.sheet_by_index(0)
def cell(c):
    if c.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK): return None
    if c.ctype == xlrd.XL_CELL_DATE:
        return {'date': '%04d-%02d-%02d %02d:%02d:%02d' % xlrd.xldate_as_tuple(c.value, book.datemode)}
    if c.ctype == xlrd.XL_CELL_BOOLEAN: return bool(c.value)
    return c.value
print(json.dumps({'biff': book.biff_version, 'sheets': book.sheet_names(),
                  'rows': [[cell(c) for c in sheet.row(r)] for r in range(sheet.nrows)],
                  'sheetRows': [s.nrows for s in book.sheets()],
                  'lastRows': [[cell(c) for c in s.row(s.nrows - 1)] if s.nrows else [] for s in book.sheets()]}))
)";

const char* const kDbfReader = R"(
import sys, json, datetime, decimal
path = sys.argv[1]
with open(path, 'rb') as f:
    head = f.read(32)
def plain(v, char_field):
    if v is None: return None
    if isinstance(v, bool): return v
    if isinstance(v, datetime.datetime): return {'date': v.strftime('%Y-%m-%d %H:%M:%S')}
    if isinstance(v, datetime.date): return {'date': v.strftime('%Y-%m-%d')}
    if isinstance(v, (int, float, decimal.Decimal)): return float(v)
    # Character fields are padded with blanks to their width; memos are not.
    return str(v).rstrip(' ') if char_field else str(v)
if head[0] in (0x03, 0x83, 0xF5, 0x30, 0x31):
    import dbf
    reader = 'dbf'
    table = dbf.Table(path)
    table.open(dbf.READ_ONLY)
    fields = list(table.field_names)
    chars = [table.field_info(name)[0] == ord('C') for name in fields]
    def value(v, char_field):
        if v is None or isinstance(v, dbf.NullType): return None
        if isinstance(v, dbf.Logical): return None if v is dbf.Unknown else bool(v)
        return plain(v, char_field)
    rows = [[value(rec[name], c) for name, c in zip(fields, chars)] for rec in table]
    table.close()
else:
    import dbfread
    reader = 'dbfread'
    table = dbfread.DBF(path, char_decode_errors='strict')
    fields = list(table.field_names)
    chars = [f.type == 'C' for f in table.fields]
    # dbfread 2.0.7 reads a dBase IV memo's length as if it left out the
    # 8-byte block header, and so returns 8 bytes past the text: drop them.
    rows = [[plain(v.rstrip('\x00') if isinstance(v, str) else v, c) for v, c in zip(rec.values(), chars)] for rec in table]
print(json.dumps({'reader': reader, 'version': head[0], 'codepage': head[29], 'fields': fields, 'rows': rows}))
)";

QJsonObject runPython(const char* script, const QStringList& arguments)
{
    QProcess python;
    // Debian's own interpreter, which the python3-* packages install into.
    python.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), QString::fromUtf8(script)} + arguments);
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

QJsonArray sqliteRows(const QString& path, const QString& sql)
{
    return runPython(kSqliteReader, {path, sql})[QStringLiteral("rows")].toArray();
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

QJsonObject xlrdWorkbook(const QString& path) { return runPython(kXlrdReader, {path}); }

QJsonObject dbfTable(const QString& path) { return runPython(kDbfReader, {path}); }

QMap<QString, QJsonArray> libreOfficeRows(const QStringList& files)
{
    QTemporaryDir work;
    QProcess soffice;
    // A profile of its own, so that no running office or earlier run interferes.
    soffice.start(QStringLiteral("soffice"),
                  QStringList{QStringLiteral("-env:UserInstallation=file://") + work.filePath(QStringLiteral("profile")),
                              QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                              QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1"), QStringLiteral("--outdir"),
                              work.filePath(QStringLiteral("csv"))}
                      + files);
    if (!soffice.waitForFinished(240000) || soffice.exitCode() != 0)
        throw std::runtime_error("soffice could not convert the files: " + soffice.readAllStandardError().toStdString());
    QMap<QString, QJsonArray> rows;
    for (const QString& file : files) {
        const QString csv = work.filePath(QStringLiteral("csv/") + QFileInfo(file).completeBaseName() + QStringLiteral(".csv"));
        if (QFileInfo::exists(csv))
            rows.insert(file, csvRows(csv, QStringLiteral(","), QStringLiteral("utf-8")));
    }
    return rows;
}

} // namespace testsupport
