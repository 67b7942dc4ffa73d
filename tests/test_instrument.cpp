#include "Cp1251.h"
#include "HidLibrary.h"
#include "TestSimulator.h"
#include "InstrumentLink.h"
#include "InstrumentReplies.h"
#include "InstrumentView.h"
#include "NumberFormat.h"
#include "ProgramFolder.h"
#include "StandardMessages.h"
#include "TrackFile.h"
#include "TrackFolders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstring>
#include <functional>
#include <memory>

namespace {

struct Sim {
    void (*configure)(const char *);
    void (*setAttached)(int);
    int (*writtenCount)();
    void (*writtenReport)(int, uint8_t *);
    void (*waitIdle)();
};

HidLibrary *g_hid = nullptr;
Sim g_sim;

// Records what the link shows.
class RecordingView : public InstrumentView
{
public:
    void setInstrumentFound(bool f) override
    {
        found = f;
        foundCalls << f;
    }
    void setStatusText(const QString &t) override { status << t; }
    void setLoadMenuAvailable(bool a) override { loadMenu << a; }
    void showMessage(const QString &t) override { messages << t; }
    QString askText(const QString &prompt, const QString &preset) override
    {
        prompts << prompt + QLatin1Char('|') + preset;
        return answers.isEmpty() ? preset : answers.takeFirst();
    }
    bool found = false;
    QList<bool> foundCalls;
    QStringList status, messages, prompts, answers;
    QList<bool> loadMenu;
};

// A fresh program folder, scenario and link.
struct Rig {
    explicit Rig(const QByteArray &scenario)
    {
        setProgramFolder(dir.path());
        QDir().mkpath(tracesFolder());
        g_sim.configure(scenario.constData());
        link = std::make_unique<InstrumentLink>(*g_hid, view);
        link->registerCallbacks();
        link->transport().setTimeoutMs(400);
    }
    ~Rig()
    {
        link->closeDevice();
        g_sim.waitIdle();
        QCoreApplication::processEvents();
        setProgramFolder(QString());
    }
    QString folder(const char *serial = "TR00000001") const { return trackFolder(QString::fromLatin1(serial)); }
    QStringList tracks(const char *serial = "TR00000001") const
    {
        return QDir(folder(serial)).entryList({QStringLiteral("*.trs")}, QDir::Files, QDir::Name);
    }
    QList<QByteArray> written() const
    {
        QList<QByteArray> out;
        for (int i = 0; i < g_sim.writtenCount(); ++i) {
            uint8_t r[65];
            g_sim.writtenReport(i, r);
            out << QByteArray(reinterpret_cast<const char *>(r), 65);
        }
        return out;
    }
    // Commands sent, each the payload up to its first NUL.
    QStringList commands() const
    {
        QStringList out;
        for (const QByteArray &r : written())
            out << QString::fromLatin1(r.mid(1).constData());
        return out;
    }
    QTemporaryDir dir;
    RecordingView view;
    std::unique_ptr<InstrumentLink> link;
};

QByteArray instrument(const QByteArray &extra = {})
{
    return "[Instrument]\r\nSerial=TR00000001\r\nVersion=V2.3\r\nRunningMinutes=125\r\n" + extra;
}

QByteArray tracks(int n, int points = 3)
{
    QByteArray t;
    for (int i = 1; i <= n; ++i)
        t += "[Track" + QByteArray::number(i) + "]\r\nHeader=0" + QByteArray::number(i % 10) +
             ".03.16 14:07:09\r\nPoints=" + QByteArray::number(points) + "\r\n";
    return t;
}

// The message of the TravikError that `command` throws, or "<no error>".
QString errorOf(const std::function<void()> &command)
{
    try {
        command();
    } catch (const TravikError &e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

HIDReport report(const QByteArray &payload)
{
    HIDReport r{};
    std::memcpy(r.data + 1, payload.constData(), size_t(qMin<qsizetype>(64, payload.size())));
    return r;
}

// Runs a query while a timer feeds the given reports into the callback.
void queryWith(ReportTransport &t, const QList<QByteArray> &payloads)
{
    QTimer::singleShot(5, [payloads] {
        for (const QByteArray &p : payloads)
            ReportTransport::OnInputReport(report(p));
    });
    t.QueryDevice("x");
}

} // namespace

class TestInstrument : public QObject
{
    Q_OBJECT

private slots:
    void init() { numfmt::setDecimalSeparator(','); }

    void commandsAsReports_data();
    void commandsAsReports();
    void endMarker_data();
    void endMarker();
    void shortReplyLeavesOlderBytes();

    void identity_data();
    void identity();
    void twoDevicesOpensTheLast();
    void newInstrumentAlias_data();
    void newInstrumentAlias();
    void knownFolderIsNotAskedAgain();
    void unplugAndReplug();
    void attachedLater();

    void informationText_data();
    void informationText();
    void informationBox();

    void decoders();
    void fileNames_data();
    void fileNames();
    void percentages_data();
    void percentages();

    void synchronisation();
    void syncSkipsExistingAndRepeatsNothing();
    void syncEqualHeaders();
    void syncCountNotANumber();
    void syncUnwritableName();
    void instrumentStopsAnswering_data();
    void instrumentStopsAnswering();
    void replyTooLongForTheBuffer();
    void unpluggedDuringSync();
    void oneCommandAtATime();
    void libraryBinding();
};

void TestInstrument::commandsAsReports_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QList<QByteArray>>("payloads");
    QTest::newRow("64 characters: one report") << QByteArray(64, 'a') << QList<QByteArray>{QByteArray(64, 'a')};
    QTest::newRow("65 characters: two reports")
        << QByteArray(65, 'b') << QList<QByteArray>{QByteArray(64, 'b'), QByteArray("b") + QByteArray(63, '\0')};
    QTest::newRow("blanks around") << QByteArray("  s \t\r\n")
                                   << QList<QByteArray>{QByteArray("s") + QByteArray(63, '\0')};
    QTest::newRow("control characters only") << QByteArray("\x01 \x1f") << QList<QByteArray>{};
}

void TestInstrument::commandsAsReports()
{
    QFETCH(QByteArray, command);
    QFETCH(QList<QByteArray>, payloads);
    Rig rig(instrument());
    rig.link->transport().SendCommand(command); // not open: nothing goes out
    QCOMPARE(rig.written().size(), 0);
    rig.link->ScanButClick();
    const int before = rig.written().size();
    rig.link->transport().SendCommand(command);
    const QList<QByteArray> sent = rig.written().mid(before);
    QCOMPARE(sent.size(), payloads.size());
    for (int i = 0; i < sent.size(); ++i) {
        QCOMPARE(sent[i][0], '\0');
        QCOMPARE(sent[i].mid(1), payloads[i]);
    }
}

void TestInstrument::endMarker_data()
{
    QTest::addColumn<QList<QByteArray>>("payloads");
    QTest::addColumn<int>("reports");
    QTest::newRow("only the marker") << QList<QByteArray>{"MESSAGE END"} << 1;
    QTest::newRow("marker with more after it") << QList<QByteArray>{"data", "MESSAGE END and more"} << 2;
    QTest::newRow("eleventh character differs") << QList<QByteArray>{"MESSAGE ENX", "MESSAGE END"} << 2;
    QTest::newRow("marker later in the payload") << QList<QByteArray>{" MESSAGE END", "MESSAGE END"} << 2;
}

void TestInstrument::endMarker()
{
    QFETCH(QList<QByteArray>, payloads);
    QFETCH(int, reports);
    Rig rig(instrument("Attached=0\r\n"));
    ReportTransport &t = rig.link->transport();
    queryWith(t, payloads);
    QCOMPARE(t.UsbReports(), reports);
    QCOMPARE(t.UsbLastByte(), 64 * (reports - 1) + 63);
    QVERIFY(t.MessageEnded());
    QCOMPARE(t.reply().size(), 64 * reports);
}

void TestInstrument::shortReplyLeavesOlderBytes()
{
    Rig rig(instrument("Attached=0\r\n"));
    ReportTransport &t = rig.link->transport();
    queryWith(t, {QByteArray(64, '1'), QByteArray(64, '2'), QByteArray(64, '3'), "MESSAGE END"});
    queryWith(t, {QByteArray(64, '9'), "MESSAGE END"});
    QCOMPARE(t.UsbLastByte(), 127);
    QCOMPARE(t.UsbBuffer()[0], '9');
    QCOMPARE(t.UsbBuffer()[128], '3'); // never cleared
    QCOMPARE(t.UsbBuffer()[191], '3');
}

void TestInstrument::identity_data()
{
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<bool>("found");
    QTest::newRow("the instrument") << QByteArray() << true;
    QTest::newRow("one trailing blank missing") << QByteArray("ProductName=\"Travik Device \"\r\n") << false;
    QTest::newRow("no trailing blanks") << QByteArray("ProductName=Travik Device\r\n") << false;
    QTest::newRow("other vendor") << QByteArray("VendorId=0x1308\r\n") << false;
    QTest::newRow("other product") << QByteArray("ProductId=0x0046\r\n") << false;
    QTest::newRow("after other devices") << QByteArray("OtherDevices=3\r\n") << true;
    QTest::newRow("not attached") << QByteArray("Attached=0\r\nOtherDevices=2\r\n") << false;
}

void TestInstrument::identity()
{
    QFETCH(QByteArray, extra);
    QFETCH(bool, found);
    Rig rig(instrument(extra));
    rig.link->ScanButClick();
    QCOMPARE(rig.link->instrumentFound(), found);
    QCOMPARE(rig.view.found, found);
    QCOMPARE(rig.link->transport().DeviceOpen, found);
    QCOMPARE(rig.view.foundCalls.first(), false); // every detection starts red
    QCOMPARE(rig.commands(), found ? QStringList{QStringLiteral("s")} : QStringList{});
    if (found)
        QCOMPARE(rig.link->DeviceSerial, QStringLiteral("TR00000001"));
}

void TestInstrument::twoDevicesOpensTheLast()
{
    Rig rig(instrument("Devices=2\r\nSerial2=TR00000002\r\nOtherDevices=1\r\n"));
    rig.link->ScanButClick();
    QCOMPARE(rig.link->DeviceIndex, 2);
    QCOMPARE(rig.link->DeviceSerial, QStringLiteral("TR00000002"));
    QVERIFY(QFileInfo(rig.folder("TR00000002")).isDir());
    QVERIFY(!QFileInfo::exists(rig.folder("TR00000001")));
}

void TestInstrument::newInstrumentAlias_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("alias");
    QTest::newRow("given") << QStringList{u"Участок «Север»"_qs} << u"Участок «Север»"_qs;
    QTest::newRow("cancelled") << QStringList{} << u"TR00000001"_qs;
    QTest::newRow("emptied") << QStringList{QString()} << u"TR00000001"_qs;
}

