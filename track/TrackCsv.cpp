#include "TrackCsv.h"

#include "TrackFields.h"


QByteArray trackCsv(std::span<const TrackPoint> points)
{
    QByteArray out;
    out.reserve(qsizetype(points.size()) * 200 + 512);
    for (const TrackField &f : kTrackFields) {
        if (&f != &kTrackFields.front())
            out.append(',');
        out.append(f.fieldName);
    }
    out.append('\n');
    for (const TrackPoint &p : points) {
        for (const TrackField &f : kTrackFields) {
            if (&f != &kTrackFields.front())
                out.append(',');
            appendTrackField(out, p, f, '.');
        }
        out.append('\n');
    }
    return out;
}
