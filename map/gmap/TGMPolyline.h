#pragma once

#include <QColor>
#include <QString>

class TGMMap;

// One line object on the map, with its points.
class TGMPolyline
{
public:
    TGMPolyline(TGMMap &map, QString id);

    QColor strokeColor = Qt::blue;
    double strokeOpacity = 1.0;
    // Symbols along the line: none when repeat is 0.
    int symbolOffset = 0, symbolRepeat = 0;
    QColor symbolFill = Qt::blue, symbolOutline = Qt::black;
    double symbolFillOpacity = 1.0, symbolOutlineOpacity = 1.0;
    int symbolOutlineWeight = 1;
    double curveResolution = 0.1;

    // Puts the line object on a freshly built map.
    void create();
    void addPoint(double lat, double lng);
    void clear();
    void setVisible(bool visible);
    void zoomToPoints();

private:
    TGMMap &m_map;
    QString m_id;
};
