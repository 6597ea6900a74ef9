#include "framework/data/EDatabaseError.h"

EDatabaseError::EDatabaseError(const QString& message)
    : std::runtime_error(message.toUtf8().toStdString())
{
}

void DatabaseError(const QString& message, const QString& componentName)
{
    if (componentName.isEmpty())
        throw EDatabaseError(message);
    throw EDatabaseError(componentName + QStringLiteral(": ") + message);
}

QString DbText(const char* text)
{
    return QString::fromUtf8(text);
}
