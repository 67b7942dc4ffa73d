#pragma once

#include "TrackPoint.h"

#include <QString>

#include <array>

inline constexpr int MaxTrackPoints = 100000;

// A fixed store of points, indexed from 0. The number of valid points is not
// kept here: it is the number of points in the store's chart series.
using TrackStore = std::array<TrackPoint, MaxTrackPoints>;

enum class TrackSlot { Main = 0, Compared = 1 };

// The two stores of the run, zero at start and never cleared.
extern TrackStore MainTrack;
extern TrackStore ComparedTrack;

TrackStore &trackStore(TrackSlot slot);

// Full path of the track file last chosen for the main track; empty at start.
extern QString MainTrackPath;