void TestInstrument::newInstrumentAlias()
{
    QFETCH(QStringList, answers);
    QFETCH(QString, alias);
    Rig rig(instrument());
    rig.view.answers = answers;
    rig.link->ScanButClick();
    QCOMPARE(rig.view.prompts, QStringList{u"Обнаружен новый прибор, введите его псевдоним:|TR00000001"_qs});
    QCOMPARE(readAlias(rig.folder()), alias);
    QCOMPARE(readAll(aliasFilePath(rig.folder())), cp1251::encode(QStringLiteral("[Main]\r\nName=") + alias + QStringLiteral("\r\n")));
}

void TestInstrument::knownFolderIsNotAskedAgain()
{
    Rig rig(instrument());
    QVERIFY(QDir().mkpath(rig.folder())); // known, but without Psevdo.ini
    rig.link->ScanButClick();
    rig.link->ScanButClick();
    QVERIFY(rig.view.prompts.isEmpty());
    QVERIFY(!QFileInfo::exists(aliasFilePath(rig.folder())));
    QCOMPARE(rig.commands(), (QStringList{QStringLiteral("s"), QStringLiteral("s")})); // asked again each time
}

void TestInstrument::unplugAndReplug()
{
    Rig rig(instrument());
    rig.link->ScanButClick();
    QVERIFY(rig.view.found);
    g_sim.setAttached(0);
    QTRY_VERIFY(!rig.view.found);
    QVERIFY(!rig.link->transport().DeviceOpen);
    g_sim.setAttached(1);
    QTRY_VERIFY(rig.view.found);
    QCOMPARE(rig.view.prompts.size(), 1); // only at the first sighting
}

