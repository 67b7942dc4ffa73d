// Sending a whole track's points to the real map page (local stand-in of the
// maps API): joined into few page executions, against one execution a text.
#include "BenchUtil.h"
#include "MapBench.h"
#include "MapPage.h"
#include "MapStandIn.h"
#include "NumberFormat.h"
#include "ProgramFolder.h"
#include "YandexMap.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

#include <cstdio>

int main(int argc, char **argv)
{
    MapBench setup(argc, argv);

    QWebEngineView view;
    view.resize(500, 500);
    QWidget offline;
    view.show();
    YandexMap map(&view, &offline, {}, [] { return true; });
    map.Timer1Timer();
    if (!waitForPageFunction(&view, QStringLiteral("ya_add_point"))) {
        std::fprintf(stderr, "the page did not get ready\n");
        return 1;
    }
    const int n = 99999;
    const auto pointsTo = [&](int count, bool joined) {
        map.ya_clear();
        map.flush();
        for (int i = 0; i < count; ++i) {
            map.ya_add_point(i, 53.9 + i * 1e-5, 27.55 + i * 1e-5);
            if (!joined)
                map.flush();
        }
        map.flush();
    };
    const double batched = bench::medianMs(3, [&] { pointsTo(n, true); });
    // One execution a text costs a round trip to the browser process each;
    // measured on 5,000 texts and scaled to the track.
    const int sample = 5000;
    const double singleSample = bench::medianMs(1, [&] { pointsTo(sample, false); });
    const double single = singleSample * n / sample;
    bench::print("batched_ms", batched, "ms");
    bench::print("single_ms", single, "ms");
    bench::print("single_ms_per_text", singleSample / sample, "ms");
    bench::print("ratio", batched / single, "x");
    return 0;
}
