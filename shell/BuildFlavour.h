#pragma once

#include <QString>

// What differs between the two programs built from this tree. Each program's
// main() creates one and hands it to the shared shell.
struct BuildFlavour {
    enum class Map { GeneratedPage, MapComponent };

    QString programName;    // executable name, for messages
    QString versionText;    // About box
    QString compareCaption; // SpeedButton7
    int compareButtonWidth;
    Map map;

    // The generated map page lives in a scratch folder "temp", and the page is
    // polled for clicks by Yandex_tmr; the map component needs neither.
    bool usesGeneratedPage() const { return map == Map::GeneratedPage; }

    static BuildFlavour travik();
    static BuildFlavour travikGmap();
};
