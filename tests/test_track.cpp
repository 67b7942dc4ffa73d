#include "Cp1251.h"
#include "NumberFormat.h"
#include "ProgramFolder.h"
#include "TrackFields.h"
#include "TrackFile.h"
#include "TrackFolders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <random>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A track file of `sections` point sections with Dots_Count `dots`; point i has Glub = i.
QByteArray makeTrack(int dots, int sections)
{
    QByteArray t = "[Main]\r\nDots_Count=" + QByteArray::number(dots) + "\r\nInfo=\r\n";
    for (int i = 0; i < sections; ++i)
        t += "[Dot_" + QByteArray::number(i) + "]\r\nGlub=" + QByteArray::number(i) + "\r\nTok=1\r\n";
    return t;
}

// The two points of fixtures/two_points_comma.trs.
std::vector<TrackPoint> fixturePoints()
{
    std::vector<TrackPoint> pts(2);
    TrackPoint &a = pts[0];
    a = TrackPoint{};
    a.Hours = 8; a.Minutes = 30; a.Seconds = 0; a.Day = 21; a.Month = 10; a.Year = 14;
    a.Lat = 53.905266; a.Lng = 27.553541; a.E_Pole = 300; a.Glub = 2 + 350 / 1000.0; a.Tok = 150.5;
    a.filtr_st = 1; a.fr_sel_flag = 2; a.write_flag = 1; a.write_step = 5; a.Bat = 3700; a.H_Pole = 12000;
    a.A_Sel = 1200; a.B_Sel = 1201; a.C_Sel = 1202; a.D_Sel = 1203; a.E_Sel = 1204;
    a.A_Prom = 10; a.B_Prom = 11; a.C_Prom = 12; a.D_Prom = 13; a.E_Prom = 14;
    a.Us_Sel = 3; a.Us_Prom = 4; a.Us_Mshu = 5; a.Reserv_11 = 255;
    TrackPoint &b = pts[1];
    b = TrackPoint{};
    b.Hours = 8; b.Minutes = 30; b.Seconds = 1; b.Day = 21; b.Month = 10; b.Year = 14;
    b.Lat = 53.9052750000001; b.Lng = 27.5535; b.E_Pole = 65535; b.Glub = 0; b.Tok = 5e-5;
    b.fr_sel_flag = 2; b.write_flag = 1; b.write_step = 5;
    b.Reserv_0 = 1; b.Reserv_1 = 2; b.Reserv_2 = 3; b.Reserv_3 = 4; b.Reserv_4 = 5; b.Reserv_5 = 6;
    b.E_Prom = 65535;
    b.Reserv_6 = 6; b.Reserv_7 = 7; b.Reserv_8 = 8; b.Reserv_9 = 9; b.Reserv_10 = 10; b.Reserv_11 = 11;
    return pts;
}

bool samePoint(const TrackPoint &x, const TrackPoint &y)
{
    for (const TrackField &f : kTrackFields) {
        QByteArray a, b;
        appendTrackField(a, x, f, '.');
        appendTrackField(b, y, f, '.');
        if (a != b) {
            qWarning("field %s: %s != %s", f.fieldName, a.constData(), b.constData());
            return false;
        }
    }
    return true;
}

} // namespace

class TestTrack : public QObject
{
    Q_OBJECT

private slots:
    void init() { numfmt::setDecimalSeparator(','); }

    void fieldTableMatchesModel();
    void dotsCount_data();
    void dotsCount();
    void tooManyPointsLoadsTheFirstMax();
    void missingKeyReadsZero();
    void fieldConversions_data();
    void fieldConversions();
    void loadLeavesLaterEntries();
    void damagedFilesLoadWhatTheyCan();

    void writerMatchesFixture();
    void writerFollowsSeparator();
    void writeReadRoundTrip();

    void description_data();
    void description();
    void descriptionWriteChangesOnlyInfo();
    void descriptionOnMissingFile();
    void descriptionNotWrittenOverUnreadableFile();

    void foldersAliasesAndNames();
    void frequencyLabels_data();
    void frequencyLabels();

