#include "CliExport.h"

#include "AtomicFile.h"
#include "TrackCsv.h"
#include "TrackFile.h"

#include <QFile>

#include <cstdio>

namespace {

void printError(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fprintf(stderr, "%s\n", utf8.constData());
}

} // namespace

int runExport(const QStringList &args)
{
    QString trackPath, outPath;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-o") && i + 1 < args.size())
            outPath = args[++i];
        else if (trackPath.isEmpty() && !args[i].startsWith(QLatin1Char('-')))
            trackPath = args[i];
        else
            return 2;
    }
    if (trackPath.isEmpty())
        return 2;

    const TrackFileReader reader(trackPath);
    if (reader.status() == TrackFileReader::Status::TooLarge) {
        printError(QStringLiteral(u"Файл трассы слишком велик: %1").arg(trackPath));
        return 1;
    }
    if (reader.status() == TrackFileReader::Status::ReadError) {
        printError(QStringLiteral(u"Не удалось прочитать файл трассы: %1").arg(trackPath));
        return 1;
    }
    const int n = reader.pointCount();
    if (n == 0) {
        printError(QStringLiteral(u"Файл трассы пустой!!!"));
        return 1;
    }
    reader.loadInto(MainTrack);
    if (reader.truncated())
        printError(QStringLiteral(u"В файле %1 точек, загружены первые %2")
                       .arg(reader.dotsCount() - 1)
                       .arg(MaxTrackPoints));
    const QByteArray csv = trackCsv(std::span<const TrackPoint>(MainTrack.data(), size_t(n)));
    if (outPath.isEmpty()) {
        const size_t written = std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
        if (written != size_t(csv.size()) || std::fflush(stdout) != 0) {
            printError(QStringLiteral("Unable to write to standard output"));
            return 1;
        }
        return 0;
    }
    QString error;
    if (!writeFileAtomically(outPath, csv, &error)) {
        printError(error);
        return 1;
    }
    return 0;
}
