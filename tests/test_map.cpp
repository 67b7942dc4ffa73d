#include "ChartPane.h"
#include "JpegCodec.h"
#include "LineChart.h"
#include "MapPage.h"
#include "MapScripts.h"
#include "MapStandIn.h"
#include "NumberFormat.h"
#include "ProgramFolder.h"
#include "StandardMessages.h"
#include "YandexMap.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWebEngineView>
#include <QtTest>

#include <QElapsedTimer>

#include <memory>

namespace {

MapStandIn *g_standIn = nullptr;


// A map pane with its page, a chart to select on, and a switch for the connection.
struct MapRig {
    MapRig()
    {
        setProgramFolder(dir.path());
        QDir().mkpath(dir.filePath(QStringLiteral("temp")));
        QString error;
        if (!WriteMapPage(&error))
            qFatal("%s", qPrintable(error));
        window.resize(1000, 500);
        auto *row = new QHBoxLayout(&window);
        row->setContentsMargins(0, 0, 0, 0);
        mapPane = new QWidget;
        mapPane->setFixedWidth(500);
        auto *stack = new QGridLayout(mapPane);
        stack->setContentsMargins(0, 0, 0, 0);
        view = new QWebEngineView(mapPane);
        offline = new QWidget(mapPane);
        offline->hide();
        stack->addWidget(view, 0, 0);
        stack->addWidget(offline, 0, 0);
        row->addWidget(mapPane);
        chartPane = new QWidget;
        row->addWidget(chartPane, 1);
        chart = new LineChart(chartPane);
        chart->resize(480, 400);
        for (QToolButton **b : {&bMap, &bGraph, &bCompare, &b6, &b5, &b4, &b3}) {
            *b = new QToolButton(&window);
            (*b)->setCheckable(true);
            (*b)->setChecked(true);
        }
        n13.setCheckable(true);
        n14.setCheckable(true);
        pane = std::make_unique<ChartPane>(chart, PaneControls{&window, mapPane, chartPane, bMap, bGraph, bCompare,
                                                               b6, b5, b4, b3, &n13, &n14});
        map = std::make_unique<YandexMap>(view, offline,
                                          YandexMap::Hooks{[this](const QString &t) { status = t; }, pane.get()},
                                          [this] { return online; });
        window.show();
        pane->SetupChart();
    }
    ~MapRig() { setProgramFolder(QString()); }

    bool waitReady()
    {
        map->Timer1Timer();
        return waitForPageFunction(view, QStringLiteral("ya_add_point"));
    }

    void loadTrack(int n)
    {
        pane->beginTrack(TrackSlot::Main);
        map->ya_clear();
        for (int i = 0; i < n; ++i) {
            TrackPoint p{};
            p.Lat = 53.9 + i * 0.0002;
            p.Lng = 27.55 + i * 0.0003;
            p.Glub = 1 + i * 0.1;
            p.Tok = 100 + i;
            MainTrack[size_t(i)] = p;
            pane->appendPoint(TrackSlot::Main, p);
            map->ya_add_point(i, p.Lat, p.Lng);
        }
        pane->endTrack();
        map->ya_pan();
        map->flush();
    }

    QTemporaryDir dir;
    QWidget window;
    QWidget *mapPane, *chartPane, *offline;
    QWebEngineView *view;
    LineChart *chart;
    QToolButton *bMap, *bGraph, *bCompare, *b6, *b5, *b4, *b3;
    QAction n13{nullptr}, n14{nullptr};
    std::unique_ptr<ChartPane> pane;
    std::unique_ptr<YandexMap> map;
    bool online = true;
    QString status;
};

} // namespace

class TestMap : public QObject
{
    Q_OBJECT

private slots:
    void init() { numfmt::setDecimalSeparator(','); }

    void pageFile();
    void scriptTexts_data();
    void scriptTexts();
    void clickValues_data();
    void clickValues();

    void pageInTheBrowser();
    void clicksOnTheMap();
    void offlineDropsEverything();
    void pageWithoutItsApi();
    void mapPicture();
};

