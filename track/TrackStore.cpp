#include "TrackStore.h"

// Static storage: zero-filled before main() and alive for the whole run.
TrackStore MainTrack{};
TrackStore ComparedTrack{};
QString MainTrackPath;

TrackStore &trackStore(TrackSlot slot)
{
    return slot == TrackSlot::Main ? MainTrack : ComparedTrack;
}