void TestInstrument::attachedLater()
{
    Rig rig(instrument("Attached=0\r\nAttachAfterMs=150\r\n"));
    rig.link->ScanButClick();
    QVERIFY(!rig.view.found);
    QTRY_VERIFY(rig.view.found); // the device change runs a detection by itself
    QCOMPARE(rig.view.prompts.size(), 1);
    QCOMPARE(rig.link->DeviceSerial, QStringLiteral("TR00000001"));
}

void TestInstrument::informationText_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("line");
    QTest::newRow("59") << 59 << u"0 часов 59 минут"_qs;
    QTest::newRow("60") << 60 << u"1 часов 0 минут"_qs;
    QTest::newRow("125") << 125 << u"2 часов 5 минут"_qs;
    QTest::newRow("large") << 0x01020304 << u"281817 часов 40 минут"_qs;
}

void TestInstrument::informationText()
{
    QFETCH(int, minutes);
    QFETCH(QString, line);
    const uint32_t t = uint32_t(minutes);
    const char le[4] = {char(t), char(t >> 8), char(t >> 16), char(t >> 24)};
    const QString text = replies::informationText("TR00000001xx", "V2.3", QByteArray(le, 4));
    QCOMPARE(text, u"Версия прибора: V2.3\r\nСерийный номер прибора: TR00000001\r\nОбщее время работы прибора: "_qs + line);
}

