#pragma once

#include <QString>

class TGMMap;

// A set of markers on the map, addressed by their index in order of adding.
class TGMMarker
{
public:
    TGMMarker(TGMMap &map, int id);

    int id() const { return m_id; }
    int count() const { return m_count; }

    void add(double lat, double lng, const QString &title, const QString &icon);
    void clear();
    void setIcon(int index, const QString &icon);
    void setAllIcons(const QString &icon);
    void setVisible(bool visible);
    void centerOn(int index);
    // The page was built anew: it holds no markers.
    void forget() { m_count = 0; }

private:
    TGMMap &m_map;
    int m_id;
    int m_count = 0;
};