void TestMap::pageFile()
{
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("temp"))));
    QVERIFY(WriteMapPage());
    QFile f(mapPagePath());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray first = f.readAll();
    f.close();
    QVERIFY(WriteMapPage());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), first);
    QCOMPARE(mapPagePath(), dir.filePath(QStringLiteral("temp/yandex.html")));
    const QList<QByteArray> lines = first.split('\n');
    QCOMPARE(lines.size(), 110); // 109 lines and what follows the last CR LF
    QVERIFY(lines.last().isEmpty());
    for (int i = 0; i < 109; ++i)
        QVERIFY2(lines[i].endsWith('\r') && lines[i].count('\r') == 1, qPrintable(QString::number(i + 1)));
    QCOMPARE(lines[0], QByteArray("<!DOCTYPE html>\r"));
    QCOMPARE(lines[18], QByteArray("<script src=\"https://api-maps.yandex.ru/2.0/?load=package.standard,package.geoObjects"
                                   "&lang=ru-RU\" type=\"text/javascript\"></script>\r"));
    QCOMPARE(lines[40], QByteArray("],  {balloonContent: \"\"},{balloonCloseButton: false,strokeColor: \"#0000FF\","
                                   "strokeWidth: 4,strokeOpacity: 1});\r"));
    QCOMPARE(lines[105], QByteArray("<body scroll=\"No\"; leftmargin=\"0\"; topmargin=\"0\">\r"));
    QCOMPARE(lines[108], QByteArray("</html>\r"));
    for (char c : first)
        QVERIFY(uchar(c) < 128);
    // no folder for the page: the error, and nothing written
    QVERIFY(QDir(dir.filePath(QStringLiteral("temp"))).removeRecursively());
    QString error;
    QVERIFY(!WriteMapPage(&error));
    QCOMPARE(error, unableToWriteMessage(mapPagePath()));
    setProgramFolder(QString());
}

void TestMap::scriptTexts_data()
{
    numfmt::setDecimalSeparator(',');
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("add_point") << mapscripts::ya_add_point(12, 53.9052661, 27.5535)
                               << "ya_add_point(12,\"12\",53.9052661,27.5535)";
    QTest::newRow("add_point1") << mapscripts::ya_add_point1(3, 0, -27.5) << "ya_add_point1(3,\"1-3\",0,-27.5)";
    QTest::newRow("mark") << mapscripts::ya_mark(QStringLiteral("4"), 55.75, 37.61) << "ya_mark(\"4\",55.75,37.61)";
    QTest::newRow("mark compared") << mapscripts::ya_mark(QStringLiteral("1-3"), 53.905266, 27.553541)
                                   << "ya_mark(\"1-3\",53.905266,27.553541)";
    QTest::newRow("setic") << mapscripts::ya_setic("/opt/t/media/dot_blue.png", "/opt/t/media/dot_green.png",
                                                   "/opt/t/media/dot_red.png")
                           << "ya_setic(\"/opt/t/media/dot_blue.png\",\"/opt/t/media/dot_green.png\",\"/opt/t/media/dot_red.png\")";
    QTest::newRow("setic escaped") << mapscripts::ya_setic("/a\"b\\c", "x\ny", "z")
                                   << "ya_setic(\"/a\\\"b\\\\c\",\"x\\ny\",\"z\")";
    QTest::newRow("icon address") << mapscripts::iconAddress("C:\\Program Files\\Travik\\", "dot_red.png")
                                  << "C:/Program Files/Travik/media/dot_red.png";
    QTest::newRow("tiny coordinate") << mapscripts::ya_add_point(0, 5e-5, 1e15) << "ya_add_point(0,\"0\",5E-5,1E15)";
}

void TestMap::scriptTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestMap::clickValues_data()
{
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("value"); // "<none>" when ignored
    QTest::newRow("main point") << "file:///opt/app/temp/yandex.html#name=5" << "5";
    QTest::newRow("compared point") << "file:///opt/app/temp/yandex.html#name=1-7" << "1-7";
    QTest::newRow("escaped folder") << "file:///opt/my%20app/%D0%BF/temp/yandex.html#name=12" << "12";
    QTest::newRow("no hash") << "file:///opt/app/temp/yandex.html" << "<none>";
    QTest::newRow("nothing after name=") << "file:///opt/app/temp/yandex.html#name=" << "<none>";
    QTest::newRow("line clicked") << "file:///x/temp/yandex.html#name=undefined" << "undefined";
    QTest::newRow("not a number") << "file:///x/temp/yandex.html#name=abc" << "abc";
}