    void cliExport();
};

void TestTrack::fieldTableMatchesModel()
{
    QCOMPARE(kTrackFields.size(), size_t(45));
    QCOMPARE(QByteArray(kTrackFields[19].key), QByteArray("\xCD_Pole"));
    QCOMPARE(QByteArray(kTrackFields[19].fieldName), QByteArray("H_Pole"));
    // Table order is the order of the record's fields.
    for (size_t i = 1; i < kTrackFields.size(); ++i)
        QVERIFY(kTrackFields[i].offset > kTrackFields[i - 1].offset);
}

void TestTrack::dotsCount_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("points");
    QTest::newRow("2 gives the point of section 0") << makeTrack(2, 2) << 1;
    QTest::newRow("1 is empty although a section is there") << makeTrack(1, 1) << 0;
    QTest::newRow("4 gives 3") << makeTrack(4, 4) << 3;
    QTest::newRow("0") << makeTrack(0, 3) << 0;
    QTest::newRow("negative is empty") << makeTrack(-7, 3) << 0;
    QTest::newRow("missing key") << QByteArray("[Main]\r\nInfo=\r\n[Dot_0]\r\nGlub=1\r\n") << 0;
    QTest::newRow("not a number") << QByteArray("[Main]\r\nDots_Count=abc\r\n") << 0;
    QTest::newRow("empty file") << QByteArray() << 0;
}

void TestTrack::dotsCount()
{
    QFETCH(QByteArray, file);
    QFETCH(int, points);
    const TrackFileReader r = TrackFileReader::fromBytes(file);
    QCOMPARE(r.pointCount(), points);
    QVERIFY(!r.truncated());
    if (points > 0)
        QCOMPARE(r.point(0).Glub, 0.0);
    if (points > 2)
        QCOMPARE(r.point(2).Glub, 2.0);
}

void TestTrack::tooManyPointsLoadsTheFirstMax()
{
    QByteArray file = "[Main]\r\nDots_Count=2000000000\r\n";
    file += "[Dot_99999]\r\nGlub=7,5\r\n[Dot_100000]\r\nGlub=9\r\n";
    const TrackFileReader r = TrackFileReader::fromBytes(file);
    QVERIFY(r.truncated());
    QCOMPARE(r.pointCount(), MaxTrackPoints);
    auto store = std::make_unique<TrackStore>();
    QCOMPARE(r.loadInto(*store), MaxTrackPoints);
    QCOMPARE((*store)[99999].Glub, 7.5);
}

void TestTrack::missingKeyReadsZero()
{
    const TrackFileReader r = TrackFileReader::fromBytes(
        "[Main]\r\nDots_Count=2\r\n[Dot_0]\r\nLat=53,5\r\nTok=12,25\r\nH_Pole=5\r\nBat=3600\r\n");
    const TrackPoint p = r.point(0);
    QCOMPARE(p.Glub, 0.0);
    QCOMPARE(p.Lat, 53.5);
    QCOMPARE(p.Tok, 12.25);
    QCOMPARE(p.Bat, 3600);
    QCOMPARE(p.H_Pole, 0); // the key is spelled with a Cyrillic Н
    const TrackPoint none = r.point(5);
    QCOMPARE(none.Lat, 0.0);
}

void TestTrack::fieldConversions_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("8-bit takes the low bits") << QByteArray("Hours=300") << "Hours" << "44";
    QTest::newRow("8-bit negative") << QByteArray("Year=-1") << "Year" << "255";
    QTest::newRow("32-bit as read") << QByteArray("E_Pole=-70000") << "E_Pole" << "-70000";
    QTest::newRow("cyrillic key any case") << QByteArray("\xED_POLE=77") << "H_Pole" << "77";
    QTest::newRow("dot read under comma") << QByteArray("Lat=53.5") << "Lat" << "53.5";
    QTest::newRow("exponent") << QByteArray("Tok=5E-5") << "Tok" << "5E-5";
    QTest::newRow("bad integer") << QByteArray("Bat=12x") << "Bat" << "0";
    QTest::newRow("bad real") << QByteArray("Glub=1,2,3") << "Glub" << "0";
    QTest::newRow("integer with fraction") << QByteArray("Day=1,5") << "Day" << "0";
    QTest::newRow("key case") << QByteArray("fr_SEL_flag=3") << "fr_sel_flag" << "3";
}

