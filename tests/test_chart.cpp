#include "ChartPane.h"
#include "ChartSelection.h"
#include "LineChart.h"
#include "NumberFormat.h"
#include "Readouts.h"
#include "RecordingMapPane.h"

#include <QAction>
#include <QHBoxLayout>
#include <QToolButton>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

// A window with the two panes, the toggles and the chart, as the main window has them.
struct Bench {
    Bench()
    {
        window.resize(1000, 600);
        auto *row = new QHBoxLayout(&window);
        row->setContentsMargins(0, 0, 0, 0);
        mapPane = new QWidget;
        chartPane = new QWidget;
        row->addWidget(mapPane);
        row->addWidget(chartPane, 1);
        chart = new LineChart(chartPane);
        chart->setGeometry(0, 0, 600, 400);
        for (QToolButton **b : {&map, &graph, &compare, &depth, &current, &eField, &hField}) {
            *b = new QToolButton(&window);
            (*b)->setCheckable(true);
            (*b)->setChecked(true);
        }
        compare->setEnabled(false);
        interpolation.setCheckable(true);
        cursor.setCheckable(true);
        cursor.setChecked(true);
        PaneControls c{&window, mapPane, chartPane, map, graph, compare, depth, current, eField, hField,
                       &interpolation, &cursor};
        pane = std::make_unique<ChartPane>(chart, c);
        selection = std::make_unique<ChartSelection>(
            *pane, mapRecorder,
            ChartSelection::Hooks{[this](const QString &t) { status = t; },
                                  [this] { return compare->isEnabled() && compare->isChecked(); }});
        window.show();
        pane->SetupChart();
    }

    void load(TrackSlot slot, int n, double base = 0)
    {
        pane->beginTrack(slot);
        for (int i = 0; i < n; ++i) {
            TrackPoint p{};
            p.Lat = 55.75 + i * 0.001;
            p.Lng = 37.61;
            p.Glub = 1 + (i % 3) * 0.5 + base;
            p.Tok = 100 + i + base;
            p.E_Pole = 10 * i + int(base * 10);
            p.H_Pole = 300 + i + int(base * 100);
            trackStore(slot)[size_t(i)] = p;
            pane->appendPoint(slot, p);
        }
        pane->endTrack();
    }

    void toggle(QToolButton *b, void (ChartPane::*after)())
    {
        b->setChecked(!b->isChecked());
        (pane.get()->*after)();
    }

    QWidget window;
    QWidget *mapPane, *chartPane;
    LineChart *chart;
    QToolButton *map, *graph, *compare, *depth, *current, *eField, *hField;
    QAction interpolation{nullptr}, cursor{nullptr};
    std::unique_ptr<ChartPane> pane;
    RecordingMapPane mapRecorder;
    std::unique_ptr<ChartSelection> selection;
    QString status;
};

QPoint pointPixel(const LineChart &c, int series, int i)
{
    return QPoint(int(std::round(c.xToPixel(i))), int(std::round(c.yToPixel(c.series(series).axis, c.value(series, i)))));
}

} // namespace

class TestChart : public QObject
{
    Q_OBJECT

private slots:
    void init() { numfmt::setDecimalSeparator(','); }

    void seriesAsBuilt();
    void valueAndPixel();
    void paging();
    void togglesMoveAxesAndMargins_data();
    void togglesMoveAxesAndMargins();
    void paneStates();
    void comparisonButtonRule();
    void rendering();
    void dragScrollsWithinTheTrack();

    void readouts_data();
    void readouts();
    void pointerIndex_data();
    void pointerIndex();
    void selectionFlows();
    void selectionWhenTheMapFails();
    void pointerPastTheEnd();
};