void TestInstrument::informationBox()
{
    Rig rig(instrument());
    rig.link->ScanButClick();
    rig.link->N16Click();
    QCOMPARE(rig.view.messages,
             QStringList{u"Версия прибора: V2.3\r\nСерийный номер прибора: TR00000001\r\nОбщее время работы прибора: 2 часов 5 минут"_qs});
    QCOMPARE(rig.commands(), (QStringList{"s", "s", "v", "a"}));
}

void TestInstrument::decoders()
{
    QCOMPARE(numfmt::formatReal(replies::DdmmToDegrees(5354, 3160), '.'), QStringLiteral("53.9052666666667"));
    QCOMPARE(replies::pointCount(255), 2);      // header, two records and 35 zero bytes, then the marker
    QCOMPARE(replies::pointCount(63), 0);       // only the marker
    QCOMPARE(replies::pointCount(127), 0);      // a header and no whole record
    QCOMPARE(replies::pointCount(6999931), 99997);
    unsigned char r[70] = {};
    r[14] = 0x01, r[15] = 0x2C;            // E_Pole 300
    r[16] = 0, r[17] = 2, r[18] = 0x01, r[19] = 0x5E; // 2 and 350
    r[20] = 0, r[21] = 0, r[22] = 0x05, r[23] = 0xDC; // 0 and 1500
    r[33] = 0xFF, r[34] = 0xFF;
    r[69] = 7;
    const TrackPoint p = replies::decodePointRecord(r);
    QCOMPARE(p.E_Pole, 300);
    QCOMPARE(numfmt::formatReal(p.Glub, ','), QStringLiteral("2,35"));
    QCOMPARE(numfmt::formatReal(p.Tok, ','), QStringLiteral("1,5"));
    QCOMPARE(p.H_Pole, 65535);
    QCOMPARE(p.Reserv_11, 7);

    QString text;
    QCOMPARE(replies::trackCount(QByteArray("12\0\0\0", 5), &text), std::optional<int>(12));
    QCOMPARE(replies::trackCount("   7", &text), std::optional<int>(7));
    QCOMPARE(replies::trackCount("abc\0\0", &text), std::nullopt);
    QCOMPARE(text, QStringLiteral("abc"));
    QCOMPARE(replies::trackCount(QByteArray("\0\0\0\0\0", 5), &text), std::nullopt);
}

