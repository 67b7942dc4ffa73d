#pragma once

#include "TrackPoint.h"
#include "TrackStore.h"

#include <QObject>

class LineChart;
class QAbstractButton;
class QAction;
class QWidget;

// The controls of the main window that the chart pane follows.
struct PaneControls {
    QWidget *window = nullptr;
    QWidget *mapPane = nullptr;   // Panel3
    QWidget *chartPane = nullptr; // Panel4
    QAbstractButton *mapToggle = nullptr;   // SpeedButton1 "Карта"
    QAbstractButton *chartToggle = nullptr; // SpeedButton2 "График"
    QAbstractButton *compare = nullptr;     // SpeedButton7
    QAbstractButton *depth = nullptr;       // SpeedButton6 "Глубина"
    QAbstractButton *current = nullptr;     // SpeedButton5 "Ток"
    QAbstractButton *eField = nullptr;      // SpeedButton4 "Е-поле"
    QAbstractButton *hField = nullptr;      // SpeedButton3 "Н-поле"
    QAction *interpolation = nullptr;       // N13
    QAction *cursor = nullptr;              // N14
};

// The chart of the two tracks and the layout of the two panes.
class ChartPane : public QObject
{
    Q_OBJECT
public:
    // Series1 … Series8, in this order.
    enum Series { tok, glubina, epole, hpole, tok_sr, glubina_sr, epole_sr, hpole_sr };
    enum class Measurement { Current, Depth, EField, HField };

    ChartPane(LineChart *chart, const PaneControls &controls, QObject *parent = nullptr);

    LineChart *chart() const { return m_chart; }

    void SetupChart();
    void LayoutPanes();
    void mapToggleClicked();   // after "Карта" changed state
    void chartToggleClicked(); // after "График" changed state
    void measurementToggled(Measurement m);
    void interpolationChanged(); // N13, after its tick changed
    void cursorChanged();        // N14, after its tick changed

    void ShowPointPage(int index);
    void HighlightPoint(TrackSlot slot, int index);
    void groupReset(TrackSlot slot);

    // What the track loader does with the curves of a slot.
    void beginTrack(TrackSlot slot);
    void appendPoint(TrackSlot slot, const TrackPoint &p);
    void endTrack();
    int pointCount(TrackSlot slot) const;
    // Compared curves visible exactly where their measurement toggle is down.
    void showComparedByToggles();
    void hideCompared();

    static int firstSeries(TrackSlot slot) { return slot == TrackSlot::Main ? tok : tok_sr; }

private:
    void placeFieldAxes();

    LineChart *m_chart;
    PaneControls m_c;
};
