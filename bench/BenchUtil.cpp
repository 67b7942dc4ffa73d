#include "BenchUtil.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <sys/resource.h>

namespace bench {

double medianMs(int runs, const std::function<void()> &job)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        job();
        t.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

long long peakRssBytes()
{
    struct rusage u;
    getrusage(RUSAGE_SELF, &u);
    return static_cast<long long>(u.ru_maxrss) * 1024;
}

std::vector<TrackPoint> generateTrack(int count, double lat, double lng, unsigned seed)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::vector<TrackPoint> points(static_cast<size_t>(count), TrackPoint{});
    double depth = 1.2, current = 150.0;
    for (int i = 0; i < count; ++i) {
        TrackPoint &p = points[size_t(i)];
        const int seconds = 8 * 3600 + 30 * 60 + i;
        p.Hours = uint8_t(seconds / 3600 % 24);
        p.Minutes = uint8_t(seconds / 60 % 60);
        p.Seconds = uint8_t(seconds % 60);
        p.Day = 21;
        p.Month = 10;
        p.Year = 14;
        // Instrument positions come as ten-thousandths of a minute.
        const double la = lat + i * 0.000009, lo = lng + i * 0.000006 + 0.00002 * std::sin(i / 50.0);
        p.Lat = std::round(la * 600000.0) / 600000.0;
        p.Lng = std::round(lo * 600000.0) / 600000.0;
        depth = std::clamp(depth + 0.01 * noise(rng), 0.3, 4.0);
        current = std::clamp(current + 2.0 * noise(rng), 5.0, 900.0);
        p.Glub = std::round(depth * 1000.0) / 1000.0;
        p.Tok = std::round(current * 1000.0) / 1000.0;
        p.E_Pole = int32_t(std::clamp(3000.0 + 800.0 * std::sin(i / 40.0) + 50 * noise(rng), 0.0, 65535.0));
        p.H_Pole = int32_t(std::clamp(20000.0 / (depth * depth) + 100 * noise(rng), 0.0, 65535.0));
        p.fr_sel_flag = 2;
        p.Bat = 3700 - i / 100;
        p.A_Sel = 1200 + i % 7;
        p.Us_Sel = 3;
    }
    return points;
}

void print(const char *name, double value, const char *unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

} // namespace bench
