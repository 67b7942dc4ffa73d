#include "ChartPane.h"

#include "LineChart.h"

#include <QAbstractButton>
#include <QAction>
#include <QWidget>

namespace {

constexpr int kFieldAxisOffset = 45;
const QColor kBlue(0, 0, 255), kRed(255, 0, 0), kGreen(0, 170, 0), kOrange(255, 128, 0);

void styleAxis(LineChart::Axis &a, const QColor &color, int width)
{
    a.lineColor = color;
    a.lineWidth = width;
    a.labelColor = color;
    a.tickColor = color;
}

} // namespace

ChartPane::ChartPane(LineChart *chart, const PaneControls &controls, QObject *parent)
    : QObject(parent), m_chart(chart), m_c(controls)
{
    LineChart &c = *m_chart;
    LineChart::Axis &bottom = c.axis(LineChart::BottomAxis);
    styleAxis(bottom, Qt::black, 1);
    bottom.lineStyle = Qt::DotLine;
    bottom.grid = true;
    styleAxis(c.axis(LineChart::LeftAxis), Qt::black, 2);
    c.axis(LineChart::LeftAxis).inverted = true;
    styleAxis(c.axis(LineChart::RightAxis), kBlue, 2);
    LineChart::Axis &h = c.axis(LineChart::CustomAxis0);
    styleAxis(h, kGreen, 2);
    h.minorTicks = 3;
    h.minorTickColor = kOrange;
    LineChart::Axis &e = c.axis(LineChart::CustomAxis1);
    styleAxis(e, kRed, 2);
    e.minorTicks = 3;
    e.minorTickColor = kRed;

    for (int width : {1, 3}) {
        const QString suffix = width == 1 ? QString() : QStringLiteral("_sr");
        c.addSeries(QStringLiteral("tok") + suffix, kBlue, width, LineChart::RightAxis);
        c.addSeries(QStringLiteral("glubina") + suffix, Qt::black, width, LineChart::LeftAxis);
        c.addSeries(QStringLiteral("epole") + suffix, kRed, width, LineChart::CustomAxis1);
        c.addSeries(QStringLiteral("hpole") + suffix, kGreen, width, LineChart::CustomAxis0);
    }
    c.setMarginsPercent(4, 2, 4, 0);
}

void ChartPane::SetupChart()
{
    m_chart->setCursorEnabled(m_c.cursor->isChecked());
    m_chart->setSmooth(m_c.interpolation->isChecked());
    LayoutPanes();
    m_chart->setPointsPerPage(10);
    for (int s : {glubina, glubina_sr})
        m_chart->setSeriesAxis(s, LineChart::LeftAxis);
    for (int s : {tok, tok_sr})
        m_chart->setSeriesAxis(s, LineChart::RightAxis);
    for (int s : {hpole, hpole_sr})
        m_chart->setSeriesAxis(s, LineChart::CustomAxis0);
    for (int s : {epole, epole_sr})
        m_chart->setSeriesAxis(s, LineChart::CustomAxis1);
    placeFieldAxes();
    m_chart->setMarginsPercent(m_chart->isSeriesVisible(hpole) ? 10 : 4, m_chart->marginTop(),
                               m_chart->isSeriesVisible(epole) ? 10 : 4, m_chart->marginBottom());
    for (int s = 0; s < m_chart->seriesCount(); ++s)
        m_chart->clear(s);
}

void ChartPane::placeFieldAxes()
{
    m_chart->setAxisOffset(LineChart::CustomAxis0, m_chart->isSeriesVisible(glubina) ? kFieldAxisOffset : 0);
    m_chart->setAxisOffset(LineChart::CustomAxis1, m_chart->isSeriesVisible(tok) ? kFieldAxisOffset : 0);
}

void ChartPane::LayoutPanes()
{
    const int w = m_c.window->frameGeometry().width();
    m_c.mapPane->setFixedWidth(m_c.chartPane->isVisibleTo(m_c.window) ? w / 2 : qMax(0, w - 18));
}

void ChartPane::mapToggleClicked()
{
    if (!m_c.mapToggle->isChecked() && !m_c.chartToggle->isChecked())
        m_c.mapToggle->setChecked(true);
    m_c.mapPane->setVisible(m_c.mapToggle->isChecked());
    m_chart->undoZoom();
    m_chart->setPointsPerPage(m_c.mapToggle->isChecked() ? 10 : 20);
}

