#pragma once

#include "ConnectionTest.h"
#include "MapPane.h"
#include "TGMMap.h"
#include "TGMMarker.h"
#include "TGMPolyline.h"
#include "TrackStore.h"

#include <QObject>

#include <functional>

class ChartPane;
class QWebEngineView;
class QWidget;

// travik-gmap's map: the map operations over the map component, the
// connection following and the map's own events.
class GMapPane : public QObject, public MapPane
{
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(const QString &)> setStatus;
        ChartPane *chart = nullptr;
    };
    GMapPane(QWebEngineView *view, QWidget *offlinePanel, Hooks hooks, ConnectionTest online, QObject *parent = nullptr);

    void setApiKey(const QString &key) { GMMap1.apiKey = key; }

    void ya_setic(const QString &, const QString &, const QString &) override {}
    void ya_clear() override;
    void ya_clear1() override;
    void ya_add_point(int index, double lat, double lng) override;
    void ya_add_point1(int index, double lat, double lng) override;
    void ya_mark(const QString &name, double lat, double lng) override;
    void ya_mark_undefined() override {}
    void ya_pan() override;
    void ya_pan1() override {}
    void SaveMapPicture(const QString &path) override;
    bool IsOnline() const override { return GMMap1.active(); } // the map is on
    void flush() override { GMMap1.flush(); }

    // "Сравнение": every compared line and marker shown or hidden.
    void showCompared(bool shown);
    void Timer1Timer();
    // After a load: fit to the main track and, when asked, the preview once
    // the map reports its tiles loaded (at most waitMs). False when the wait ran out.
    bool afterLoad(const QString &previewPath, int waitMs = 10000);

    bool MapPageLoaded = false;
    static QString iconPath(const char *file);

    TGMMap GMMap1;
    TGMPolyline GMPolyline1, GMPolyline2;
    TGMMarker GMMarker1, GMMarker2;

    void GMMap1AfterPageLoaded(bool first);
    void GMMap1MouseMove(double lat, double lng);
    void markerMouseOver(int set, int index);
    void markerClick(int set, int index);

private:
    void select(TrackSlot slot, int index);

    QWidget *m_offline;
    Hooks m_hooks;
    ConnectionTest m_online;
};
