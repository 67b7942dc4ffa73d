#include "GMapPane.h"

#include "ChartPane.h"
#include "NumberFormat.h"
#include "Readouts.h"
#include "StandardMessages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWebEngineView>
#include <QWidget>

#include <cmath>

GMapPane::GMapPane(QWebEngineView *view, QWidget *offlinePanel, Hooks hooks, ConnectionTest online, QObject *parent)
    : QObject(parent), GMMap1(view, this), GMPolyline1(GMMap1, QStringLiteral("GMPolyline1")),
      GMPolyline2(GMMap1, QStringLiteral("GMPolyline2")), GMMarker1(GMMap1, 1), GMMarker2(GMMap1, 2),
      m_offline(offlinePanel), m_hooks(std::move(hooks)), m_online(std::move(online))
{
    GMPolyline1.strokeColor = Qt::blue;
    GMPolyline1.symbolOffset = 10;
    GMPolyline1.symbolRepeat = 10;
    GMPolyline1.symbolFill = Qt::blue;
    GMPolyline1.symbolOutline = Qt::black;
    GMPolyline2.strokeColor = Qt::green;
    GMPolyline2.symbolRepeat = 0;
    // Queued: the handlers talk to the page again, which they cannot do from
    // inside the page's own call.
    connect(&GMMap1, &TGMMap::afterPageLoaded, this, &GMapPane::GMMap1AfterPageLoaded, Qt::QueuedConnection);
    connect(&GMMap1, &TGMMap::mouseMove, this, &GMapPane::GMMap1MouseMove, Qt::QueuedConnection);
    connect(&GMMap1, &TGMMap::markerMouseOver, this, &GMapPane::markerMouseOver, Qt::QueuedConnection);
    connect(&GMMap1, &TGMMap::markerClick, this, &GMapPane::markerClick, Qt::QueuedConnection);
}

QString GMapPane::iconPath(const char *file)
{
    // the folder path ends with a separator, and "/media/" follows: two meet
    return QCoreApplication::applicationDirPath() + QStringLiteral("/") + QStringLiteral("/media/") +
           QString::fromLatin1(file);
}

void GMapPane::ya_clear()
{
    if (!GMMap1.active())
        return;
    GMPolyline1.clear();
    GMMarker1.clear();
}

void GMapPane::ya_clear1()
{
    if (!GMMap1.active())
        return;
    GMMarker2.clear();
    GMPolyline2.clear();
}

void GMapPane::ya_add_point(int index, double lat, double lng)
{
    if (!GMMap1.active())
        return;
    GMPolyline1.addPoint(lat, lng);
    GMMarker1.add(lat, lng, QStringLiteral(u"Точка %1").arg(index + 1), iconPath("dot_blue.png"));
}

void GMapPane::ya_add_point1(int index, double lat, double lng)
{
    if (!GMMap1.active())
        return;
    GMPolyline2.addPoint(lat, lng);
    GMMarker2.add(lat, lng, QStringLiteral(u"Точка %1").arg(index + 1), iconPath("dot_green.png"));
}

void GMapPane::ya_mark(const QString &name, double, double)
{
    if (!GMMap1.active())
        return;
    const bool compared = name.startsWith(QLatin1String("1-"));
    bool ok = false;
    const int index = (compared ? name.mid(2) : name).toInt(&ok);
    if (!ok)
        return;
    GMMarker1.setAllIcons(iconPath("dot_blue.png"));
    GMMarker2.setAllIcons(iconPath("dot_green.png"));
    (compared ? GMMarker2 : GMMarker1).setIcon(index, iconPath("dot_red.png"));
    (compared ? GMPolyline2 : GMPolyline1).zoomToPoints();
    (compared ? GMMarker2 : GMMarker1).centerOn(index);
    GMMap1.flush();
}

void GMapPane::ya_pan()
{
    if (!GMMap1.active())
        return;
    GMPolyline1.zoomToPoints();
    GMMap1.flush();
}

void GMapPane::SaveMapPicture(const QString &path)
{
    GMMap1.saveToJpeg(path);
}

void GMapPane::showCompared(bool shown)
{
    if (!GMMap1.active())
        return;
    GMPolyline2.setVisible(shown);
    GMMarker2.setVisible(shown);
    GMMap1.flush();
}

void GMapPane::Timer1Timer()
{
    QWebEngineView *view = GMMap1.view();
    if (m_online()) {
        view->setEnabled(true);
        view->setVisible(true);
        m_offline->hide();
        GMMap1.setActive(true);
    } else {
        GMMap1.setActive(false);
        view->setEnabled(false);
        view->setVisible(false);
        m_offline->show();
        m_offline->raise();
    }
}

bool GMapPane::afterLoad(const QString &previewPath, int waitMs)
{
    MapPageLoaded = false;
    ya_pan();
    if (previewPath.isEmpty())
        return true;
    QElapsedTimer waited;
    waited.start();
    while (!MapPageLoaded && waited.elapsed() < waitMs && GMMap1.active())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!MapPageLoaded)
        return false;
    SaveMapPicture(previewPath);
    return true;
}

void GMapPane::GMMap1AfterPageLoaded(bool first)
{
    if (first) {
        GMMap1.DoMap();
        GMPolyline1.create();
        GMPolyline2.create();
        GMMarker1.forget();
        GMMarker2.forget();
        GMMap1.send();
    }
    MapPageLoaded = true;
}

void GMapPane::GMMap1MouseMove(double lat, double lng)
{
    // cut, not rounded, to 6 decimal places
    const auto cut = [](double v) { return std::trunc(v * 1000000.0) / 1000000.0; };
    m_hooks.setStatus(QStringLiteral(u" Ш.") + numfmt::formatReal(cut(lat)) + QStringLiteral(u" Д.") +
                      numfmt::formatReal(cut(lng)));
}

void GMapPane::markerMouseOver(int set, int index)
{
    const TrackSlot slot = set == 2 ? TrackSlot::Compared : TrackSlot::Main;
    if (!m_hooks.chart || index < 0 || index >= m_hooks.chart->pointCount(slot))
        return;
    m_hooks.setStatus(readouts::pointReadout(index + 1, trackStore(slot)[size_t(index)]));
}

void GMapPane::markerClick(int set, int index)
{
    const TrackSlot slot = set == 2 ? TrackSlot::Compared : TrackSlot::Main;
    if (!m_hooks.chart || index < 0 || index >= m_hooks.chart->pointCount(slot))
        return;
    select(slot, index);
}

void GMapPane::select(TrackSlot slot, int index)
{
    const bool compared = slot == TrackSlot::Compared;
    (compared ? GMMarker1 : GMMarker2).setAllIcons(iconPath(compared ? "dot_blue.png" : "dot_green.png"));
    (compared ? GMMarker2 : GMMarker1).setAllIcons(iconPath(compared ? "dot_green.png" : "dot_blue.png"));
    (compared ? GMMarker2 : GMMarker1).setIcon(index, iconPath("dot_red.png"));
    (compared ? GMMarker2 : GMMarker1).centerOn(index);
    // Sent without waiting: this answers the page's own call, and the page
    // does not answer another one until it has returned.
    GMMap1.send();
    m_hooks.chart->HighlightPoint(slot, index);
    m_hooks.chart->ShowPointPage(index);
}
