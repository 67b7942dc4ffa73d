#include "TGMPolyline.h"

#include "MapScripts.h"
#include "TGMMap.h"

TGMPolyline::TGMPolyline(TGMMap &map, QString id) : m_map(map), m_id(std::move(id)) {}

void TGMPolyline::create()
{
    QString icons = QStringLiteral("[]");
    if (symbolRepeat > 0)
        icons = QStringLiteral("[{icon:{path:google.maps.SymbolPath.CIRCLE,scale:3,fillColor:\"%1\",fillOpacity:%2,"
                               "strokeColor:\"%3\",strokeOpacity:%4,strokeWeight:%5},offset:\"%6px\",repeat:\"%7px\"}]")
                    .arg(symbolFill.name())
                    .arg(symbolFillOpacity)
                    .arg(symbolOutline.name())
                    .arg(symbolOutlineOpacity)
                    .arg(symbolOutlineWeight)
                    .arg(symbolOffset)
                    .arg(symbolRepeat);
    // curveResolution belongs to curved (geodesic) lines, which these are not
    m_map.run(QStringLiteral("polyInit(%1,{strokeColor:\"%2\",strokeOpacity:%3,geodesic:false,icons:%4})")
                  .arg(mapscripts::quoted(m_id), strokeColor.name())
                  .arg(strokeOpacity)
                  .arg(icons));
}

void TGMPolyline::addPoint(double lat, double lng)
{
    m_map.run(QStringLiteral("polyAdd(%1,%2,%3)").arg(mapscripts::quoted(m_id), mapscripts::number(lat), mapscripts::number(lng)));
}

void TGMPolyline::clear()
{
    m_map.run(QStringLiteral("polyClear(%1)").arg(mapscripts::quoted(m_id)));
}

void TGMPolyline::setVisible(bool visible)
{
    m_map.run(QStringLiteral("polyVisible(%1,%2)").arg(mapscripts::quoted(m_id), visible ? "true" : "false"));
}

void TGMPolyline::zoomToPoints()
{
    m_map.run(QStringLiteral("polyZoom(%1)").arg(mapscripts::quoted(m_id)));
}