void TestInstrument::fileNames_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("separators unused") << QByteArray("05x03y16z14w07v09") << "05_03_16_14_07_09.trs" << true;
    QTest::newRow("usual") << QByteArray("21.10.14 08:30:00") << "21_10_14_08_30_00.trs" << true;
    QTest::newRow("slash") << QByteArray("0/.03.16 14:07:09") << "0/_03_16_14_07_09.trs" << false;
    QTest::newRow("colon") << QByteArray("0:.03.16 14:07:09") << "0:_03_16_14_07_09.trs" << false;
    QTest::newRow("NUL") << QByteArray("0\0.03.16 14:07:09", 17) << QString::fromLatin1("0\0_03_16_14_07_09.trs", 21) << false;
}

void TestInstrument::fileNames()
{
    QFETCH(QByteArray, header);
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(replies::trackFileName(header), name);
    QCOMPARE(replies::isSafeFileName(name), safe);
}

void TestInstrument::percentages_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("4") << 4 << QStringList{"24", "49", "74", "99"};
    QTest::newRow("1") << 1 << QStringList{"99"};
    QTest::newRow("3") << 3 << QStringList{"32", "65", "99"};
}

void TestInstrument::percentages()
{
    QFETCH(int, count);
    QFETCH(QStringList, texts);
    for (int n = 1; n <= count; ++n)
        QCOMPARE(replies::syncProgressText(n, count), u"Синхронизация - "_qs + texts[n - 1] + u"%"_qs);
    // more than 100 tracks: the first would show -1
    QCOMPARE(replies::syncProgressText(1, 150), u"Синхронизация - 0%"_qs);
    QCOMPARE(replies::syncProgressText(3, 150), u"Синхронизация - 1%"_qs);
}

void TestInstrument::synchronisation()
{
    QByteArray record(70, '\0');
    record[14] = 0x01, record[15] = 0x2C;
    QByteArray scenario = instrument() + tracks(4) +
                          "[Track5]\r\nHeader=21.10.14 08:30:00\r\nRecord0=" + record.toHex() + "\r\nRecord1=" +
                          record.toHex() + "\r\n";
    Rig rig(scenario);
    rig.link->ScanButClick();
    rig.link->N6Click();
    QCOMPARE(rig.view.status, (QStringList{u"Синхронизация - 19%"_qs, u"Синхронизация - 39%"_qs,
                                           u"Синхронизация - 59%"_qs, u"Синхронизация - 79%"_qs,
                                           u"Синхронизация - 99%"_qs, u"Синхронизация - завершена"_qs}));
    QCOMPARE(rig.view.loadMenu, (QList<bool>{false, true}));
    QCOMPARE(rig.tracks(), (QStringList{"01_03_16_14_07_09.trs", "02_03_16_14_07_09.trs", "03_03_16_14_07_09.trs",
                                        "04_03_16_14_07_09.trs", "21_10_14_08_30_00.trs"}));
    QCOMPARE(rig.commands().mid(1), (QStringList{"0", "1", "2", "3", "4", "5"}));
    // exactly the bytes of the two decoded records
    TrackPoint p = replies::decodePointRecord(reinterpret_cast<const unsigned char *>(record.constData()));
    const std::vector<TrackPoint> two{p, p};
    QCOMPARE(readAll(rig.folder() + "/21_10_14_08_30_00.trs"), trackFileBytes(two, ','));
    const TrackFileReader generated(rig.folder() + "/01_03_16_14_07_09.trs");
    QCOMPARE(generated.dotsCount(), 3);
    QVERIFY(generated.point(0).Lat > 53 && generated.point(0).Lat < 54);
    QCOMPARE(QDir(rig.folder()).entryList(QDir::Files | QDir::Hidden).size(), 6); // no temporary files
}

void TestInstrument::syncSkipsExistingAndRepeatsNothing()
{
    Rig rig(instrument() + tracks(2));
    rig.link->ScanButClick();
    QVERIFY(QFile(rig.folder() + "/01_03_16_14_07_09.trs").open(QIODevice::WriteOnly));
    rig.link->N6Click();
    QCOMPARE(readAll(rig.folder() + "/01_03_16_14_07_09.trs"), QByteArray()); // left as it was
    const QByteArray second = readAll(rig.folder() + "/02_03_16_14_07_09.trs");
    QVERIFY(second.startsWith("[Main]\r\nDots_Count=3\r\n"));
    rig.link->N6Click();
    QCOMPARE(readAll(rig.folder() + "/02_03_16_14_07_09.trs"), second);
    QCOMPARE(rig.commands().mid(1), (QStringList{"0", "1", "2", "0", "1", "2"})); // fetched again all the same
}

