#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString g_folder;
}

QString programFolder()
{
    if (g_folder.isEmpty())
        return QCoreApplication::applicationDirPath();
    return g_folder;
}

void setProgramFolder(const QString &folder)
{
    g_folder = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

QString programPath(const QString &relative)
{
    return programFolder() + QLatin1Char('/') + relative;
}

QString deliveredPath(const QString &relative)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative;
}
