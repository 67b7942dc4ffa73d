#pragma once

#include "MapPage.h"
#include "MapStandIn.h"
#include "NumberFormat.h"
#include "ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

// What a benchmark of the map page needs: a headless application, the local
// stand-in of the maps API, and a program folder holding the page.
struct MapBench {
    MapBench(int &argc, char **argv) : prepared(prepare()), app(argc, argv), standIn(QStringLiteral(TRAVIK_STANDIN_JS))
    {
        numfmt::setDecimalSeparator(',');
        setProgramFolder(dir.path());
        QDir().mkpath(dir.filePath(QStringLiteral("temp")));
        WriteMapPage();
    }

    // Before the application object exists.
    static bool prepare()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        MapStandIn::registerScheme();
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        return true;
    }

    bool prepared;
    QApplication app;
    MapStandIn standIn;
    QTemporaryDir dir;
};
