// LoadTrack of the largest track into the main slot, with the real map page on
// a local stand-in of the maps API: how long it takes and the longest time the
// event loop did not run meanwhile.
#include "BenchUtil.h"
#include "MapBench.h"
#include "ChartPane.h"
#include "LineChart.h"
#include "MapPage.h"
#include "MapStandIn.h"
#include "NumberFormat.h"
#include "ProgramFolder.h"
#include "TrackFile.h"
#include "TrackLoader.h"
#include "YandexMap.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

#include <cstdio>

int main(int argc, char **argv)
{
    MapBench setup(argc, argv);
    const QString path = setup.dir.filePath(QStringLiteral("21_10_14_08_30_00.trs"));
    writeTrackFile(path, bench::generateTrack(100000));

    QWidget window;
    window.resize(1200, 700);
    auto *row = new QHBoxLayout(&window);
    auto *mapPane = new QWidget;
    auto *chartPane = new QWidget;
    row->addWidget(mapPane);
    row->addWidget(chartPane, 1);
    auto *view = new QWebEngineView(mapPane);
    view->resize(600, 700);
    auto *chart = new LineChart(chartPane);
    chart->resize(600, 700);
    QWidget offline;
    QToolButton buttons[7];
    for (QToolButton &b : buttons) {
        b.setCheckable(true);
        b.setChecked(true);
    }
    QAction n13(nullptr), n14(nullptr);
    ChartPane pane(chart, PaneControls{&window, mapPane, chartPane, &buttons[0], &buttons[1], &buttons[2], &buttons[3],
                                       &buttons[4], &buttons[5], &buttons[6], &n13, &n14});
    YandexMap map(view, &offline, {}, [] { return true; });
    window.show();
    pane.SetupChart();
    map.Timer1Timer();
    if (!waitForPageFunction(view, QStringLiteral("ya_add_point"))) {
        std::fprintf(stderr, "the page did not get ready\n");
        return 1;
    }

    TrackLoader::View v;
    v.showBrowser = [](bool) {};
    v.showGauge = [](int) {};
    v.setGauge = [](int) {};
    v.hideGauge = [] {};
    v.setFrequency = [](const QString &) {};
    v.descriptionCaption = [] { return QString(); };
    v.setDescriptionCaption = [](const QString &) {};
    v.setStatus = [](const QString &t) { std::fprintf(stderr, "status:%s\n", qPrintable(t)); };
    v.showMessage = [](const QString &) {};
    v.askText = [](const QString &, const QString &t) { return t; };
    v.map = [&]() -> MapPane & { return map; };
    TrackLoader loader(pane, v);

    qint64 maxGap = 0, last = 0;
    QElapsedTimer clock;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        maxGap = std::max(maxGap, now - last);
        last = now;
    });
    const double loadMs = bench::medianMs(3, [&] {
        clock.start();
        last = 0;
        tick.start();
        loader.LoadTrack(path, TrackSlot::Main);
        tick.stop();
    });
    std::printf("points: %d\n", pane.pointCount(TrackSlot::Main));
    bench::print("load_ms", loadMs, "ms");
    bench::print("max_event_gap_ms", maxGap / 1e6, "ms");
    return 0;
}
