#pragma once

#include "TrackPoint.h"

#include <QByteArray>

#include <span>

// The loaded points as CSV: UTF-8, LF, a header of the field names, reals with ".".
QByteArray trackCsv(std::span<const TrackPoint> points);