void ChartPane::chartToggleClicked()
{
    if (!m_c.mapToggle->isChecked() && !m_c.chartToggle->isChecked())
        m_c.chartToggle->setChecked(true);
    m_c.chartPane->setVisible(m_c.chartToggle->isChecked());
    LayoutPanes();
}

void ChartPane::measurementToggled(Measurement m)
{
    struct Rule {
        QAbstractButton *button;
        int main;
    };
    const Rule rule = m == Measurement::Current ? Rule{m_c.current, tok}
                      : m == Measurement::Depth ? Rule{m_c.depth, glubina}
                      : m == Measurement::EField ? Rule{m_c.eField, epole}
                                                 : Rule{m_c.hField, hpole};
    const bool down = rule.button->isChecked();
    m_chart->setSeriesVisible(rule.main, down);
    if (m_c.compare->isChecked())
        m_chart->setSeriesVisible(rule.main + 4, down);
    switch (m) {
    case Measurement::Current:
    case Measurement::Depth:
        placeFieldAxes();
        break;
    case Measurement::EField:
        m_chart->setMarginsPercent(m_chart->marginLeft(), m_chart->marginTop(), m_chart->isSeriesVisible(epole) ? 10 : 4,
                                   m_chart->marginBottom());
        break;
    case Measurement::HField:
        m_chart->setMarginsPercent(m_chart->isSeriesVisible(hpole) ? 10 : 4, m_chart->marginTop(),
                                   m_chart->marginRight(), m_chart->marginBottom());
        break;
    }
}

void ChartPane::interpolationChanged()
{
    m_chart->setSmooth(m_c.interpolation->isChecked());
}

void ChartPane::cursorChanged()
{
    m_chart->setCursorEnabled(m_c.cursor->isChecked());
}

void ChartPane::ShowPointPage(int index)
{
    m_chart->undoZoom();
    m_chart->setPage(qMax(0, index) / m_chart->pointsPerPage() + 1);
}

void ChartPane::groupReset(TrackSlot slot)
{
    const int first = firstSeries(slot);
    const int n = m_chart->markerSizeCount(first);
    for (int i = 0; i < n; ++i)
        for (int s = first; s < first + 4; ++s)
            m_chart->setMarkerSize(s, i, LineChart::kDefaultMarker);
}

void ChartPane::HighlightPoint(TrackSlot slot, int index)
{
    groupReset(TrackSlot::Main);
    groupReset(TrackSlot::Compared);
    const int first = firstSeries(slot);
    for (int s = first; s < first + 4; ++s)
        m_chart->setMarkerSize(s, index, 10);
}

void ChartPane::beginTrack(TrackSlot slot)
{
    groupReset(slot);
    const int first = firstSeries(slot);
    for (int s = first; s < first + 4; ++s)
        m_chart->clear(s);
}

void ChartPane::appendPoint(TrackSlot slot, const TrackPoint &p)
{
    const int first = firstSeries(slot);
    m_chart->append(first + glubina, p.Glub);
    m_chart->append(first + tok, p.Tok);
    m_chart->append(first + epole, p.E_Pole);
    m_chart->append(first + hpole, p.H_Pole);
    if (slot == TrackSlot::Compared)
        m_chart->setSeriesColor(tok_sr, kBlue);
}

void ChartPane::endTrack()
{
    m_chart->undoZoom();
    m_chart->setPage(1);
}

int ChartPane::pointCount(TrackSlot slot) const
{
    return m_chart->count(firstSeries(slot));
}

void ChartPane::showComparedByToggles()
{
    m_chart->setSeriesVisible(tok_sr, m_c.current->isChecked());
    m_chart->setSeriesVisible(glubina_sr, m_c.depth->isChecked());
    m_chart->setSeriesVisible(epole_sr, m_c.eField->isChecked());
    m_chart->setSeriesVisible(hpole_sr, m_c.hField->isChecked());
}

void ChartPane::hideCompared()
{
    for (int s = tok_sr; s <= hpole_sr; ++s)
        m_chart->setSeriesVisible(s, false);
}