void TestChart::seriesAsBuilt()
{
    Bench b;
    const char *titles[] = {"tok", "glubina", "epole", "hpole", "tok_sr", "glubina_sr", "epole_sr", "hpole_sr"};
    const QColor colors[] = {QColor(0, 0, 255), Qt::black, QColor(255, 0, 0), QColor(0, 170, 0)};
    const LineChart::AxisId axes[] = {LineChart::RightAxis, LineChart::LeftAxis, LineChart::CustomAxis1,
                                      LineChart::CustomAxis0};
    QCOMPARE(b.chart->seriesCount(), 8);
    for (int s = 0; s < 8; ++s) {
        QCOMPARE(b.chart->series(s).title, QString::fromLatin1(titles[s]));
        QCOMPARE(b.chart->series(s).color, colors[s % 4]);
        QCOMPARE(b.chart->series(s).axis, axes[s % 4]);
        QCOMPARE(b.chart->series(s).lineWidth, s < 4 ? 1 : 3);
        QCOMPARE(b.chart->count(s), 0);
    }
    QVERIFY(b.chart->axis(LineChart::LeftAxis).inverted);
    QCOMPARE(b.chart->pointsPerPage(), 10);
    QCOMPARE(b.chart->axis(LineChart::CustomAxis0).offset, 45);
    QCOMPARE(b.chart->marginLeft(), 10);
    QCOMPARE(b.chart->marginRight(), 10);
}

void TestChart::valueAndPixel()
{
    Bench b;
    b.load(TrackSlot::Main, 10);
    const QRectF d = b.chart->dataRect();
    QCOMPARE(b.chart->xToPixel(0), d.left());
    QCOMPARE(b.chart->xToPixel(9), d.right());
    QCOMPARE(b.chart->pixelToX(b.chart->xToPixel(3.5)), 3.5);
    for (LineChart::AxisId id : {LineChart::LeftAxis, LineChart::RightAxis, LineChart::CustomAxis0, LineChart::CustomAxis1}) {
        const auto [lo, hi] = b.chart->axisRange(id);
        QVERIFY(hi > lo);
        const bool inverted = id == LineChart::LeftAxis;
        QCOMPARE(b.chart->yToPixel(id, lo), inverted ? d.top() : d.bottom());
        QCOMPARE(b.chart->yToPixel(id, hi), inverted ? d.bottom() : d.top());
    }
    QCOMPARE(b.chart->axisRange(LineChart::LeftAxis), std::make_pair(1.0, 2.0));
    QCOMPARE(b.chart->axisRange(LineChart::RightAxis), std::make_pair(100.0, 109.0));
    // the end markers stay inside the plot
    QVERIFY(b.chart->plotRect().left() + 10 < d.left());
    QVERIFY(b.chart->plotRect().right() - 10 >= d.right());
}

void TestChart::paging()
{
    Bench b;
    b.load(TrackSlot::Main, 25);
    QCOMPARE(b.chart->pageCount(), 3);
    QCOMPARE(b.chart->page(), 1);
    b.chart->setPage(3);
    QCOMPARE(b.chart->axisRange(LineChart::BottomAxis), std::make_pair(20.0, 29.0)); // full-page scale
    QCOMPARE(b.chart->xToPixel(24), b.chart->dataRect().left() + 4 * b.chart->dataRect().width() / 9);
    QCOMPARE(b.chart->axisRange(LineChart::RightAxis), std::make_pair(120.0, 124.0)); // ranges of the page
    b.pane->ShowPointPage(9);
    QCOMPARE(b.chart->page(), 1);
    b.pane->ShowPointPage(10);
    QCOMPARE(b.chart->page(), 2);
    b.chart->scrollBy(3);
    b.pane->ShowPointPage(10); // undoes the scroll
    QCOMPARE(b.chart->viewStart(), 10.0);
}

void TestChart::togglesMoveAxesAndMargins_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("hOffset");
    QTest::addColumn<int>("eOffset");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::addColumn<bool>("leftAxis");
    QTest::addColumn<bool>("rightAxis");
    QTest::newRow("Глубина up") << "depth" << 0 << 45 << 10 << 10 << false << true;
    QTest::newRow("Ток up") << "current" << 45 << 0 << 10 << 10 << true << false;
    QTest::newRow("Н-поле up") << "hField" << 45 << 45 << 4 << 10 << true << true;
    QTest::newRow("Е-поле up") << "eField" << 45 << 45 << 10 << 4 << true << true;
}

