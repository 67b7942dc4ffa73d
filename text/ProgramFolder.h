#pragma once

#include <QString>

// The folder every path of the program is built from: the executable's folder,
// unless --program-folder (or a test) names another.
QString programFolder();
void setProgramFolder(const QString &folder);
// programFolder() + "/" + relative
QString programPath(const QString &relative);

// Files that come with the program (pictures in media/, the manual) are read
// from the executable's own folder, also when the data live elsewhere.
QString deliveredPath(const QString &relative);
