#include "engine/TextIsam.h"
#include "engine/JetErrors.h"
#include "platform/SaveFile.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace dao::isam {
namespace {

int defaultWidth(const Column& c)
{
    using sql::JetType;
    switch (c.type) {
    case JetType::Boolean: return 5;
    case JetType::Byte: return 3;
    case JetType::Integer: return 6;
    case JetType::Long: return 11;
    case JetType::Date:
    case JetType::Time:
    case JetType::TimeStamp: return 19;
    case JetType::Guid: return 38;
    case JetType::Text:
    case JetType::Char: return c.size > 0 ? c.size : 255;
    case JetType::Memo:
    case JetType::Binary:
    case JetType::VarBinary:
    case JetType::LongBinary: return 255;
    default: return 20;
    }
}

DaoError writeFailed(const QString& path) { return jet::fileAccessDenied(path.toStdString()); }

} // namespace

TextWriter::TextWriter(const std::string& folder, const std::string& table, const std::vector<Column>& columns)
    : columns_(columns)
{
    const QString path = targetFile(folder, table);
    folder_ = QFileInfo(path).absolutePath();
    fileName_ = QFileInfo(path).fileName();
    options_ = readSchemaIni(folder_, fileName_);
    for (size_t i = 0; i < columns_.size(); ++i)
        widths_.push_back(i < options_.widths.size() && options_.widths[i] > 0 ? options_.widths[i]
                                                                                : defaultWidth(columns_[i]));
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly))
        throw writeFailed(path);
    const QString cs = options_.characterSet.toUpper();
    if (cs == "UNICODE" || cs == "1200")
        file_.write("\xFF\xFE", 2);
    if (options_.colNameHeader) {
        QStringList names;
        for (size_t i = 0; i < columns_.size(); ++i)
            names << field(QString::fromStdString(columns_[i].name), int(i), true);
        writeLine(names);
    }
}

QString TextWriter::field(const QString& text, int column, bool quote) const
{
    if (options_.layout == TextOptions::Layout::FixedLength)
        return text.left(widths_[column]).leftJustified(widths_[column], ' ');
    if (!quote || options_.textDelimiter.isEmpty())
        return text;
    QString inner = text;
    inner.replace(options_.textDelimiter, options_.textDelimiter + options_.textDelimiter);
    return options_.textDelimiter + inner + options_.textDelimiter;
}

void TextWriter::writeLine(const QStringList& fields)
{
    const QString separator = options_.layout == TextOptions::Layout::FixedLength ? QString() : QString(options_.delimiter);
    const QByteArray bytes = encodeText(fields.join(separator) + QStringLiteral("\r\n"), options_.characterSet);
    if (file_.write(bytes) != bytes.size())
        throw writeFailed(file_.fileName());
}

void TextWriter::writeRow(const std::vector<Variant>& values)
{
    QStringList fields;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const Variant& v = i < values.size() ? values[i] : Variant();
        const bool quote = v.type() == VarType::Text || v.type() == VarType::Guid;
        fields << field(valueText(v, options_), int(i), quote);
    }
    writeLine(fields);
}

void TextWriter::writeSchemaIni() const
{
    QList<QPair<QString, QString>> entries;
    entries.append({QStringLiteral("ColNameHeader"), options_.colNameHeader ? QStringLiteral("True") : QStringLiteral("False")});
    entries.append({"Format", options_.formatText()});
    if (!options_.fixedFormat.isEmpty())
        entries.append({"FixedFormat", options_.fixedFormat});
    entries.append({"CharacterSet", options_.characterSet});
    if (options_.textDelimiter != "\"")
        entries.append({"TextDelimiter", options_.textDelimiter.isEmpty() ? QStringLiteral("none") : options_.textDelimiter});
    if (!options_.dateTimeFormat.isEmpty())
        entries.append({"DateTimeFormat", options_.dateTimeFormat});
    if (options_.decimalSymbol != ".")
        entries.append({"DecimalSymbol", options_.decimalSymbol});
    for (size_t i = 0; i < columns_.size(); ++i) {
        QString name = QString::fromStdString(columns_[i].name);
        if (name.contains(' '))
            name = '"' + name + '"';
        QString type = schemaType(columns_[i]);
        if (options_.layout == TextOptions::Layout::FixedLength) {
            type.remove(QRegularExpression(QStringLiteral("\\s*Width \\d+$")));
            type += QStringLiteral(" Width %1").arg(widths_[i]);
        }
        entries.append({QStringLiteral("Col%1").arg(i + 1), name + ' ' + type});
    }
    platform::ProfileFile(QDir(folder_).filePath(QStringLiteral("schema.ini"))).writeSection(fileName_, entries);
}

void TextWriter::finish()
{
    if (!platform::commitWhole(file_))
        throw writeFailed(file_.fileName());
    try {
        writeSchemaIni();
    } catch (const platform::ProfileError&) {
        QFile::remove(file_.fileName());
        throw writeFailed(QDir(folder_).filePath(QStringLiteral("schema.ini")));
    }
}

} // namespace dao::isam