void TestChart::togglesMoveAxesAndMargins()
{
    QFETCH(QString, button);
    QFETCH(int, hOffset);
    QFETCH(int, eOffset);
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(bool, leftAxis);
    QFETCH(bool, rightAxis);
    Bench b;
    const std::map<QString, std::pair<QToolButton *, ChartPane::Measurement>> buttons = {
        {"depth", {b.depth, ChartPane::Measurement::Depth}},
        {"current", {b.current, ChartPane::Measurement::Current}},
        {"hField", {b.hField, ChartPane::Measurement::HField}},
        {"eField", {b.eField, ChartPane::Measurement::EField}}};
    const auto [btn, m] = buttons.at(button);
    btn->setChecked(false);
    b.pane->measurementToggled(m);
    QCOMPARE(b.chart->axis(LineChart::CustomAxis0).offset, hOffset);
    QCOMPARE(b.chart->axis(LineChart::CustomAxis1).offset, eOffset);
    QCOMPARE(b.chart->marginLeft(), left);
    QCOMPARE(b.chart->marginRight(), right);
    QCOMPARE(b.chart->axisDrawn(LineChart::LeftAxis), leftAxis);
    QCOMPARE(b.chart->axisDrawn(LineChart::RightAxis), rightAxis);
    btn->setChecked(true);
    b.pane->measurementToggled(m);
    QCOMPARE(b.chart->axis(LineChart::CustomAxis0).offset, 45);
    QCOMPARE(b.chart->axis(LineChart::CustomAxis1).offset, 45);
    QCOMPARE(b.chart->marginLeft(), 10);
    QCOMPARE(b.chart->marginRight(), 10);
}

void TestChart::paneStates()
{
    Bench b;
    const int w = b.window.frameGeometry().width();
    QCOMPARE(b.mapPane->width(), w / 2);
    b.toggle(b.map, &ChartPane::mapToggleClicked); // chart only
    QVERIFY(!b.mapPane->isVisible());
    QCOMPARE(b.chart->pointsPerPage(), 20);
    b.toggle(b.graph, &ChartPane::chartToggleClicked); // releasing the last one: it stays down
    QVERIFY(b.graph->isChecked());
    QVERIFY(b.chartPane->isVisible());
    b.chart->scrollBy(1);
    b.toggle(b.map, &ChartPane::mapToggleClicked); // both again
    QCOMPARE(b.chart->pointsPerPage(), 10);
    QCOMPARE(b.chart->viewStart(), 0.0);
    b.toggle(b.graph, &ChartPane::chartToggleClicked); // map only
    QVERIFY(!b.chartPane->isVisible());
    QCOMPARE(b.mapPane->width(), w - 18);
    QCOMPARE(b.chart->pointsPerPage(), 10);
    b.toggle(b.map, &ChartPane::mapToggleClicked);
    QVERIFY(b.map->isChecked());
    QVERIFY(b.mapPane->isVisible());
    b.window.resize(800, 500);
    b.pane->LayoutPanes();
    QCOMPARE(b.mapPane->width(), b.window.frameGeometry().width() - 18);
}

