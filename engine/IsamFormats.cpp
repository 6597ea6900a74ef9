#include "engine/IsamFormats.h"
#include "engine/JetErrors.h"
#include "platform/CodePages.h"
#include "platform/ProfileFile.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

namespace dao::isam {
namespace {

DaoError invalidOption(const QString& file, const QString& option)
{
    return jet::error(3442, {file.toStdString(), option.toStdString()});
}

bool parseBool(const QString& v, bool* out)
{
    const QString t = v.trimmed().toLower();
    if (t == "true" || t == "yes" || t == "1" || t == "-1" || t == "on") {
        *out = true;
        return true;
    }
    if (t == "false" || t == "no" || t == "0" || t == "off") {
        *out = false;
        return true;
    }
    return false;
}

bool knownCharacterSet(const QString& cs)
{
    static const QStringList names = {"ANSI", "OEM", "UNICODE", "UTF-8", "UTF8", "1252", "850", "65001", "1200"};
    return names.contains(cs.trimmed(), Qt::CaseInsensitive);
}

// Jet/VBA date format tokens: d dd m mm yy yyyy h hh n nn s ss.
QString formatDate(double days, const QString& format)
{
    const double whole = std::trunc(days);
    const double frac = std::fabs(days - whole);
    const QDate date = QDate(1899, 12, 30).addDays(qint64(whole));
    long secs = std::lround(frac * 86400.0);
    if (secs >= 86400)
        secs = 86399;
    const int h = int(secs / 3600), n = int(secs / 60 % 60), s = int(secs % 60);
    QString out;
    for (int i = 0; i < format.size();) {
        const QChar c = format[i].toLower();
        int run = 1;
        while (i + run < format.size() && format[i + run].toLower() == c)
            ++run;
        auto num = [&](int v, int width) { return QString::number(v).rightJustified(width, '0'); };
        switch (c.unicode()) {
        case 'd': out += run >= 2 ? num(date.day(), 2) : QString::number(date.day()); break;
        case 'm': out += run >= 2 ? num(date.month(), 2) : QString::number(date.month()); break;
        case 'y': out += run >= 3 ? num(date.year(), 4) : num(date.year() % 100, 2); break;
        case 'h': out += run >= 2 ? num(h, 2) : QString::number(h); break;
        case 'n': out += run >= 2 ? num(n, 2) : QString::number(n); break;
        case 's': out += run >= 2 ? num(s, 2) : QString::number(s); break;
        default: out += format.mid(i, run); break;
        }
        i += run;
    }
    return out;
}

QString numberText(const std::string& text, const QString& decimalSymbol)
{
    QString t = QString::fromStdString(text);
    if (decimalSymbol != ".")
        t.replace('.', decimalSymbol);
    return t;
}

} // namespace

QString TextOptions::formatText() const
{
    switch (layout) {
    case Layout::CsvDelimited: return QStringLiteral("CSVDelimited");
    case Layout::TabDelimited: return QStringLiteral("TabDelimited");
    case Layout::Delimited: return QStringLiteral("Delimited(%1)").arg(delimiter);
    case Layout::FixedLength: return QStringLiteral("FixedLength");
    }
    return {};
}

QString targetFile(const std::string& folder, const std::string& table, const QString& defaultExtension)
{
    QString dir = QString::fromStdString(folder);
    if (dir.isEmpty())
        dir = QStringLiteral(".");
    if (!QFileInfo(dir).isDir())
        throw jet::invalidPath(folder);
    QString name = QString::fromStdString(table).replace('#', '.');
    if (name.isEmpty() || name.contains('/'))
        throw jet::invalidArgument();
    if (!defaultExtension.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += defaultExtension;
    const QString path = QDir(dir).filePath(name);
    if (QFileInfo::exists(path))
        throw jet::tableExists(table);
    return path;
}

TextOptions readSchemaIni(const QString& folder, const QString& fileName)
{
    TextOptions options;
    const platform::ProfileFile ini(QDir(folder).filePath(QStringLiteral("schema.ini")));
    static const QRegularExpression colPattern(QStringLiteral("^Col(\\d+)$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression widthPattern(QStringLiteral("\\bWidth\\s+(\\d+)\\s*$"),
                                                 QRegularExpression::CaseInsensitiveOption);
    for (const auto& [key, value] : ini.readSection(fileName)) {
        const QString k = key.toLower();
        if (k == "colnameheader") {
            if (!parseBool(value, &options.colNameHeader))
                throw invalidOption(fileName, key);
        } else if (k == "format") {
            const QString v = value.trimmed();
            if (v.compare("CSVDelimited", Qt::CaseInsensitive) == 0) {
                options.layout = TextOptions::Layout::CsvDelimited;
                options.delimiter = ',';
            } else if (v.compare("TabDelimited", Qt::CaseInsensitive) == 0) {
                options.layout = TextOptions::Layout::TabDelimited;
                options.delimiter = '\t';
            } else if (v.compare("FixedLength", Qt::CaseInsensitive) == 0) {
                options.layout = TextOptions::Layout::FixedLength;
            } else if (v.compare("HTML", Qt::CaseInsensitive) == 0) {
                // The entry of an HTML file: its layout is the HTML format's own.
            } else if (v.startsWith("Delimited(", Qt::CaseInsensitive) && v.endsWith(')') && v.size() == 12 &&
                       v[10] != '"') {
                options.layout = TextOptions::Layout::Delimited;
                options.delimiter = v[10];
            } else {
                throw invalidOption(fileName, key);
            }
        } else if (k == "characterset") {
            if (!knownCharacterSet(value))
                throw invalidOption(fileName, key);
            options.characterSet = value.trimmed();
            options.characterSetGiven = true;
        } else if (k == "textdelimiter") {
            options.textDelimiter = value.compare("none", Qt::CaseInsensitive) == 0 ? QString() : value.left(1);
        } else if (k == "datetimeformat") {
            options.dateTimeFormat = value;
        } else if (k == "decimalsymbol") {
            if (value.size() != 1)
                throw invalidOption(fileName, key);
            options.decimalSymbol = value;
        } else if (k == "fixedformat") {
            options.fixedFormat = value;
        } else if (const auto m = colPattern.match(key); m.hasMatch()) {
            const int index = m.captured(1).toInt() - 1;
            const auto w = widthPattern.match(value);
            if (index < 0 || index > 255)
                throw invalidOption(fileName, key);
            if (w.hasMatch()) {
                if (int(options.widths.size()) <= index)
                    options.widths.resize(index + 1, 0);
                options.widths[index] = w.captured(1).toInt();
            }
        }
    }
    return options;
}

QByteArray encodeText(const QString& text, const QString& characterSet)
{
    const QString cs = characterSet.trimmed().toUpper();
    if (cs == "OEM" || cs == "850")
        return platform::toCp850(text);
    if (cs == "UTF-8" || cs == "UTF8" || cs == "65001")
        return text.toUtf8();
    if (cs == "UNICODE" || cs == "1200") {
        QByteArray out;
        out.reserve(text.size() * 2);
        for (QChar c : text) {
            out.append(char(c.unicode() & 0xFF));
            out.append(char(c.unicode() >> 8));
        }
        return out;
    }
    return platform::toCp1252(text);
}

QString charsetLabel(const QString& characterSet)
{
    const QString cs = characterSet.trimmed().toUpper();
    if (cs == "OEM" || cs == "850")
        return QStringLiteral("ibm850");
    if (cs == "UTF-8" || cs == "UTF8" || cs == "65001")
        return QStringLiteral("utf-8");
    if (cs == "UNICODE" || cs == "1200")
        return QStringLiteral("utf-16le");
    return QStringLiteral("windows-1252");
}

QString valueText(const Variant& value, const TextOptions& options)
{
    switch (value.type()) {
    case VarType::Null: return {};
    case VarType::Boolean: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: return QString::number(value.toInt64());
    case VarType::Single:
    case VarType::Double: return numberText(formatDouble(value.toDouble()), options.decimalSymbol);
    case VarType::Currency: {
        QString t = QString::number(value.toDouble(), 'f', 4);
        while (t.endsWith('0') && t.indexOf('.') < t.size() - 3)
            t.chop(1);
        return numberText(t.toStdString(), options.decimalSymbol);
    }
    case VarType::Date:
        return formatDate(value.toDouble(),
                          options.dateTimeFormat.isEmpty() ? QStringLiteral("dd.mm.yyyy hh:nn:ss") : options.dateTimeFormat);
    case VarType::Text: return QString::fromStdString(value.toText());
    case VarType::Binary: return QString::fromLatin1(QByteArray::fromStdString(value.bytes()).toHex().toUpper());
    case VarType::Guid: return QString::fromStdString(value.guidText());
    }
    return {};
}

QString schemaType(const Column& column)
{
    using sql::JetType;
    switch (column.type) {
    case JetType::Boolean: return QStringLiteral("Bit");
    case JetType::Byte: return QStringLiteral("Byte");
    case JetType::Integer: return QStringLiteral("Short");
    case JetType::Long: return QStringLiteral("Integer");
    case JetType::Currency: return QStringLiteral("Currency");
    case JetType::Single: return QStringLiteral("Single");
    case JetType::Double:
    case JetType::Float:
    case JetType::Numeric:
    case JetType::Decimal:
    case JetType::BigInt: return QStringLiteral("Float");
    case JetType::Date:
    case JetType::Time:
    case JetType::TimeStamp: return QStringLiteral("DateTime");
    case JetType::Text:
    case JetType::Char: return QStringLiteral("Char Width %1").arg(column.size > 0 ? column.size : 255);
    case JetType::Guid: return QStringLiteral("Char Width 38");
    case JetType::Memo:
    case JetType::Binary:
    case JetType::VarBinary:
    case JetType::LongBinary: return QStringLiteral("LongChar");
    }
    return QStringLiteral("LongChar");
}

} // namespace dao::isam
