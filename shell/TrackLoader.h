#pragma once

#include "TrackStore.h"

#include <QString>

#include <functional>

class ChartPane;
class MapPane;

// Loading a track file into a store, the chart and the map, and the commands
// around it: "Из файла...", "Файл для сравнения..." and "Описание файла".
class TrackLoader
{
public:
    // What the loader changes in the window.
    struct View {
        std::function<void(bool)> showBrowser;          // WebBrowser1
        std::function<void(int)> showGauge;             // range 0 … n-1
        std::function<void(int)> setGauge;
        std::function<void()> hideGauge;
        std::function<void(const QString &)> setFrequency;   // Label2
        std::function<QString()> descriptionCaption;         // N2
        std::function<void(const QString &)> setDescriptionCaption;
        std::function<void(const QString &)> setStatus;      // Label1
        std::function<void(const QString &)> showMessage;
        std::function<QString(const QString &, const QString &)> askText;
        std::function<MapPane &()> map;
        // The map component's end of a load (travik-gmap): fit, and the preview
        // (empty path: none) once the map reports it loaded; false when that wait ran out.
        // Without it (travik) the preview follows the 501 short waits.
        std::function<bool(const QString &previewPath)> componentAfterLoad;
    };
    TrackLoader(ChartPane &chart, View view);

    bool loading() const { return m_loading; }

    // false when the file held no points ("Файл трассы пустой!!!").
    bool LoadTrack(const QString &path, TrackSlot slot);
    // N2: the description of the main track.
    void describe();

    static QString emptyTrackMessage();
    static QString busyMessage();
    static QString mapNotReadyText(const QString &detail);

private:
    void mapCall(const std::function<void(MapPane &)> &call);
    void pump(int i);

    ChartPane &m_chart;
    View m_view;
    bool m_loading = false;
    bool m_mapFailed = false;
    QString m_mapError;
    qint64 m_lastPumpNs = 0;
};
