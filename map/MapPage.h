#pragma once

#include <QByteArray>
#include <QString>

// The map page that travik writes and shows: a map on the maps API with the
// main and the compared track and the page functions the bridge calls.
QByteArray mapPageBytes();
QString mapPagePath(); // <program folder>/temp/yandex.html
// On failure errorMessage is "Unable to write to <path>".
bool WriteMapPage(QString *errorMessage = nullptr);
void SetBrowserEmulation();
