#include "YandexMap.h"

#include "ChartPane.h"
#include "JpegCodec.h"
#include "MapPage.h"
#include "MapScripts.h"
#include "PageScripts.h"
#include "Readouts.h"
#include "SilentPage.h"
#include "StandardMessages.h"
#include "TrackStore.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWebEngineSettings>
#include <QWebEngineView>

YandexMap::YandexMap(QWebEngineView *view, QWidget *offlinePanel, Hooks hooks, ConnectionTest online, QObject *parent)
    : QObject(parent), m_view(view), m_offline(offlinePanel), m_hooks(std::move(hooks)), m_online(std::move(online))
{
    auto *page = new SilentPage(m_view);
    m_view->setPage(page);
    // The page is a local file that loads the maps API from the network.
    page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    m_scripts = new PageScripts(page, this);
    m_scripts->failureMessage = &YandexMap::pageFailedMessage;
}

QString YandexMap::pageFailedMessage(const QString &detail)
{
    return QStringLiteral(u"Карта не готова: %1").arg(detail);
}

bool YandexMap::IsOnline() const
{
    return m_online();
}

bool YandexMap::hasDocument() const
{
    return PageNavigated && !m_view->url().isEmpty();
}

void YandexMap::RunPageScript(const QString &text)
{
    if (!IsOnline())
        return; // dropped without a trace
    if (!hasDocument())
        return;
    m_scripts->run(text);
}

void YandexMap::flush()
{
    if (!IsOnline() || !hasDocument()) {
        m_scripts->drop();
        return;
    }
    m_scripts->flush();
}

void YandexMap::ya_setic(const QString &a, const QString &b, const QString &c)
{
    RunPageScript(mapscripts::ya_setic(a, b, c));
}

void YandexMap::ya_clear()
{
    RunPageScript(QStringLiteral("ya_clear()"));
}

void YandexMap::ya_clear1()
{
    RunPageScript(QStringLiteral("ya_clear1()"));
}

void YandexMap::ya_add_point(int index, double lat, double lng)
{
    RunPageScript(mapscripts::ya_add_point(index, lat, lng));
}

void YandexMap::ya_add_point1(int index, double lat, double lng)
{
    RunPageScript(mapscripts::ya_add_point1(index, lat, lng));
}

void YandexMap::ya_mark(const QString &name, double lat, double lng)
{
    RunPageScript(mapscripts::ya_mark(name, lat, lng));
    flush();
}

void YandexMap::ya_mark_undefined()
{
    RunPageScript(QStringLiteral("ya_mark(\"undefined\",0,0)"));
}

void YandexMap::ya_pan()
{
    RunPageScript(QStringLiteral("ya_pan()"));
    flush();
}

void YandexMap::ya_pan1()
{
    RunPageScript(QStringLiteral("ya_pan1()"));
    flush();
}

void YandexMap::SaveMapPicture(const QString &path)
{
    try {
        flush();
    } catch (const TravikError &) {
        // what the page could not draw is simply not in the picture
    }
    viewPicture(m_view, m_picture);
    QString error;
    if (!jpeg::save(m_picture, path, &error))
        throw TravikError(error);
}

void YandexMap::resetPageState()
{
    LastClickName.clear();
    PageNavigated = false;
}

void YandexMap::Timer1Timer()
{
    if (IsOnline()) {
        m_view->setEnabled(true);
        m_view->setVisible(true);
        m_offline->hide();
        if (!PageNavigated)
            m_view->setUrl(QUrl::fromLocalFile(mapPagePath()));
        PageNavigated = true;
    } else {
        m_view->setEnabled(false);
        m_view->setVisible(false);
        m_offline->show();
        m_offline->raise();
        PageNavigated = false;
        m_scripts->drop();
    }
}

void YandexMap::Yandex_tmrTimer()
{
    const auto v = mapscripts::clickValue(m_view->url().toString(QUrl::FullyEncoded));
    if (!v || *v == LastClickName || *v == QLatin1String("undefined"))
        return;
    LastClickName = *v;
    const bool compared = v->size() > 1 && v->at(1) == QLatin1Char('-');
    bool ok = false;
    const int index = (compared ? v->mid(2) : *v).toInt(&ok);
    if (!ok)
        throw TravikError(notValidIntegerMessage(compared ? v->mid(2) : *v));
    const TrackSlot slot = compared ? TrackSlot::Compared : TrackSlot::Main;
    // A name the page reports is only trusted within the loaded track.
    if (!m_hooks.chart || index < 0 || index >= m_hooks.chart->pointCount(slot))
        return;
    m_hooks.setStatus(readouts::pointReadout(index, trackStore(slot)[size_t(index)]));
    m_hooks.chart->HighlightPoint(slot, index);
    m_hooks.chart->ShowPointPage(index);
}