void TestInstrument::syncEqualHeaders()
{
    Rig rig(instrument() + "[Track1]\r\nHeader=07.07.20 10:00:00\r\nPoints=2\r\n"
                           "[Track2]\r\nHeader=07.07.20 10:00:00\r\nPoints=9\r\n");
    rig.link->ScanButClick();
    rig.link->N6Click();
    QCOMPARE(rig.tracks(), QStringList{"07_07_20_10_00_00.trs"});
    QCOMPARE(TrackFileReader(rig.folder() + "/07_07_20_10_00_00.trs").dotsCount(), 2);
}

void TestInstrument::syncCountNotANumber()
{
    Rig rig(instrument("CountReply=1x\r\n") + tracks(2));
    rig.link->ScanButClick();
    QCOMPARE(errorOf([&] { rig.link->N6Click(); }), QStringLiteral("'1x' is not a valid integer value"));
    QCOMPARE(rig.commands().mid(1), QStringList{"0"});
    QCOMPARE(rig.view.loadMenu, (QList<bool>{false, true}));
    QVERIFY(rig.tracks().isEmpty());
}

void TestInstrument::syncUnwritableName()
{
    Rig rig(instrument() + "[Track1]\r\nHeader=01.01.20 10:00:00\r\nPoints=2\r\n"
                           "[Track2]\r\nHeader=\"0/.01.20 10:00:00\"\r\nPoints=2\r\n"
                           "[Track3]\r\nHeader=03.01.20 10:00:00\r\nPoints=2\r\n");
    rig.link->ScanButClick();
    QCOMPARE(errorOf([&] { rig.link->N6Click(); }), unableToWriteMessage(rig.folder() + "/0/_01_20_10_00_00.trs"));
    QCOMPARE(rig.tracks(), QStringList{"01_01_20_10_00_00.trs"}); // the earlier one stays
    QCOMPARE(rig.view.loadMenu.last(), true);
}

void TestInstrument::instrumentStopsAnswering_data()
{
    QTest::addColumn<QByteArray>("fault");
    // "s" costs 2 reports, "0" 2, track 1 is 2 data reports and the marker
    QTest::newRow("stops after k reports") << QByteArray("StopAfterReports=7\r\n");
    QTest::newRow("no end marker") << QByteArray("NoEndMarker=1\r\n");
}

void TestInstrument::instrumentStopsAnswering()
{
    QFETCH(QByteArray, fault);
    const bool noMarker = fault.startsWith("NoEndMarker");
    Rig rig(instrument() + tracks(2, 60));
    rig.link->ScanButClick();
    g_sim.configure((instrument(fault) + tracks(2, 60)).constData());
    if (noMarker) {
        // the serial number never completes: a clear message, and the
        // instrument is not taken (its folder would be unknown)
        QVERIFY_THROWS_EXCEPTION(TravikError, rig.link->ScanButClick());
        QVERIFY(!rig.view.found);
        QVERIFY(!rig.link->transport().DeviceOpen);
        return;
    }
    rig.link->ScanButClick(); // the same instrument, now faulty
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(errorOf([&] { rig.link->N6Click(); }), ReportTransport::noAnswerMessage());
    QVERIFY(timer.elapsed() < 5000);
    QVERIFY(rig.tracks().isEmpty()); // nothing for the track that did not arrive
    QCOMPARE(rig.view.loadMenu.last(), true);
    // still usable: the instrument answers again and the next run completes
    g_sim.configure((instrument() + tracks(2, 60)).constData());
    rig.link->ScanButClick();
    rig.link->N6Click();
    QCOMPARE(rig.tracks().size(), 2);
}

void TestInstrument::replyTooLongForTheBuffer()
{
    Rig rig(instrument() + tracks(1));
    rig.link->ScanButClick();
    rig.link->N6Click();
    QCOMPARE(rig.tracks().size(), 1);
    g_sim.configure((instrument("OversizeReply=1\r\n") + tracks(2)).constData());
    rig.link->ScanButClick();
    QCOMPARE(errorOf([&] { rig.link->N6Click(); }), ReportTransport::replyTooLongMessage());
    QCOMPARE(rig.link->transport().UsbReports(), ReportTransport::kMaxReports);
    QCOMPARE(rig.tracks().size(), 1); // the earlier file stays, nothing new
}

