#pragma once

#include <QString>

#include <optional>

// Where tracks live: <program folder>/Traces/<serial>/<name>.trs, with
// Psevdo.ini (the alias) and <name>.trs.jpg (the preview) beside them.
QString tracesFolder();
QString trackFolder(const QString &serial);
QString previewPicture(const QString &trackPath);
QString mediaPath(const QString &fileName);

// Psevdo.ini, "Main"/"Name"; "Null" when there is none.
QString aliasFilePath(const QString &folder);
QString readAlias(const QString &folder);
bool writeAlias(const QString &folder, const QString &alias, QString *errorMessage = nullptr);

// Caption of a generator frequency; none for values other than 0 … 4.
std::optional<QString> frequencyLabel(int frSelFlag);

class QDate;
// The file name mask of the recordings of a day: 05_03_15*.trs for 5 March 2015.
QString BuildDateMask(const QDate &date);