void TestTrack::fieldConversions()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, field);
    QFETCH(QString, value);
    const TrackFileReader r = TrackFileReader::fromBytes("[Main]\r\nDots_Count=2\r\n[Dot_0]\r\n" + line + "\r\n");
    const TrackPoint p = r.point(0);
    for (const TrackField &f : kTrackFields)
        if (field == QLatin1String(f.fieldName)) {
            QByteArray text;
            appendTrackField(text, p, f, '.');
            QCOMPARE(QString::fromLatin1(text), value);
            return;
        }
    QFAIL("no such field");
}

void TestTrack::loadLeavesLaterEntries()
{
    auto store = std::make_unique<TrackStore>();
    *store = TrackStore{};
    QCOMPARE(TrackFileReader::fromBytes(makeTrack(9, 9)).loadInto(*store), 8);
    QByteArray five = "[Main]\r\nDots_Count=6\r\n";
    for (int i = 0; i < 6; ++i)
        five += "[Dot_" + QByteArray::number(i) + "]\r\nGlub=" + QByteArray::number(100 + i) + "\r\n";
    QCOMPARE(TrackFileReader::fromBytes(five).loadInto(*store), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE((*store)[size_t(i)].Glub, 100.0 + i);
    for (int i = 5; i < 8; ++i)
        QCOMPARE((*store)[size_t(i)].Glub, double(i));
    QCOMPARE((*store)[8].Glub, 0.0);
}

void TestTrack::damagedFilesLoadWhatTheyCan()
{
    // cut in the middle of a point section
    QByteArray full = makeTrack(4, 4);
    const QByteArray cut = full.left(full.indexOf("[Dot_2]") + 12);
    const TrackFileReader r = TrackFileReader::fromBytes(cut);
    QCOMPARE(r.pointCount(), 3);
    QCOMPARE(r.point(1).Glub, 1.0);
    QCOMPARE(r.point(2).Glub, 0.0);

    // an endless line, binary garbage: no crash, sensible fallbacks
    const TrackFileReader endless = TrackFileReader::fromBytes("[Main]\r\nDots_Count=3\r\nInfo=" + QByteArray(3'000'000, 'x'));
    QCOMPARE(endless.pointCount(), 2);
    QCOMPARE(endless.description().size(), 2047);
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        QByteArray junk(4096, Qt::Uninitialized);
        for (char &c : junk)
            c = char(rng() % 8 == 0 ? "[]=\r\n"[rng() % 5] : rng());
        const TrackFileReader g = TrackFileReader::fromBytes("[Main]\r\nDots_Count=50\r\n" + junk);
        for (int i = 0; i < g.pointCount(); ++i)
            (void)g.point(i);
    }
}

void TestTrack::writerMatchesFixture()
{
    const std::vector<TrackPoint> pts = fixturePoints();
    const QByteArray expected = readAll(QStringLiteral(TRAVIK_FIXTURES "/two_points_comma.trs"));
    QVERIFY(!expected.isEmpty());
    QCOMPARE(trackFileBytes(pts, ','), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("21_10_14_08_30_00.trs"));
    QVERIFY(writeTrackFile(path, pts));
    QCOMPARE(readAll(path), expected);
    // and the fixture reads back into the same records
    const TrackFileReader r(QStringLiteral(TRAVIK_FIXTURES "/two_points_comma.trs"));
    QCOMPARE(r.pointCount(), 1); // Dots_Count 2: the last section is never loaded
    QVERIFY(samePoint(r.point(0), pts[0]));
    QVERIFY(samePoint(r.point(1), pts[1]));
}