void TestInstrument::unpluggedDuringSync()
{
    Rig rig(instrument("Paced=1\r\nDetachAfterMs=300\r\n") + tracks(3, 300));
    rig.link->ScanButClick();
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(errorOf([&] { rig.link->N6Click(); }), ReportTransport::noAnswerMessage());
    QVERIFY(timer.elapsed() < 5000);
    // the device change was held during the synchronisation and detected after it
    QTRY_VERIFY(!rig.view.found);
    const QStringList files = rig.tracks();
    for (const QString &f : files) // whatever was written is whole
        QCOMPARE(TrackFileReader(rig.folder() + "/" + f).dotsCount(), 300);
    QVERIFY(files.size() < 3);
    QCOMPARE(QDir(rig.folder()).entryList(QDir::Files | QDir::Hidden).size(), files.size() + 1);
}

void TestInstrument::oneCommandAtATime()
{
    Rig rig(instrument("Paced=1\r\n") + tracks(2, 400));
    rig.link->ScanButClick();
    QStringList refused;
    int detectionsDuring = 0;
    QTimer::singleShot(100, [&] {
        try {
            rig.link->N16Click();
        } catch (const TravikError &e) {
            refused << e.message();
        }
        try {
            rig.link->N6Click();
        } catch (const TravikError &e) {
            refused << e.message();
        }
        g_sim.setAttached(1); // a device change while the synchronisation waits
        detectionsDuring = int(rig.view.foundCalls.count(false));
    });
    const int redBefore = int(rig.view.foundCalls.count(false));
    rig.link->N6Click();
    QCOMPARE(refused, (QStringList{ReportTransport::busyMessage(), ReportTransport::busyMessage()}));
    QCOMPARE(rig.tracks().size(), 2); // the synchronisation was not disturbed
    QCOMPARE(detectionsDuring, redBefore);
    QTRY_COMPARE(int(rig.view.foundCalls.count(false)), redBefore + 1); // detection ran after it
    QVERIFY(rig.view.found);
}

void TestInstrument::libraryBinding()
{
    QString error;
    QVERIFY(!HidLibrary::load(QStringLiteral("/nonexistent/libTravik.so"), &error));
    QVERIFY2(error.contains(QStringLiteral("/nonexistent/libTravik.so")), qPrintable(error));
    QVERIFY(!HidLibrary::load(QStringLiteral(TRAVIK_BIN_DIR "/libTravikSim.so.missing"), &error));
    // a library without the seven functions
    const QString other = QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6Test.so.6");
    QVERIFY(!HidLibrary::load(other, &error));
    QVERIFY2(error.contains(QStringLiteral("HIDscanForDevices")), qPrintable(error));

    // the real library binds and enumerates whatever this machine has
    auto real = HidLibrary::load(QStringLiteral(TRAVIK_BIN_DIR "/libTravik.so"), &error);
    QVERIFY2(real, qPrintable(error));
    const int count = real->scanForDevices();
    uint8_t record[HID_DEVICE_RECORD_SIZE];
    for (int i = 0; i < count; ++i)
        real->getDeviceInfo(uint8_t(i), record);
    real->closeDevice();
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    auto hid = loadSimulator();
    g_hid = hid.get();
    g_sim.configure = reinterpret_cast<void (*)(const char *)>(hid->resolve("TravikSimConfigure"));
    g_sim.setAttached = reinterpret_cast<void (*)(int)>(hid->resolve("TravikSimSetAttached"));
    g_sim.writtenCount = reinterpret_cast<int (*)()>(hid->resolve("TravikSimWrittenCount"));
    g_sim.writtenReport = reinterpret_cast<void (*)(int, uint8_t *)>(hid->resolve("TravikSimWrittenReport"));
    g_sim.waitIdle = reinterpret_cast<void (*)()>(hid->resolve("TravikSimWaitIdle"));
    TestInstrument test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_instrument.moc"
