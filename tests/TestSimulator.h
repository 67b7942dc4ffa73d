#pragma once

#include "HidLibrary.h"

#include <QString>

#include <memory>

// The emulated instrument through the real seven-function interface; no
// instrument attached unless a test configures one.
inline std::unique_ptr<HidLibrary> loadSimulator()
{
    qputenv("TRAVIK_SIM_SCENARIO", TRAVIK_FIXTURES "/sim-detached.ini");
    QString error;
    auto hid = HidLibrary::load(QStringLiteral(TRAVIK_BIN_DIR "/libTravikSim.so"), &error);
    if (!hid)
        qFatal("%s", qPrintable(error));
    return hid;
}
