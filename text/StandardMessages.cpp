#include "StandardMessages.h"

#include <QDir>

QString unableToWriteMessage(const QString &path)
{
    return QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(path));
}

QString notValidIntegerMessage(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

TravikError::TravikError(const QString &message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}