void TestTrack::writerFollowsSeparator()
{
    const std::vector<TrackPoint> pts = fixturePoints();
    QByteArray expected = readAll(QStringLiteral(TRAVIK_FIXTURES "/two_points_comma.trs"));
    expected.replace(',', '.');
    QCOMPARE(trackFileBytes(pts, '.'), expected);
}

void TestTrack::writeReadRoundTrip()
{
    std::mt19937 rng(3);
    std::vector<TrackPoint> pts(200);
    for (TrackPoint &p : pts) {
        unsigned char *raw = reinterpret_cast<unsigned char *>(&p);
        for (const TrackField &f : kTrackFields) {
            if (f.kind == TrackField::U8) {
                raw[f.offset] = static_cast<unsigned char>(rng());
            } else if (f.kind == TrackField::I32) {
                const int32_t v = int32_t(rng() % 65536);
                std::memcpy(raw + f.offset, &v, 4);
            } else {
                const double v = double(rng() % 100000) / 1000.0 + double(rng() % 1000) * 1e-9;
                std::memcpy(raw + f.offset, &v, 8);
            }
        }
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.trs"));
    QVERIFY(writeTrackFile(path, pts));
    const TrackFileReader r(path);
    QCOMPARE(r.dotsCount(), 200);
    QCOMPARE(r.pointCount(), 199);
    QCOMPARE(r.description(), QString());
    for (int i = 0; i < 200; ++i)
        QVERIFY2(samePoint(r.point(i), pts[size_t(i)]), qPrintable(QString::number(i)));
}

void TestTrack::description_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    QTest::newRow("absent") << QByteArray("[Main]\r\nDots_Count=3\r\n") << u"Описание файла"_qs;
    QTest::newRow("empty") << QByteArray("[Main]\r\nDots_Count=3\r\nInfo=\r\n") << QString();
    QTest::newRow("cyrillic") << cp1251::encode(u"[Main]\r\nInfo=Газопровод, участок 3\r\n") << u"Газопровод, участок 3"_qs;
}

void TestTrack::description()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    QCOMPARE(TrackFileReader::fromBytes(file).description(), text);
    QTemporaryDir dir;
    writeBytes(dir.filePath(QStringLiteral("a.trs")), file);
    QCOMPARE(readTrackDescription(dir.filePath(QStringLiteral("a.trs"))), text);
}

void TestTrack::descriptionWriteChangesOnlyInfo()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.trs"));
    const QByteArray before = readAll(QStringLiteral(TRAVIK_FIXTURES "/two_points_comma.trs"));
    writeBytes(path, before);
    QVERIFY(writeTrackDescription(path, u"Кабель 10 кВ"_qs));
    QByteArray expected = before;
    expected.replace("Info=\r\n", "Info=\xCA\xE0\xE1\xE5\xEB\xFC 10 \xEA\xC2\r\n");
    QCOMPARE(readAll(path), expected);
    QCOMPARE(readTrackDescription(path), u"Кабель 10 кВ"_qs);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestTrack::descriptionOnMissingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone.trs"));
    QVERIFY(writeTrackDescription(path, u"x"_qs));
    QCOMPARE(readAll(path), QByteArray("[Main]\r\nInfo=x\r\n"));
}

void TestTrack::descriptionNotWrittenOverUnreadableFile()
{
    QTemporaryDir dir;
    // a folder where the track file should be: it cannot be read, and nothing replaces it
    const QString path = dir.filePath(QStringLiteral("odd.trs"));
    QVERIFY(QDir().mkdir(path));
    QString error;
    QVERIFY(!writeTrackDescription(path, u"x"_qs, &error));
    QCOMPARE(error, QStringLiteral("Unable to write to %1").arg(path));
    QVERIFY(QFileInfo(path).isDir());
}

