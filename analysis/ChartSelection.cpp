#include "ChartSelection.h"

#include "ChartPane.h"
#include "MapPane.h"
#include "Readouts.h"

ChartSelection::ChartSelection(ChartPane &pane, MapPane &map, Hooks hooks)
    : m_pane(pane), m_map(map), m_hooks(std::move(hooks))
{
}

void ChartSelection::pointerMoved(double axisValue)
{
    const int i = readouts::pointerIndex(axisValue);
    const int mainCount = m_pane.pointCount(TrackSlot::Main);
    const int comparedCount = m_pane.pointCount(TrackSlot::Compared);
    if (mainCount == 0)
        return; // nothing to read out: the status text stays
    // Past the end of a track (last page, right margin, a shorter compared
    // track) the readout shows that track's last point.
    const int m = qMin(i, mainCount - 1);
    if (m_hooks.comparisonShown() && comparedCount > 0) {
        const int c = qMin(i, comparedCount - 1);
        m_hooks.setStatus(readouts::comparedReadout(m + 1, MainTrack[size_t(m)], ComparedTrack[size_t(c)]));
    } else {
        m_hooks.setStatus(readouts::pointReadout(m + 1, MainTrack[size_t(m)]));
    }
}

void ChartSelection::pointPressed(int series, int index)
{
    const TrackSlot slot = series < ChartPane::tok_sr ? TrackSlot::Main : TrackSlot::Compared;
    const TrackSlot other = slot == TrackSlot::Main ? TrackSlot::Compared : TrackSlot::Main;
    const TrackPoint &p = trackStore(slot)[size_t(index)];
    m_pane.groupReset(other);
    const QString name = (slot == TrackSlot::Main ? QString() : QStringLiteral("1-")) + QString::number(index);
    m_map.ya_mark(name, p.Lat, p.Lng);
    if (m_hooks.statusOnSelect)
        m_hooks.setStatus(readouts::pointReadout(index, p));
    m_pane.HighlightPoint(slot, index);
}