void TestChart::comparisonButtonRule()
{
    Bench b;
    b.load(TrackSlot::Main, 5);
    b.load(TrackSlot::Compared, 5, 1);
    b.compare->setEnabled(true);
    b.compare->setChecked(false);
    b.current->setChecked(false);
    b.pane->measurementToggled(ChartPane::Measurement::Current);
    QVERIFY(!b.chart->isSeriesVisible(ChartPane::tok));
    QVERIFY(b.chart->isSeriesVisible(ChartPane::tok_sr)); // keeps its state while the button is up
    b.compare->setChecked(true);
    QVERIFY(b.chart->isSeriesVisible(ChartPane::tok_sr));
    b.current->setChecked(true);
    b.pane->measurementToggled(ChartPane::Measurement::Current);
    b.current->setChecked(false);
    b.pane->measurementToggled(ChartPane::Measurement::Current);
    QVERIFY(!b.chart->isSeriesVisible(ChartPane::tok_sr));
    // a hidden main series with its compared one visible keeps the axis
    QVERIFY(b.chart->axisDrawn(LineChart::RightAxis) == false);
    b.compare->setChecked(false);
    b.current->setChecked(true);
    b.pane->measurementToggled(ChartPane::Measurement::Current);
    b.depth->setChecked(false);
    b.compare->setChecked(false);
    b.pane->measurementToggled(ChartPane::Measurement::Depth);
    QVERIFY(b.chart->isSeriesVisible(ChartPane::glubina_sr));
    QVERIFY(b.chart->axisDrawn(LineChart::LeftAxis));
}

int verticalRun(const QImage &img, QPoint at, QRgb color)
{
    if (img.pixel(at) != color)
        return 0;
    int top = at.y(), bottom = at.y();
    while (top > 0 && img.pixel(at.x(), top - 1) == color)
        --top;
    while (bottom < img.height() - 1 && img.pixel(at.x(), bottom + 1) == color)
        ++bottom;
    return bottom - top + 1;
}

