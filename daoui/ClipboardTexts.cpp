#include "daoui/ClipboardTexts.h"

#include "framework/data/TDataSet.h"
#include "framework/data/TField.h"
#include "framework/data/TimeStamp.h"
#include "framework/data/ValueText.h"

#include <QLocale>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QChar kTab = QLatin1Char('\t');
const QChar kQuote = QLatin1Char('"');

bool IsDateTimeType(TFieldType type)
{
    return type == ftDate || type == ftTime || type == ftDateTime;
}

QString OfficeDate(const QDate& date)
{
    return QLocale::c().toString(date, QStringLiteral("MM/dd/yyyy"));
}

QString OfficeTime(const QTime& time)
{
    return QLocale::c().toString(time, QStringLiteral("HH:mm:ss"));
}

QString PlainDateTime(const TField& field, bool office)
{
    const QDateTime value = field.AsDateTime();
    if (!value.isValid())
        return QString();
    switch (field.DataType()) {
    case ftDate: return office ? OfficeDate(value.date()) : DateToText(value.date());
    case ftTime: return office ? OfficeTime(value.time()) : TimeToText(value.time());
    default:
        return office ? OfficeDate(value.date()) + QLatin1Char(' ') + OfficeTime(value.time())
                      : DateTimeToText(value);
    }
}

QString PlainText(QString text, bool office)
{
    if (office) {
        if (!text.contains(kQuote) && !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
            return text;
        return kQuote + text.replace(kQuote, QStringLiteral("\"\"")) + kQuote;
    }
    // One line per record: a line break inside a value becomes one blank.
    text.replace(kLineEnd, QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString TypedDateTimeText(const TField& field)
{
    const TTimeStamp stamp = DateTimeToTimeStamp(field.AsDateTime());
    const int day = field.DataType() == ftTime ? 0 : stamp.Date;
    const int ms = field.DataType() == ftDate ? 0 : stamp.Time;
    return QStringLiteral("%1 %2").arg(day).arg(ms);
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

int QuoteCount(const QString& line)
{
    return int(line.count(kQuote));
}

} // namespace

bool IsTextFieldType(TFieldType type)
{
    switch (type) {
    case ftString: case ftMemo: case ftFmtMemo: case ftFixedChar: case ftWideString: case ftOraClob:
        return true;
    default:
        return false;
    }
}

bool IsBinaryFieldType(TFieldType type)
{
    return type == ftBytes || type == ftVarBytes || (IsBlobFieldType(type) && !IsTextFieldType(type));
}

bool IsHexTransported(int typeNumber)
{
    if (typeNumber < ftUnknown || typeNumber > ftGuid)
        return false;
    const auto type = TFieldType(typeNumber);
    return IsTextFieldType(type) || IsBinaryFieldType(type);
}

QString PlainValue(const TField& field, bool office)
{
    const TFieldType type = field.DataType();
    if (IsDateTimeType(type))
        return PlainDateTime(field, office);
    if (IsTextFieldType(type))
        return PlainText(field.AsString(), office);
    if (IsBlobFieldType(type))
        return QStringLiteral("(Blob)");
    return field.Text();
}

QString TypedValue(const TField& field)
{
    if (field.IsNull())
        return QString();
    const TFieldType type = field.DataType();
    if (IsDateTimeType(type))
        return TypedDateTimeText(field);
    if (IsTextFieldType(type))
        return HexEncode(field.AsString().toUtf8());
    if (IsBinaryFieldType(type))
        return HexEncode(field.AsBytes());
    return field.Text();
}

TClipboardRecords RenderRecords(TDataSet& dataSet, const std::vector<TField*>& fields,
                                const std::vector<TBookmark>& bookmarks, bool office)
{
    TClipboardRecords records;
    QStringList names;
    QStringList types;
    for (const TField* field : fields) {
        names << field->FieldName();
        types << QString::number(int(field->DataType()));
    }
    records.Typed = names.join(kTab) + kLineEnd + types.join(kTab) + kLineEnd;
    auto addRecord = [&] {
        QStringList plain;
        QStringList typed;
        for (const TField* field : fields) {
            plain << PlainValue(*field, office);
            typed << TypedValue(*field);
        }
        records.Plain += plain.join(kTab) + kLineEnd;
        records.Typed += typed.join(kTab) + kLineEnd;
    };
    if (bookmarks.empty()) {
        addRecord();
        return records;
    }
    // Back to the current record at the end, also when reading fails.
    const TBookmark kept = dataSet.GetBookmark();
    dataSet.DisableControls();
    try {
        for (const TBookmark& bookmark : bookmarks) {
            dataSet.GotoBookmark(bookmark);
            addRecord();
        }
        if (!kept.isEmpty())
            dataSet.GotoBookmark(kept);
    } catch (...) {
        try {
            if (!kept.isEmpty() && dataSet.Active())
                dataSet.GotoBookmark(kept);
        } catch (...) {
            // The first error is the one to report.
        }
        dataSet.EnableControls();
        throw;
    }
    dataSet.EnableControls();
    return records;
}

QString HexEncode(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QByteArray HexDecode(const QString& text)
{
    if (text.size() % 2 != 0)
        return QByteArray();
    QByteArray bytes;
    bytes.reserve(text.size() / 2);
    for (qsizetype i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return QByteArray();
        bytes.append(char(high * 16 + low));
    }
    return bytes;
}

bool TypedDateTime(const QString& text, QDateTime& value)
{
    value = QDateTime();
    if (text.isEmpty())
        return true;
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    bool dayOk = false;
    bool msOk = false;
    int day = text.left(blank).toInt(&dayOk);
    int ms = blank < 0 ? 0 : text.mid(blank + 1).toInt(&msOk);
    if (!dayOk || !msOk)
        day = ms = 0;
    if (day < 0 || ms < 0 || ms >= 86400000)
        return false;
    // Day 0 is a time alone (the date-time number's zero day).
    value = TimeStampToDateTime(TTimeStamp{ms, day == 0 ? DateDelta : day});
    return value.isValid();
}

QStringList ClipboardLines(const QString& text)
{
    const qsizetype zero = text.indexOf(QChar(0));
    const QString block = zero < 0 ? text : text.left(zero);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < block.size(); ++i) {
        const QChar c = block[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << block.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < block.size() && block[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < block.size())
        lines << block.mid(start);
    return lines;
}

QStringList RejoinQuotedLines(const QStringList& lines)
{
    QStringList joined;
    bool open = false; // the last joined line holds an odd number of quotes
    for (const QString& line : lines) {
        if (open)
            joined.last() += kLineEnd + line;
        else
            joined << line;
        open = QuoteCount(joined.last()) % 2 != 0;
    }
    return open ? lines : joined;
}

QString UnquoteLine(const QString& line)
{
    QString kept;
    kept.reserve(line.size());
    const qsizetype last = line.size() - 1;
    for (qsizetype i = 0; i <= last; ++i) {
        const bool dropped = line[i] == kQuote
            && (i == 0 || i == last || line[i - 1] == kTab || line[i + 1] == kTab);
        if (!dropped)
            kept += line[i];
    }
    return kept.replace(QStringLiteral("\"\""), QString(kQuote));
}

QStringList LineValues(const QString& line)
{
    return line.split(kTab);
}