void TestTrack::foldersAliasesAndNames()
{
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    QCOMPARE(tracesFolder(), dir.path() + QStringLiteral("/Traces"));
    const QString folder = trackFolder(QStringLiteral("0123456789"));
    QCOMPARE(folder, dir.path() + QStringLiteral("/Traces/0123456789"));
    QCOMPARE(previewPicture(folder + QStringLiteral("/05_03_15_12_00_00.trs")),
             folder + QStringLiteral("/05_03_15_12_00_00.trs.jpg"));
    QVERIFY(QDir().mkpath(folder));
    QCOMPARE(readAlias(folder), QStringLiteral("Null"));
    writeBytes(aliasFilePath(folder), "[Main]\r\nOther=1\r\n");
    QCOMPARE(readAlias(folder), QStringLiteral("Null"));
    QVERIFY(writeAlias(folder, u"Участок «Север»"_qs));
    QCOMPARE(readAlias(folder), u"Участок «Север»"_qs);
    QCOMPARE(readAll(aliasFilePath(folder)), cp1251::encode(u"[Main]\r\nOther=1\r\nName=Участок «Север»\r\n"));
    setProgramFolder(QString());
}

void TestTrack::frequencyLabels_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("caption");
    QTest::newRow("0") << 0 << u"0,5 кГц"_qs;
    QTest::newRow("1") << 1 << u"2 кГц"_qs;
    QTest::newRow("2") << 2 << u"8 кГц"_qs;
    QTest::newRow("3") << 3 << u"33 кГц"_qs;
    QTest::newRow("4") << 4 << u"58 кГц"_qs;
    QTest::newRow("5") << 5 << QString();
    QTest::newRow("255") << 255 << QString();
}

void TestTrack::frequencyLabels()
{
    QFETCH(int, flag);
    QFETCH(QString, caption);
    QCOMPARE(frequencyLabel(flag).value_or(QString()), caption);
}

void TestTrack::cliExport()
{
    const QString cli = QStringLiteral(TRAVIK_BIN_DIR "/travik-cli");
    QTemporaryDir dir;
    QProcess p;
    p.start(cli, {QStringLiteral("export"), QStringLiteral(TRAVIK_FIXTURES "/two_points_comma.trs")});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QList<QByteArray> lines = p.readAllStandardOutput().split('\n');
    QCOMPARE(lines.size(), 3); // header, one point, and the end after the last LF
    QCOMPARE(lines[0].left(40), QByteArray("Hours,Minutes,Seconds,Day,Month,Year,Lat"));
    QVERIFY(lines[0].contains(",Bat,H_Pole,Reserv_0,"));
    QCOMPARE(lines[0].count(','), 44);
    QCOMPARE(lines[1], QByteArray("8,30,0,21,10,14,53.905266,27.553541,300,2.35,150.5,1,0,2,0,0,1,5,3700,12000,"
                                  "0,0,0,0,0,0,1200,1201,1202,1203,1204,10,11,12,13,14,3,4,5,0,0,0,0,0,255"));
    QVERIFY(lines[2].isEmpty());

    const QString out = dir.filePath(QStringLiteral("out.csv"));
    p.start(cli, {QStringLiteral("export"), QStringLiteral(TRAVIK_FIXTURES "/two_points_comma.trs"),
                  QStringLiteral("-o"), out});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(readAll(out).count('\n'), 2);

    const QString empty = dir.filePath(QStringLiteral("empty.trs"));
    writeBytes(empty, "[Main]\r\nDots_Count=1\r\n[Dot_0]\r\nGlub=1\r\n");
    p.start(cli, {QStringLiteral("export"), empty});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()).trimmed(), u"Файл трассы пустой!!!"_qs);
    QVERIFY(p.readAllStandardOutput().isEmpty());

    p.start(cli, {QStringLiteral("export"), dir.filePath(QStringLiteral("missing.trs"))});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);

    for (const QStringList &bad : {QStringList{}, QStringList{QStringLiteral("export")},
                                   QStringList{QStringLiteral("frobnicate")},
                                   QStringList{QStringLiteral("export"), QStringLiteral("a"), QStringLiteral("b")}}) {
        p.start(cli, bad);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardError().startsWith("usage:"));
    }
}

QTEST_GUILESS_MAIN(TestTrack)
#include "test_track.moc"
