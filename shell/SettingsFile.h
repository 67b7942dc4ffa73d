#pragma once

#include <QString>

// Travik.ini beside the executable, section "Main".
struct Settings {
    bool interpolation = false; // N13
    bool crosshair = true;      // N14
    int marginRight = 1000;     // M_R, hundredths of a millimetre
    int marginLeft = 1000;      // M_L
    int marginTop = 1000;       // M_T
    int marginBottom = 1000;    // M_B
};

QString settingsFilePath();

// Missing keys and values that are not whole numbers give the defaults.
Settings readSettings(const QString &path);

// Writes the six keys and keeps every other line of the file.
// On failure errorMessage is "Unable to write to <path>".
bool writeSettings(const QString &path, const Settings &settings, QString *errorMessage);