void TestMap::clickValues()
{
    QFETCH(QString, location);
    QFETCH(QString, value);
    QCOMPARE(mapscripts::clickValue(location).value_or(QStringLiteral("<none>")), value);
}

void TestMap::pageInTheBrowser()
{
    MapRig rig;
    const int before = g_standIn->apiRequests;
    QVERIFY(rig.waitReady());
    QCOMPARE(g_standIn->apiRequests, before + 1); // line 19 as it is, served locally
    QCOMPARE(g_standIn->lastApiUrl.toString(),
             QStringLiteral("https://api-maps.yandex.ru/2.0/?load=package.standard,package.geoObjects&lang=ru-RU"));
    QVERIFY(runJs(rig.view, "__log.join('|')").toString().contains("control smallZoomControl"));

    rig.map->ya_setic(QStringLiteral("/o'dd \"f\\older/media/dot_blue.png"), QStringLiteral("g"), QStringLiteral("r"));
    rig.map->flush();
    QCOMPARE(runJs(rig.view, "Blueicon").toString(), QStringLiteral("/o'dd \"f\\older/media/dot_blue.png"));

    // ya_clear, then point 0 replaces the vertex [0, 0]
    rig.loadTrack(5);
    QCOMPARE(runJs(rig.view, "JSON.stringify(__standin.line(0).geometry.coords[0])").toString(),
             QStringLiteral("[53.9,27.55]"));
    QCOMPARE(runJs(rig.view, "__standin.line(0).geometry.getLength()").toInt(), 5);
    QCOMPARE(runJs(rig.view, "__standin.maps[0].geoObjects.get(0).getLength()").toInt(), 6); // line and 5 points
    rig.loadTrack(3);
    QCOMPARE(runJs(rig.view, "__standin.line(0).geometry.getLength()").toInt(), 3);
    QVERIFY(runJs(rig.view, "__log[__log.length-1]").toString().startsWith(QLatin1String("setBounds")));

    // ya_mark moves the marker and centres the map
    rig.map->ya_mark(QStringLiteral("2"), 53.9004, 27.5506);
    QCOMPARE(runJs(rig.view, "__standin.maps[0].geoObjects.get(2).get(0).properties.get('hintContent')").toString(),
             QStringLiteral("2"));
    QCOMPARE(runJs(rig.view, "JSON.stringify(__standin.maps[0].getCenter())").toString(), QStringLiteral("[53.9004,27.5506]"));
}

void TestMap::clicksOnTheMap()
{
    MapRig rig;
    QVERIFY(rig.waitReady());
    rig.loadTrack(25);
    numfmt::setDecimalSeparator(',');
    // a click on point 13: the hash, the readout numbered from 0, the highlight and its page
    runJs(rig.view, "__standin.click(__standin.find('13'))");
    QTRY_VERIFY(rig.view->url().fragment() == QLatin1String("name=13"));
    rig.map->Yandex_tmrTimer();
    QVERIFY2(rig.status.startsWith(u" Точка №13 Ш.53,9026 Д.27,5539 Глубина 2,3м"_qs), qPrintable(rig.status));
    QCOMPARE(rig.chart->markerSize(ChartPane::tok, 13), 10);
    QCOMPARE(rig.chart->page(), 2);
    QCOMPARE(rig.map->LastClickName, QStringLiteral("13"));
    // the page moved its own marker there; the program sent no ya_mark
    QCOMPARE(runJs(rig.view, "__standin.maps[0].geoObjects.get(2).get(0).properties.get('hintContent')").toString(),
             QStringLiteral("13"));

    // the same value again changes nothing
    rig.status.clear();
    rig.pane->HighlightPoint(TrackSlot::Main, 2);
    rig.map->Yandex_tmrTimer();
    QVERIFY(rig.status.isEmpty());
    QCOMPARE(rig.chart->markerSize(ChartPane::tok, 2), 10);

    // a click on the line gives "undefined" and changes nothing
    runJs(rig.view, "__standin.click(__standin.line(0))");
    QTRY_VERIFY(rig.view->url().fragment() == QLatin1String("name=undefined"));
    rig.map->Yandex_tmrTimer();
    QVERIFY(rig.status.isEmpty());
    QCOMPARE(runJs(rig.view, "__standin.maps[0].geoObjects.get(2).get(0).properties.get('hintContent')").toString(),
             QStringLiteral("13"));

    // a value that is not a number: one error, not two
    runJs(rig.view, "location.hash='name=abc'");
    QTRY_VERIFY(rig.view->url().fragment() == QLatin1String("name=abc"));
    QVERIFY_THROWS_EXCEPTION(TravikError, rig.map->Yandex_tmrTimer());
    rig.map->Yandex_tmrTimer();
    // a name past the loaded track is not trusted
    runJs(rig.view, "location.hash='name=99999'");
    QTRY_VERIFY(rig.view->url().fragment() == QLatin1String("name=99999"));
    rig.map->Yandex_tmrTimer();
    QVERIFY(rig.status.isEmpty());
}

