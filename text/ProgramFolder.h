#pragma once

#include <QString>

// The folder every path of the program is built from: the executable's folder,
// unless --program-folder (or a test) names another.
QString programFolder();
void setProgramFolder(const QString &folder);
// programFolder() + "/" + relative
QString programPath(const QString &relative);
