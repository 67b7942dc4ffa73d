#pragma once

#include "TrackPoint.h"

#include <QString>

// The status-line texts of a track point.
namespace readouts {

// " Точка №5 Ш.55,75 Д.37,61 Глубина 1,2м Ток 150ма Е12 Н340"
QString pointReadout(int number, const TrackPoint &p);
// The same with the compared track's values in brackets after each.
QString comparedReadout(int number, const TrackPoint &main, const TrackPoint &compared);

// The point index under a bottom-axis value: nearest integer, halves to the
// even neighbour, never below 0.
int pointerIndex(double axisValue);

} // namespace readouts
