#pragma once
// Readable GoogleTest output for Qt's string types.
#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << '"' << b.toStdString() << '"'; }

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
inline void PrintTo(const QJsonArray& a, std::ostream* os)
{
    *os << QJsonDocument(a).toJson(QJsonDocument::Compact).left(2000).toStdString();
}
inline void PrintTo(const QJsonValue& v, std::ostream* os)
{
    *os << QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).toStdString();
}