void TestMap::offlineDropsEverything()
{
    MapRig rig;
    QVERIFY(rig.waitReady());
    rig.loadTrack(4);
    const int logged = runJs(rig.view, "__log.length").toInt();
    rig.online = false;
    rig.map->Timer1Timer();
    QVERIFY(rig.offline->isVisible());
    QVERIFY(!rig.view->isVisible());
    QVERIFY(!rig.map->PageNavigated);
    rig.map->ya_clear();
    rig.map->ya_add_point(0, 1, 2);
    rig.map->ya_mark(QStringLiteral("0"), 1, 2);
    rig.map->flush();
    rig.online = true;
    QCOMPARE(runJs(rig.view, "__log.length").toInt(), logged);
    QCOMPARE(runJs(rig.view, "__standin.line(0).geometry.getLength()").toInt(), 4);
    // the connection returns: the page is loaded again, empty
    rig.map->Timer1Timer();
    QVERIFY(rig.view->isVisible());
    QVERIFY(!rig.offline->isVisible());
    QTRY_COMPARE(runJs(rig.view, "typeof ya_add_point === 'function' && __standin.line(0).geometry.getLength()").toInt(), 1);
}

void TestMap::pageWithoutItsApi()
{
    MapRig rig;
    g_standIn->withoutApi = true;
    rig.map->Timer1Timer();
    QTRY_VERIFY(runJs(rig.view, "document.readyState").toString() == QLatin1String("complete"));
    g_standIn->withoutApi = false;
    try {
        rig.map->ya_mark(QStringLiteral("0"), 1, 2);
        QFAIL("no error");
    } catch (const TravikError &e) {
        QVERIFY2(e.message().contains(QLatin1String("ya_mark")), qPrintable(e.message()));
    }
}

void TestMap::mapPicture()
{
    MapRig rig;
    const QString early = rig.dir.filePath(QStringLiteral("early.jpg"));
    rig.map->SaveMapPicture(early); // no document yet: a file all the same
    QVERIFY(!jpeg::load(early).isNull());
    QVERIFY(rig.waitReady());
    rig.loadTrack(20);
    QTest::qWait(300);
    const QString path = rig.dir.filePath(QStringLiteral("a.trs.jpg"));
    rig.map->SaveMapPicture(path);
    const QImage img = jpeg::load(path);
    QCOMPARE(img.size(), rig.view->size());
    if (!qEnvironmentVariableIsEmpty("TRAVIK_RENDER_DIR"))
        img.save(qEnvironmentVariable("TRAVIK_RENDER_DIR") + "/map.png");
    // a picture that cannot be written is an error
    QVERIFY_THROWS_EXCEPTION(TravikError, rig.map->SaveMapPicture(rig.dir.filePath(QStringLiteral("no/such/x.jpg"))));
}

int main(int argc, char **argv)
{
    MapStandIn::registerScheme();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    MapStandIn standIn(QStringLiteral(TRAVIK_FIXTURES "/ymaps-standin.js"));
    g_standIn = &standIn;
    TestMap test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_map.moc"
