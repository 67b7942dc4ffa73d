#include "TGMMap.h"

#include "JpegCodec.h"
#include "PageScripts.h"
#include "SilentPage.h"
#include "StandardMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <QUrlQuery>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// The page's own functions: the component's operations, by name.
constexpr char kPageScript[] = R"JS(
var bridge = null, map = null, lines = {}, markers = {}, apiReady = false;
function travikReady() { if (bridge && apiReady) bridge.pageLoaded(true); }
function travikApiReady() { apiReady = true; travikReady(); }
function DoMap(o) {
  map = new google.maps.Map(document.getElementById("map"), {
    center: {lat: o.lat, lng: o.lng}, zoom: o.zoom, backgroundColor: o.background,
    overviewMapControl: o.overview, rotateControl: o.rotate, streetViewControl: o.streetView });
  map.addListener("mousemove", function (e) { bridge.pointerMoved(e.latLng.lat(), e.latLng.lng()); });
  map.addListener("tilesloaded", function () { bridge.pageLoaded(false); });
}
function polyInit(id, opts) { if (lines[id]) lines[id].setMap(null); lines[id] = new google.maps.Polyline(opts); lines[id].setMap(map); }
function polyAdd(id, lat, lng) { lines[id].getPath().push(new google.maps.LatLng(lat, lng)); }
function polyClear(id) { lines[id].getPath().clear(); }
function polyVisible(id, v) { lines[id].setVisible(v); }
function polyZoom(id) {
  var b = new google.maps.LatLngBounds(), n = 0;
  lines[id].getPath().forEach(function (p) { b.extend(p); n++; });
  if (n) map.fitBounds(b);
}
function mkAdd(id, lat, lng, title, icon) {
  var list = markers[id] || (markers[id] = []), k = list.length;
  var m = new google.maps.Marker({position: {lat: lat, lng: lng}, map: map, title: title, icon: icon, clickable: true});
  m.addListener("click", function () { bridge.markerClicked(id, k); });
  m.addListener("mouseover", function () { bridge.markerOver(id, k); });
  list.push(m);
}
function mkClear(id) { (markers[id] || []).forEach(function (m) { m.setMap(null); }); markers[id] = []; }
function mkIcon(id, k, icon) { var m = (markers[id] || [])[k]; if (m) m.setIcon(icon); }
function mkIconAll(id, icon) { (markers[id] || []).forEach(function (m) { m.setIcon(icon); }); }
function mkVisible(id, v) { (markers[id] || []).forEach(function (m) { m.setVisible(v); }); }
function mkCenter(id, k) { var m = (markers[id] || [])[k]; if (m) map.setCenter(m.getPosition()); }
new QWebChannel(qt.webChannelTransport, function (ch) { bridge = ch.objects.bridge; travikReady(); });
)JS";

QString channelScript()
{
    QFile f(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TGMMap::TGMMap(QWebEngineView *view, QObject *parent) : QObject(parent), m_view(view)
{
    auto *page = new SilentPage(m_view);
    m_view->setPage(page);
    page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    m_channel = new QWebChannel(this);
    m_channel->registerObject(QStringLiteral("bridge"), new TGMBridge(this));
    page->setWebChannel(m_channel);
    m_scripts = new PageScripts(page, this);
    m_scripts->failureMessage = &TGMMap::pageFailedMessage;
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool) {
        m_loadFinished = true;
        if (m_firstPending) {
            m_firstPending = false;
            emit afterPageLoaded(true);
        }
    });
}

void TGMMap::pageReported(bool first)
{
    if (first && !m_loadFinished) {
        m_firstPending = true;
        return;
    }
    emit afterPageLoaded(first);
}

QString TGMMap::pageFailedMessage(const QString &detail)
{
    return QStringLiteral(u"Карта не готова: %1").arg(detail);
}

QString TGMMap::pageHtml() const
{
    QUrl api(QStringLiteral("https://maps.googleapis.com/maps/api/js"));
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("language"), language);
    q.addQueryItem(QStringLiteral("callback"), QStringLiteral("travikApiReady"));
    if (!apiKey.isEmpty())
        q.addQueryItem(QStringLiteral("key"), apiKey);
    api.setQuery(q);
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                          "<style>html,body,#map{height:100%;margin:0;padding:0;background:%1}</style>"
                          "<script>%2</script><script>%3</script>"
                          "<script async src=\"%4\"></script></head><body><div id=\"map\"></div></body></html>")
        .arg(background.name(), channelScript(), QString::fromLatin1(kPageScript), api.toString(QUrl::FullyEncoded));
}

void TGMMap::setActive(bool on)
{
    if (on == m_active)
        return;
    m_active = on;
    m_scripts->drop();
    m_loadFinished = false;
    m_firstPending = false;
    if (on)
        // the icons are file paths beside the executable
        m_view->setHtml(pageHtml(), QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QLatin1Char('/')));
    else
        m_view->setHtml(QString());
}

void TGMMap::DoMap()
{
    run(QStringLiteral("DoMap({lat:%1,lng:%2,zoom:%3,background:\"%4\",overview:%5,rotate:%6,streetView:%7})")
            .arg(centerLat, 0, 'g', 15)
            .arg(centerLng, 0, 'g', 15)
            .arg(zoom)
            .arg(background.name())
            .arg(overviewMapControl ? "true" : "false", rotateControl ? "true" : "false",
                 streetViewControl ? "true" : "false"));
}

void TGMMap::run(const QString &script)
{
    if (m_active)
        m_scripts->run(script);
}

void TGMMap::send()
{
    if (m_active)
        m_scripts->send();
}

void TGMMap::flush()
{
    if (m_active)
        m_scripts->flush();
}

void TGMMap::saveToJpeg(const QString &path)
{
    try {
        flush();
    } catch (const TravikError &) {
        // what the page could not draw is simply not in the picture
    }
    QString error;
    if (!jpeg::save(viewPicture(m_view, m_picture), path, &error))
        throw TravikError(error);
}
