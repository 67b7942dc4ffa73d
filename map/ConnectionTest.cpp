#include "ConnectionTest.h"

#include <QElapsedTimer>
#include <QNetworkInformation>
#include <QNetworkInterface>

namespace {

bool interfacesOnline()
{
    for (const QNetworkInterface &i : QNetworkInterface::allInterfaces()) {
        const auto f = i.flags();
        if (!(f & QNetworkInterface::IsUp) || !(f & QNetworkInterface::IsRunning) || (f & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &a : i.addressEntries())
            if (!a.ip().isLoopback() && !a.ip().isNull())
                return true;
    }
    return false;
}

bool systemOnline()
{
    static const bool backend = QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    if (backend && QNetworkInformation::instance()) {
        const auto r = QNetworkInformation::instance()->reachability();
        if (r != QNetworkInformation::Reachability::Unknown)
            return r == QNetworkInformation::Reachability::Online;
    }
    return interfacesOnline();
}

} // namespace

namespace {
std::optional<bool> g_override;
}

void overrideConnection(std::optional<bool> online)
{
    g_override = online;
}

ConnectionTest systemConnectionTest()
{
    return [] {
        if (g_override)
            return *g_override;
        static QElapsedTimer age;
        static bool last = false;
        if (!age.isValid() || age.elapsed() > 1000) {
            last = systemOnline();
            age.restart();
        }
        return last;
    };
}
