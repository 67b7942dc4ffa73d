#pragma once

#include "TrackStore.h"

#include <QString>

#include <functional>

class ChartPane;
class MapPane;

// What pointing at and clicking on the chart does: the readout in the status
// line, the highlighted point, and the mark on the map.
class ChartSelection
{
public:
    struct Hooks {
        std::function<void(const QString &)> setStatus;
        std::function<bool()> comparisonShown; // SpeedButton7 enabled and down
        bool statusOnSelect = true;            // travik-gmap leaves the status line as it is
    };
    ChartSelection(ChartPane &pane, MapPane &map, Hooks hooks);

    void pointerMoved(double axisValue);
    // A press on point `index` of chart series `series`. A failure of the map
    // call is thrown to the caller after the other track's markers are reset.
    void pointPressed(int series, int index);

private:
    ChartPane &m_pane;
    MapPane &m_map;
    Hooks m_hooks;
};
