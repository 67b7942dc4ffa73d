#include "TGMMarker.h"

#include "MapScripts.h"
#include "TGMMap.h"

TGMMarker::TGMMarker(TGMMap &map, int id) : m_map(map), m_id(id) {}

void TGMMarker::add(double lat, double lng, const QString &title, const QString &icon)
{
    m_map.run(QStringLiteral("mkAdd(%1,%2,%3,%4,%5)")
                  .arg(m_id)
                  .arg(mapscripts::number(lat), mapscripts::number(lng), mapscripts::quoted(title), mapscripts::quoted(icon)));
    ++m_count;
}

void TGMMarker::clear()
{
    m_map.run(QStringLiteral("mkClear(%1)").arg(m_id));
    m_count = 0;
}

void TGMMarker::setIcon(int index, const QString &icon)
{
    m_map.run(QStringLiteral("mkIcon(%1,%2,%3)").arg(m_id).arg(index).arg(mapscripts::quoted(icon)));
}

void TGMMarker::setAllIcons(const QString &icon)
{
    m_map.run(QStringLiteral("mkIconAll(%1,%2)").arg(m_id).arg(mapscripts::quoted(icon)));
}

void TGMMarker::setVisible(bool visible)
{
    m_map.run(QStringLiteral("mkVisible(%1,%2)").arg(m_id).arg(visible ? "true" : "false"));
}

void TGMMarker::centerOn(int index)
{
    m_map.run(QStringLiteral("mkCenter(%1,%2)").arg(m_id).arg(index));
}
