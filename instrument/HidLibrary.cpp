#include "HidLibrary.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
HidLibrary *g_library = nullptr;
}

HidLibrary *hidLibrary()
{
    return g_library;
}

void setHidLibrary(HidLibrary *library)
{
    g_library = library;
}

QString HidLibrary::defaultPath()
{
#ifdef Q_OS_WIN
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Travik.dll");
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/libTravik.so");
#endif
}

std::unique_ptr<HidLibrary> HidLibrary::load(const QString &path, QString *errorMessage)
{
    auto lib = std::unique_ptr<HidLibrary>(new HidLibrary);
    const QString absolute = QFileInfo(path).absoluteFilePath();
    lib->m_library.setFileName(absolute);
    if (!lib->m_library.load()) {
        if (errorMessage)
            *errorMessage = QStringLiteral(u"Не удалось загрузить библиотеку прибора %1: %2")
                                .arg(absolute, lib->m_library.errorString());
        return nullptr;
    }
    const char *missing = nullptr;
    auto bind = [&](auto &fn, const char *name) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(lib->m_library.resolve(name));
        if (!fn && !missing)
            missing = name;
    };
    bind(lib->scanForDevices, "HIDscanForDevices");
    bind(lib->getDeviceInfo, "HIDGetDeviceInfo");
    bind(lib->openDevice, "HIDopenDevice");
    bind(lib->closeDevice, "HIDcloseDevice");
    bind(lib->writeDevice, "HIDwriteDevice");
    bind(lib->setEventHandler, "HIDsetEventHandler");
    bind(lib->setUsbEventHandler, "USBsetEventHandler");
    if (missing) {
        if (errorMessage)
            *errorMessage = QStringLiteral(u"В библиотеке прибора %1 нет функции %2")
                                .arg(absolute, QString::fromLatin1(missing));
        return nullptr;
    }
    return lib;
}

QFunctionPointer HidLibrary::resolve(const char *name)
{
    return m_library.resolve(name);
}