void TestChart::rendering()
{
    // flat curves: a vertical run through a marker's centre is its height
    LineChart c;
    c.resize(600, 400);
    const int flat = c.addSeries(QStringLiteral("flat"), Qt::black, 1, LineChart::LeftAxis);
    const int steep = c.addSeries(QStringLiteral("steep"), QColor(0, 0, 255), 3, LineChart::RightAxis);
    for (int i = 0; i < 10; ++i) {
        c.append(flat, 1.0);
        c.append(steep, i);
    }
    c.setMarkerSize(flat, 4, 10);
    c.setCursorEnabled(false);
    QImage img = c.renderToImage();
    const QRgb black = qRgb(0, 0, 0), blue = qRgb(0, 0, 255);
    QCOMPARE(verticalRun(img, pointPixel(c, flat, 1), black), 11);
    QCOMPARE(verticalRun(img, pointPixel(c, flat, 4), black), 21);
    const QPoint mid((pointPixel(c, flat, 6).x() + pointPixel(c, flat, 7).x()) / 2, pointPixel(c, flat, 6).y());
    QCOMPARE(verticalRun(img, mid, black), 1); // line width 1
    const QPoint a = pointPixel(c, steep, 2), b2 = pointPixel(c, steep, 3);
    QVERIFY(verticalRun(img, (a + b2) / 2, blue) >= 3); // line width 3
    // no anti-aliasing: only the colours drawn, no blends, around a marker
    for (int dx = -12; dx <= 12; ++dx)
        for (int dy = -12; dy <= 12; ++dy) {
            const QRgb px = img.pixel(pointPixel(c, flat, 4) + QPoint(dx, dy));
            QVERIFY(px == black || px == qRgb(255, 255, 255) || px == blue || qGray(px) == 192 || px == qRgb(192, 192, 192));
        }

    // the pane's chart in both draw styles, with a highlighted point and the crosshair
    Bench b;
    b.load(TrackSlot::Main, 10);
    b.load(TrackSlot::Compared, 10, 0.2);
    b.pane->HighlightPoint(TrackSlot::Main, 4);
    const QPoint mouse = b.chart->plotRect().center() + QPoint(7, 13);
    QMouseEvent move(QEvent::MouseMove, QPointF(mouse), QPointF(b.chart->mapToGlobal(mouse)), Qt::NoButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(b.chart, &move);
    // the left axis is inverted: the deeper point is lower
    QVERIFY(pointPixel(*b.chart, ChartPane::glubina, 2).y() > pointPixel(*b.chart, ChartPane::glubina, 1).y());
    for (bool smooth : {false, true}) {
        b.chart->setSmooth(smooth);
        img = b.chart->renderToImage();
        QCOMPARE(img.size(), b.chart->size());
        QCOMPARE(img.pixel(pointPixel(*b.chart, ChartPane::glubina, 4)), black);
        // the crosshair: fine dots through the pointer, across the plot
        int dots = 0;
        for (int y = b.chart->plotRect().top() + 2; y < b.chart->plotRect().top() + 40; ++y)
            dots += img.pixel(mouse.x(), y) == black ? 1 : 0;
        QVERIFY2(dots >= 10 && dots <= 30, qPrintable(QString::number(dots)));
        if (!qEnvironmentVariableIsEmpty("TRAVIK_RENDER_DIR"))
            img.save(qEnvironmentVariable("TRAVIK_RENDER_DIR") + (smooth ? "/chart-smooth.png" : "/chart-lines.png"));
    }
}

void TestChart::dragScrollsWithinTheTrack()
{
    Bench b;
    b.load(TrackSlot::Main, 25);
    const QRect plot = b.chart->plotRect();
    const QPoint start(plot.center().x(), plot.bottom() - 2);
    QVERIFY(!b.chart->hitTest(start));
    QTest::mousePress(b.chart, Qt::LeftButton, {}, start);
    QTest::mouseMove(b.chart, start + QPoint(200, 0)); // to the left of the first point: not allowed
    QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(200, 0)), QPointF(), Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(b.chart, &move);
    QCOMPARE(b.chart->viewStart(), 0.0);
    QMouseEvent back(QEvent::MouseMove, QPointF(start - QPoint(2000, 0)), QPointF(), Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(b.chart, &back);
    QCOMPARE(b.chart->viewStart(), 15.0); // the last point at the right edge, no further
    QTest::mouseRelease(b.chart, Qt::LeftButton, {}, start);
    b.chart->undoZoom();
    QCOMPARE(b.chart->viewStart(), 0.0);
    QWheelEvent wheel{QPointF(start), QPointF(start), QPoint(), QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, false};
    QCoreApplication::sendEvent(b.chart, &wheel);
    QCOMPARE(b.chart->viewStart(), 0.0);
    QCOMPARE(b.chart->pointsPerPage(), 10);
}

void TestChart::readouts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    TrackPoint p{};
    p.Lat = 55.75, p.Lng = 37.61, p.Glub = 1.2, p.Tok = 150, p.E_Pole = 12, p.H_Pole = 340;
    TrackPoint c = p;
    c.Lat = 55.123, c.Glub = 1.3, c.Tok = 5e-5, c.E_Pole = -7, c.H_Pole = 0;
    numfmt::setDecimalSeparator(',');
    QTest::newRow("point") << readouts::pointReadout(5, p) << u" Точка №5 Ш.55,75 Д.37,61 Глубина 1,2м Ток 150ма Е12 Н340"_qs;
    QTest::newRow("compared")
        << readouts::comparedReadout(5, p, c)
        << u" Точка №5 Ш.55,75(55,123) Д.37,61(37,61) Глубина 1,2(1,3)м Ток 150(5E-5)ма Е12(-7) Н340(0)"_qs;
}

void TestChart::readouts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestChart::pointerIndex_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("index");
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("3.5") << 3.5 << 4;
    QTest::newRow("4.5") << 4.5 << 4;
    QTest::newRow("4.49") << 4.49 << 4;
    QTest::newRow("left of the first point") << -3.2 << 0;
    QTest::newRow("-0.5") << -0.5 << 0;
}

void TestChart::pointerIndex()
{
    QFETCH(double, value);
    QFETCH(int, index);
    QCOMPARE(readouts::pointerIndex(value), index);
}

