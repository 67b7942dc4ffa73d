#pragma once

#include <QString>

// The one way the program reaches the map: putting tracks on it, marking a
// point, fitting the view, and picturing it. Callers are written once for
// both programs; each program has its own implementation.
class MapPane
{
public:
    virtual ~MapPane() = default;

    // Icon addresses of main points, compared points and the selection marker.
    virtual void ya_setic(const QString &mainIcon, const QString &comparedIcon, const QString &markIcon) = 0;
    virtual void ya_clear() = 0;  // the main track leaves the map
    virtual void ya_clear1() = 0; // the compared track leaves the map
    virtual void ya_add_point(int index, double lat, double lng) = 0;
    virtual void ya_add_point1(int index, double lat, double lng) = 0;
    // name: the index text, or "1-" and the index text for the compared track
    virtual void ya_mark(const QString &name, double lat, double lng) = 0;
    // The exact call that clears the selection marker after a load.
    virtual void ya_mark_undefined() = 0;
    virtual void ya_pan() = 0;  // fit the map to the main track
    virtual void ya_pan1() = 0; // fit the map to the compared track
    // Throws TravikError when the picture cannot be written.
    virtual void SaveMapPicture(const QString &path) = 0;
    virtual bool IsOnline() const = 0;
    // Sends what is still queued; throws TravikError when the map fails.
    virtual void flush() {}
};
