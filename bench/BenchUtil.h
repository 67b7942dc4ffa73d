#pragma once

#include "TrackPoint.h"

#include <QString>

#include <functional>
#include <vector>

namespace bench {

// Median wall time of `runs` calls, in milliseconds.
double medianMs(int runs, const std::function<void()> &job);

// Peak resident memory of this process so far, in bytes.
long long peakRssBytes();

// A plausible track: `count` points along a line near (lat, lng), about a metre
// apart, with depth, current and field readings that drift as a real line does.
std::vector<TrackPoint> generateTrack(int count, double lat = 53.905266, double lng = 27.553541,
                                      unsigned seed = 1);

void print(const char *name, double value, const char *unit);

} // namespace bench
