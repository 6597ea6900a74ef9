#include "engine/HtmlIsam.h"
#include "engine/JetErrors.h"
#include "platform/SaveFile.h"

#include <QFileInfo>

namespace dao::isam {
namespace {

bool rightAligned(sql::JetType t)
{
    using sql::JetType;
    return t == JetType::Byte || t == JetType::Integer || t == JetType::Long || t == JetType::Currency ||
           t == JetType::Single || t == JetType::Double || t == JetType::BigInt || t == JetType::Numeric ||
           t == JetType::Decimal || t == JetType::Float;
}

} // namespace

HtmlWriter::HtmlWriter(const std::string& folder, const std::string& table, const std::vector<Column>& columns)
    : columns_(columns)
{
    const QString path = targetFile(folder, table);
    const QFileInfo info(path);
    options_ = readSchemaIni(info.absolutePath(), info.fileName());
    // Without an entry of its own the report is written in UTF-8.
    characterSet_ = options_.characterSetGiven ? options_.characterSet : QStringLiteral("UTF-8");
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly))
        throw jet::fileAccessDenied(path.toStdString());
    if (characterSet_.compare("UNICODE", Qt::CaseInsensitive) == 0 || characterSet_ == "1200")
        file_.write("\xFF\xFE", 2);

    const QString title = info.completeBaseName().toHtmlEscaped();
    QString head = QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n<html>\r\n<head>\r\n"
                                  "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=%1\">\r\n"
                                  "<title>%2</title>\r\n</head>\r\n<body>\r\n"
                                  "<table border=\"1\" bgcolor=\"#ffffff\" cellspacing=\"0\">\r\n"
                                  "<caption><b>%2</b></caption>\r\n<thead>\r\n<tr>\r\n")
                       .arg(charsetLabel(characterSet_), title);
    for (const Column& c : columns_)
        head += QStringLiteral("<th bgcolor=\"#c0c0c0\">%1</th>\r\n").arg(QString::fromStdString(c.name).toHtmlEscaped());
    head += QStringLiteral("</tr>\r\n</thead>\r\n<tbody>\r\n");
    write(head);
}

void HtmlWriter::write(const QString& text)
{
    const QByteArray bytes = encodeText(text, characterSet_);
    if (file_.write(bytes) != bytes.size())
        throw jet::fileAccessDenied(file_.fileName().toStdString());
}

void HtmlWriter::writeRow(const std::vector<Variant>& values)
{
    QString row = QStringLiteral("<tr valign=\"top\">\r\n");
    for (size_t i = 0; i < columns_.size(); ++i) {
        const Variant& v = i < values.size() ? values[i] : Variant();
        const QString text = valueText(v, options_).toHtmlEscaped();
        row += rightAligned(columns_[i].type) ? QStringLiteral("<td align=\"right\">%1</td>\r\n").arg(text)
                                              : QStringLiteral("<td>%1</td>\r\n").arg(text);
    }
    row += QStringLiteral("</tr>\r\n");
    write(row);
}

void HtmlWriter::finish()
{
    write(QStringLiteral("</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n"));
    if (!platform::commitWhole(file_))
        throw jet::fileAccessDenied(file_.fileName().toStdString());
}

} // namespace dao::isam
