// Track files at the largest size synchronisation delivers: write, read, and a
// baseline that only reads the bytes and counts lines.
#include "BenchUtil.h"
#include "NumberFormat.h"
#include "TrackFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

int readOnce(const QString &path)
{
    const TrackFileReader reader(path);
    return reader.loadInto(MainTrack);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    numfmt::setDecimalSeparator(',');
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--read-peak")) {
        // A fresh process, so the peak is the read's alone.
        const long long before = bench::peakRssBytes();
        const int n = readOnce(args[2]);
        std::printf("%d %lld %lld\n", n, before, bench::peakRssBytes());
        return 0;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("21_10_14_08_30_00.trs"));
    const std::vector<TrackPoint> points = bench::generateTrack(100000);

    const double writeMs = bench::medianMs(5, [&] {
        if (!writeTrackFile(path, points))
            std::fprintf(stderr, "write failed\n");
    });
    const qint64 fileSize = QFileInfo(path).size();

    int loaded = 0;
    const double readMs = bench::medianMs(5, [&] { loaded = readOnce(path); });

    long long lines = 0;
    const double baselineMs = bench::medianMs(5, [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        const QByteArray bytes = f.readAll();
        lines = bytes.count('\n');
    });

    QProcess child;
    child.start(args[0], {QStringLiteral("--read-peak"), path});
    child.waitForFinished(-1);
    const QList<QByteArray> peak = child.readAllStandardOutput().trimmed().split(' ');
    const double peakBytes = peak.size() == 3 ? peak[2].toDouble() : 0;
    const double baseRss = peak.size() == 3 ? peak[1].toDouble() : 0;

    std::printf("points_loaded: %d\nfile_bytes: %lld\nfile_lines: %lld\n", loaded, (long long)fileSize, lines);
    bench::print("track_write_ms", writeMs, "ms");
    bench::print("track_read_ms", readMs, "ms");
    bench::print("baseline_read_ms", baselineMs, "ms");
    bench::print("read_peak_memory_mb", peakBytes / 1048576.0, "MiB");
    bench::print("read_peak_over_start_mb", (peakBytes - baseRss) / 1048576.0, "MiB");
    bench::print("peak_to_file_ratio", peakBytes / double(fileSize), "x");
    bench::print("read_ratio", readMs / baselineMs, "x");
    return 0;
}
