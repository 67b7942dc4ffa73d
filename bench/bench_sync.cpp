// Synchronising the largest track the receive buffer holds, from the emulated
// instrument at full speed, against the time the same reports take on the
// wire of a full-speed USB device (one report per millisecond).
#include "BenchUtil.h"
#include "HidLibrary.h"
#include "InstrumentLink.h"
#include "InstrumentReplies.h"
#include "InstrumentView.h"
#include "NumberFormat.h"
#include "ProgramFolder.h"
#include "TrackFile.h"
#include "TrackFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class QuietView : public InstrumentView
{
public:
    void setInstrumentFound(bool) override {}
    void setStatusText(const QString &) override {}
    void setLoadMenuAvailable(bool) override {}
    void showMessage(const QString &) override {}
    QString askText(const QString &, const QString &preset) override { return preset; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    numfmt::setDecimalSeparator(',');
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    QDir().mkpath(tracesFolder());

    QString error;
    auto hid = HidLibrary::load(QCoreApplication::applicationDirPath() + QStringLiteral("/libTravikSim.so"), &error);
    if (!hid) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    auto configure = reinterpret_cast<void (*)(const char *)>(hid->resolve("TravikSimConfigure"));
    configure("[Instrument]\r\nSerial=BENCH00001\r\n[Track1]\r\nHeader=01.02.24 10:00:00\r\nPoints=99997\r\n");

    QuietView view;
    InstrumentLink link(*hid, view);
    link.registerCallbacks();
    link.ScanButClick();
    const QString file = trackFolder(QStringLiteral("BENCH00001")) + QStringLiteral("/01_02_24_10_00_00.trs");

    const double syncMs = bench::medianMs(5, [&] {
        QFile::remove(file);
        link.N6Click();
    });
    const int reports = link.transport().UsbReports() + 2; // the track, and the count reply
    const double wireMs = reports * 1.0;

    // decoding and writing the track's reply alone, from the buffer
    const double decodeWriteMs = bench::medianMs(5, [&] {
        const int points = replies::pointCount(link.transport().UsbLastByte());
        std::vector<TrackPoint> decoded;
        decoded.reserve(size_t(points));
        const auto *bytes = link.transport().UsbBuffer();
        for (int i = 0; i < points; ++i)
            decoded.push_back(replies::decodePointRecord(bytes + 17 + 70 * i));
        writeTrackFile(file, decoded);
    });
    std::printf("points: %d\n", TrackFileReader(file).dotsCount());
    bench::print("sync_ms", syncMs, "ms");
    std::printf("reports: %d\n", reports);
    bench::print("wire_ms", wireMs, "ms");
    bench::print("decode_write_ms", decodeWriteMs, "ms");
    bench::print("overhead_ratio", syncMs / wireMs, "x");
    link.closeDevice();
    return 0;
}
