#include "TrackFolders.h"

#include "IniDocument.h"
#include "ProgramFolder.h"

#include <QDate>

QString tracesFolder()
{
    return programPath(QStringLiteral("Traces"));
}

QString trackFolder(const QString &serial)
{
    return tracesFolder() + QLatin1Char('/') + serial;
}

QString previewPicture(const QString &trackPath)
{
    return trackPath + QStringLiteral(".jpg");
}

QString mediaPath(const QString &fileName)
{
    return deliveredPath(QStringLiteral("media/") + fileName);
}

QString aliasFilePath(const QString &folder)
{
    return folder + QStringLiteral("/Psevdo.ini");
}

QString readAlias(const QString &folder)
{
    return IniDocument::load(aliasFilePath(folder)).readString(u"Main", u"Name", QStringLiteral("Null"));
}

bool writeAlias(const QString &folder, const QString &alias, QString *errorMessage)
{
    IniDocument doc = IniDocument::load(aliasFilePath(folder));
    doc.setString(u"Main", u"Name", alias);
    return doc.save(aliasFilePath(folder), errorMessage);
}

std::optional<QString> frequencyLabel(int frSelFlag)
{
    switch (frSelFlag) {
    case 0: return QStringLiteral(u"0,5 кГц");
    case 1: return QStringLiteral(u"2 кГц");
    case 2: return QStringLiteral(u"8 кГц");
    case 3: return QStringLiteral(u"33 кГц");
    case 4: return QStringLiteral(u"58 кГц");
    default: return std::nullopt;
    }
}

QString BuildDateMask(const QDate &date)
{
    return QStringLiteral("%1_%2_%3*.trs")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year() % 100, 2, 10, QLatin1Char('0'));
}