void TestChart::selectionFlows()
{
    Bench b;
    b.load(TrackSlot::Main, 10);
    b.load(TrackSlot::Compared, 10, 0.3);
    // hover over point 4 shows №5, a click on it №4 with the same values
    b.selection->pointerMoved(4.2);
    QVERIFY(b.status.startsWith(u" Точка №5 Ш.55,754 "_qs));
    QSignalSpy pressed(b.chart, &LineChart::pointPressed);
    QObject::connect(b.chart, &LineChart::pointPressed, [&](int s, int i) { b.selection->pointPressed(s, i); });
    QTest::mousePress(b.chart, Qt::RightButton, {}, pointPixel(*b.chart, ChartPane::hpole, 4)); // any button
    QCOMPARE(pressed.size(), 1);
    QVERIFY(b.status.startsWith(u" Точка №4 Ш.55,754 "_qs));
    QCOMPARE(b.mapRecorder.calls, QStringList{QStringLiteral("ya_mark(\"4\",55.754,37.61)")});
    for (int s = ChartPane::tok; s <= ChartPane::hpole; ++s)
        QCOMPARE(b.chart->markerSize(s, 4), 10);

    // a compared click: "1-7", the main point back to 5, the compared point at 10
    b.selection->pointPressed(ChartPane::glubina_sr, 7);
    QCOMPARE(b.mapRecorder.calls.last(), QStringLiteral("ya_mark(\"1-7\",55.757,37.61)"));
    for (int s = ChartPane::tok; s <= ChartPane::hpole; ++s) {
        QCOMPARE(b.chart->markerSize(s, 4), 5);
        QCOMPARE(b.chart->markerSize(s + 4, 7), 10);
    }
    QVERIFY(b.status.startsWith(u" Точка №7 "_qs));
    QVERIFY(!b.status.contains(QLatin1Char('(')));
    // a main click after the compared highlight
    b.selection->pointPressed(ChartPane::tok, 2);
    QCOMPARE(b.chart->markerSize(ChartPane::tok_sr, 7), 5);
    QCOMPARE(b.chart->markerSize(ChartPane::glubina, 2), 10);

    // comparison shown: brackets; button released: none
    b.compare->setEnabled(true);
    b.selection->pointerMoved(1);
    QVERIFY(b.status.contains(u"Глубина 1,5(1,8)м"_qs));
    b.compare->setChecked(false);
    b.selection->pointerMoved(1);
    QVERIFY(!b.status.contains(QLatin1Char('(')));
}

void TestChart::selectionWhenTheMapFails()
{
    Bench b;
    b.load(TrackSlot::Main, 10);
    b.load(TrackSlot::Compared, 10);
    b.pane->HighlightPoint(TrackSlot::Compared, 3);
    b.status = QStringLiteral("before");
    b.mapRecorder.failMark = true;
    QVERIFY_THROWS_EXCEPTION(TravikError, b.selection->pointPressed(ChartPane::tok, 5));
    QCOMPARE(b.chart->markerSize(ChartPane::tok_sr, 3), 5); // the other track was reset first
    QCOMPARE(b.chart->markerSize(ChartPane::tok, 5), 5);    // the clicked point is not highlighted
    QCOMPARE(b.status, QStringLiteral("before"));
}

void TestChart::pointerPastTheEnd()
{
    Bench b;
    b.status = QStringLiteral("kept");
    b.selection->pointerMoved(3); // no track: the status text stays
    QCOMPARE(b.status, QStringLiteral("kept"));
    b.load(TrackSlot::Main, 5);
    b.load(TrackSlot::Compared, 3, 1);
    b.selection->pointerMoved(8.7); // the last page's empty part
    QVERIFY(b.status.startsWith(u" Точка №5 Ш.55,754 "_qs));
    b.compare->setEnabled(true);
    b.selection->pointerMoved(4);
    QVERIFY(b.status.contains(u"Ш.55,754(55,752)"_qs)); // the shorter compared track shows its last point
}

QTEST_MAIN(TestChart)
#include "test_chart.moc"
