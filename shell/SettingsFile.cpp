#include "SettingsFile.h"

#include "IniDocument.h"
#include "ProgramFolder.h"
#include "StandardMessages.h"

QString settingsFilePath()
{
    return programPath(QStringLiteral("Travik.ini"));
}

Settings readSettings(const QString &path)
{
    const IniDocument ini = IniDocument::load(path);
    const Settings d;
    Settings s;
    s.interpolation = ini.readInt(u"Main", u"N13", d.interpolation ? 1 : 0) != 0;
    s.crosshair = ini.readInt(u"Main", u"N14", d.crosshair ? 1 : 0) != 0;
    s.marginRight = ini.readInt(u"Main", u"M_R", d.marginRight);
    s.marginLeft = ini.readInt(u"Main", u"M_L", d.marginLeft);
    s.marginTop = ini.readInt(u"Main", u"M_T", d.marginTop);
    s.marginBottom = ini.readInt(u"Main", u"M_B", d.marginBottom);
    return s;
}

bool writeSettings(const QString &path, const Settings &s, QString *errorMessage)
{
    IniDocument::LoadStatus status;
    IniDocument ini = IniDocument::load(path, &status);
    if (status != IniDocument::LoadStatus::Ok && status != IniDocument::LoadStatus::Missing) {
        // Never replace a file we could not read: its other keys would be lost.
        if (errorMessage)
            *errorMessage = unableToWriteMessage(path);
        return false;
    }
    const auto number = [](int v) { return QString::number(v); };
    ini.setString(u"Main", u"N13", s.interpolation ? u"1" : u"0");
    ini.setString(u"Main", u"N14", s.crosshair ? u"1" : u"0");
    ini.setString(u"Main", u"M_R", number(s.marginRight));
    ini.setString(u"Main", u"M_L", number(s.marginLeft));
    ini.setString(u"Main", u"M_T", number(s.marginTop));
    ini.setString(u"Main", u"M_B", number(s.marginBottom));
    return ini.save(path, errorMessage);
}
