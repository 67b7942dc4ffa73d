// Painting one chart page costs what the page holds, not what the series hold:
// all eight series with 99,999 points against the same with 100 points.
#include "BenchUtil.h"
#include "LineChart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>

#include <cmath>
#include <cstdio>

namespace {

void fill(LineChart &c, int n)
{
    for (int s = 0; s < c.seriesCount(); ++s) {
        c.clear(s);
        for (int i = 0; i < n; ++i)
            c.append(s, std::sin(i * 0.1 + s) * 100 + s * 10);
    }
}

double paintUs(LineChart &c)
{
    QImage img(c.size(), QImage::Format_RGB32);
    return bench::medianMs(50, [&] {
               c.setPage(c.page()); // the layout is worked out again, as after a change
               QPainter p(&img);
               c.render(p);
           }) *
           1000.0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LineChart chart;
    chart.resize(900, 560);
    const LineChart::AxisId axes[] = {LineChart::RightAxis, LineChart::LeftAxis, LineChart::CustomAxis1,
                                      LineChart::CustomAxis0};
    for (int s = 0; s < 8; ++s)
        chart.addSeries(QStringLiteral("s%1").arg(s), QColor::fromHsv(s * 40, 255, 200), s < 4 ? 1 : 3, axes[s % 4]);
    chart.axis(LineChart::CustomAxis0).offset = 45;
    chart.axis(LineChart::CustomAxis1).offset = 45;
    chart.setMarginsPercent(10, 2, 10, 0);
    chart.setMarkerSize(0, 5, 10);

    fill(chart, 100);
    chart.setPage(5);
    const double small = paintUs(chart);
    fill(chart, 99999);
    chart.setPage(5000);
    const double large = paintUs(chart);

    LineChart four;
    for (int s = 0; s < 4; ++s)
        four.addSeries(QStringLiteral("a%1").arg(s), Qt::black, 1, LineChart::LeftAxis);
    const double appendMs = bench::medianMs(5, [&] {
        for (int s = 0; s < 4; ++s)
            four.clear(s);
        for (int i = 0; i < 99999; ++i)
            for (int s = 0; s < 4; ++s)
                four.append(s, i * 0.5);
    });

    bench::print("paint_us_99999", large, "us");
    bench::print("paint_us_100", small, "us");
    bench::print("append_4x99999_ms", appendMs, "ms");
    bench::print("paint_ratio", large / small, "x");
    return 0;
}
