#pragma once

#include <QColor>
#include <QImage>
#include <QObject>

class PageScripts;
class QWebChannel;
class QWebEngineView;

// The map component: its own page in the browser view, on the Google Maps
// JavaScript API, with the map's events delivered through a web channel.
class TGMMap : public QObject
{
    Q_OBJECT
public:
    explicit TGMMap(QWebEngineView *view, QObject *parent = nullptr);

    // Settings of the map, used when the map is built in the page.
    QString language = QStringLiteral("ru");
    double centerLat = 53.905266;
    double centerLng = 27.553541;
    int zoom = 14;
    QColor background = QColor(239, 240, 238);
    bool overviewMapControl = false, rotateControl = false, streetViewControl = false;
    QString apiKey; // never shown or logged

    // The activity switch: on loads the page, off drops it.
    void setActive(bool on);
    bool active() const { return m_active; }

    // Builds the map in the loaded page from the settings ("DoMap").
    void DoMap();
    void run(const QString &script);
    // Sends what is queued without waiting for the page.
    void send();
    void flush();
    // The map as a JPEG picture (libjpeg); throws TravikError when it cannot be written.
    void saveToJpeg(const QString &path);

    QWebEngineView *view() const { return m_view; }
    // The page says it has loaded (first) or that its tiles have.
    void pageReported(bool first);
    static QString pageFailedMessage(const QString &detail);

signals:
    void afterPageLoaded(bool first);
    void mouseMove(double lat, double lng);
    void markerClick(int set, int index);
    void markerMouseOver(int set, int index);

private:
    QString pageHtml() const;

    QWebEngineView *m_view;
    PageScripts *m_scripts;
    QWebChannel *m_channel;
    bool m_active = false;
    // The first report waits for the browser to finish loading the page:
    // scripts run on a page still loading may never answer.
    bool m_loadFinished = false;
    bool m_firstPending = false;
    QImage m_picture;
};

// What the page calls back; the web channel exposes it as "bridge".
class TGMBridge : public QObject
{
    Q_OBJECT
public:
    explicit TGMBridge(TGMMap *map) : QObject(map), m_map(map) {}
    Q_INVOKABLE void pageLoaded(bool first) { m_map->pageReported(first); }
    Q_INVOKABLE void pointerMoved(double lat, double lng) { emit m_map->mouseMove(lat, lng); }
    Q_INVOKABLE void markerClicked(int set, int index) { emit m_map->markerClick(set, index); }
    Q_INVOKABLE void markerOver(int set, int index) { emit m_map->markerMouseOver(set, index); }

private:
    TGMMap *m_map;
};
