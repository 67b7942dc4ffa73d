#pragma once

#include <QStringList>

// travik-cli info | sync [--alias NAME] | list; each returns the exit code.
int runInfo(const QStringList &args);
int runSync(const QStringList &args);
int runList(const QStringList &args);

// --program-folder DIR and --hid-library PATH, taken out of args; false on a
// flag without its value.
bool takeCommonOptions(QStringList &args, QString *libraryPath);
QString takeOption(QStringList &args, const QString &flag, bool *missingValue);
