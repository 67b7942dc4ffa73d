#pragma once

#include "HID_Intf.h"

#include <QLibrary>
#include <QString>

#include <memory>

// The seven functions of a HID library, bound by name from a shared library
// file (libTravik.so beside the executable, or the file --hid-library names).
class HidLibrary
{
public:
    using ScanFn = uint8_t (*)();
    using InfoFn = void (*)(uint8_t, uint8_t *);
    using OpenFn = void (*)(uint8_t);
    using CloseFn = void (*)();
    using WriteFn = void (*)(HIDReport);
    using SetInputFn = void (*)(void (*)(HIDReport));
    using SetChangeFn = void (*)(void (*)());

    // nullptr and a message naming the file and the missing piece on failure.
    static std::unique_ptr<HidLibrary> load(const QString &path, QString *errorMessage);
    static QString defaultPath();

    // Resolves an extra function by name (the emulator's test controls).
    QFunctionPointer resolve(const char *name);
    QString fileName() const { return m_library.fileName(); }

    ScanFn scanForDevices = nullptr;
    InfoFn getDeviceInfo = nullptr;
    OpenFn openDevice = nullptr;
    CloseFn closeDevice = nullptr;
    WriteFn writeDevice = nullptr;
    SetInputFn setEventHandler = nullptr;
    SetChangeFn setUsbEventHandler = nullptr;

private:
    QLibrary m_library;
};

// The library the program runs on; set once at start.
HidLibrary *hidLibrary();
void setHidLibrary(HidLibrary *library);
