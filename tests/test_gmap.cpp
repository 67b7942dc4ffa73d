#include "ChartPane.h"
#include "ConnectionTest.h"
#include "GMapPane.h"
#include "HidLibrary.h"
#include "TestSimulator.h"
#include "LineChart.h"
#include "MapStandIn.h"
#include "NumberFormat.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "TForm2.h"
#include "TForm3.h"
#include "THIDtestForm.h"
#include "TrackFolders.h"
#include "TravikApplication.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>
#include <QtTest>

#include <QElapsedTimer>

#include <memory>

namespace {

HidLibrary *g_hid = nullptr;
MapStandIn *g_standIn = nullptr;


void writeTrack(const QString &path, int points, double lat)
{
    QDir().mkpath(QFileInfo(path).path());
    QByteArray t = "[Main]\r\nDots_Count=" + QByteArray::number(points + 1) + "\r\nInfo=\r\n";
    for (int i = 0; i <= points; ++i)
        t += "[Dot_" + QByteArray::number(i) + "]\r\nLat=" + QByteArray::number(lat + i * 0.0001, 'f', 6).replace('.', ',') +
             "\r\nLng=27,55\r\nGlub=1,5\r\nTok=120\r\nE_Pole=" + QByteArray::number(10 + i) + "\r\nН_Pole=5\r\n";
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(t);
}

struct GWindow {
    explicit GWindow(const QByteArray &settings = {})
    {
        overrideConnection(true);
        setProgramFolder(dir.path());
        if (!settings.isEmpty()) {
            QFile f(dir.filePath(QStringLiteral("Travik.ini")));
            if (f.open(QIODevice::WriteOnly))
                f.write(settings);
        }
        form = std::make_unique<THIDtestForm>(BuildFlavour::travikGmap(), *g_hid);
        chooser = new TForm2(form.get());
        about = new TForm3(QStringLiteral("v"), form.get());
        form->setDialogs(chooser, about);
        form->resize(1100, 700);
        form->show();
        QTRY_VERIFY(form->activationCount() == 1);
        gmap = form->gmapPane();
        view = form->findChild<QWebEngineView *>(QStringLiteral("WebBrowser1"));
        QTRY_VERIFY_WITH_TIMEOUT(gmap->MapPageLoaded, 10000);
    }
    ~GWindow()
    {
        overrideConnection(std::nullopt);
        setProgramFolder(QString());
    }
    QString trackPath(const char *name) const { return dir.filePath(QStringLiteral("Traces/SER0000001/") + name); }
    void choose(const QString &name)
    {
        QTimer::singleShot(0, chooser, [this, name] {
            auto *check = chooser->findChild<QCheckBox *>(QStringLiteral("CheckBox1"));
            check->setChecked(true);
            chooser->CheckBox1Click();
            auto *files = chooser->findChild<QListWidget *>(QStringLiteral("FileListBox1"));
            const auto found = files->findItems(name, Qt::MatchExactly);
            if (!found.isEmpty())
                files->setCurrentItem(found.first());
            chooser->Button1Click();
        });
    }
    QString status() const { return form->findChild<QLabel *>(QStringLiteral("Label1"))->text(); }
    QVariant js(const QString &s) const { return runJs(view, s); }
    LineChart *chart() const { return form->findChild<LineChart *>(QStringLiteral("Chart1")); }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<THIDtestForm> form;
    TForm2 *chooser;
    TForm3 *about;
    GMapPane *gmap;
    QWebEngineView *view;
};

const char *kLive = "__gm.markers.filter(function(m){return m.map;})";

} // namespace

class TestGmap : public QObject
{
    Q_OBJECT

private slots:
    void init() { numfmt::setDecimalSeparator(','); }
    void mapBuiltFromItsSettings();
    void loadHoverClick();
    void comparisonOnTheMap();
    void offlineChartClickChangesOnlyTheChart();
    void boundedWaitForTheMap();
    void apiKeyFromTheSettings();
};

void TestGmap::mapBuiltFromItsSettings()
{
    GWindow w;
    QVERIFY(g_standIn->lastGoogleUrl.query().contains(QLatin1String("language=ru")));
    QVERIFY(!g_standIn->lastGoogleUrl.query().contains(QLatin1String("key="))); // no key of our own by default
    const QString log = w.js("__gm.log[0]").toString();
    QVERIFY2(log.contains(QLatin1String("\"lat\":53.905266")) && log.contains(QLatin1String("\"zoom\":14")), qPrintable(log));
    QVERIFY(log.contains(QLatin1String("\"backgroundColor\":\"#eff0ee\"")));
    QVERIFY(log.contains(QLatin1String("\"streetViewControl\":false")));
    QCOMPARE(w.js("__gm.polylines.length").toInt(), 2);
    QCOMPARE(w.js("__gm.polylines[0].opts.strokeColor").toString(), QStringLiteral("#0000ff"));
    QCOMPARE(w.js("__gm.polylines[1].opts.strokeColor").toString(), QStringLiteral("#00ff00"));
    QCOMPARE(w.js("__gm.polylines[0].opts.icons[0].repeat").toString(), QStringLiteral("10px"));
}

void TestGmap::loadHoverClick()
{
    GWindow w;
    writeTrack(w.trackPath("m.trs"), 5, 53.9);
    w.choose(QStringLiteral("m.trs"));
    w.form->N7Click();
    QCOMPARE(w.js(QString::fromLatin1(kLive) + ".length").toInt(), 5);
    QCOMPARE(w.js(QString::fromLatin1(kLive) + "[0].getTitle()").toString(), u"Точка 1"_qs);
    QVERIFY(w.js(QString::fromLatin1(kLive) + "[0].getIcon()").toString().endsWith(QLatin1String("//media/dot_blue.png")));
    QCOMPARE(w.js("__gm.polylines[0].getPath().getLength()").toInt(), 5);
    QVERIFY(w.js("__gm.log[__gm.log.length-1]").toString().startsWith(QLatin1String("fitBounds")));
    QVERIFY(QFileInfo::exists(w.trackPath("m.trs.jpg"))); // after the map reported itself loaded

    // hovering over point 0 counts from 1
    w.js(QString::fromLatin1(kLive) + "[0].trigger('mouseover')");
    QTRY_VERIFY(w.status().startsWith(u" Точка №1 Ш.53,9 "_qs));
    // a click: that marker red, the others blue, the status line as it was
    const QString before = w.status();
    w.js(QString::fromLatin1(kLive) + "[2].trigger('click')");
    QTRY_COMPARE(w.chart()->markerSize(ChartPane::tok, 2), 10);
    QTRY_VERIFY(w.js(QString::fromLatin1(kLive) + "[2].getIcon()").toString().endsWith(QLatin1String("dot_red.png")));
    const QString icon1 = w.js(QString::fromLatin1(kLive) + "[1].getIcon()").toString();
    QVERIFY2(icon1.endsWith(QLatin1String("dot_blue.png")),
             qPrintable(w.js(QString::fromLatin1(kLive) + ".map(function(m){return m.getTitle()+'='+m.getIcon().slice(-8);}).join(' ')").toString()));
    QCOMPARE(w.status(), before);
    // the pointer over the map: its position, cut to 6 decimals
    w.gmap->GMMap1MouseMove(53.12345678, 27.99999999);
    QCOMPARE(w.status(), u" Ш.53,123456 Д.27,999999"_qs);
}

void TestGmap::comparisonOnTheMap()
{
    GWindow w;
    writeTrack(w.trackPath("m.trs"), 4, 53.9);
    writeTrack(w.trackPath("c.trs"), 3, 53.91);
    writeTrack(w.trackPath("m2.trs"), 2, 53.92);
    w.choose(QStringLiteral("m.trs"));
    w.form->N7Click();
    w.choose(QStringLiteral("c.trs"));
    w.form->N8Click();
    QCOMPARE(w.js("__gm.polylines[1].getPath().getLength()").toInt(), 3);
    w.choose(QStringLiteral("m2.trs"));
    w.form->N7Click(); // a new main track leaves the compared one on the map
    QCOMPARE(w.js("__gm.polylines[1].getPath().getLength()").toInt(), 3);
    QCOMPARE(w.js("__gm.polylines[0].getPath().getLength()").toInt(), 2);
    auto *compare = w.form->findChild<QToolButton *>(QStringLiteral("SpeedButton7"));
    QVERIFY(compare->isEnabled());
    compare->setChecked(false);
    w.form->SpeedButton7Click();
    QCOMPARE(w.js("__gm.polylines[1].getVisible()").toBool(), false);
    QCOMPARE(w.js(QString::fromLatin1(kLive) + ".filter(function(m){return m.getTitle() && !m.getVisible();}).length").toInt(), 3);
    QVERIFY(!w.chart()->isSeriesVisible(ChartPane::tok_sr));
    compare->setChecked(true);
    w.form->SpeedButton7Click();
    QCOMPARE(w.js("__gm.polylines[1].getVisible()").toBool(), true);
    QCOMPARE(w.js(QString::fromLatin1(kLive) + ".filter(function(m){return !m.getVisible();}).length").toInt(), 0);
    QVERIFY(w.chart()->isSeriesVisible(ChartPane::tok_sr));
}

void TestGmap::offlineChartClickChangesOnlyTheChart()
{
    GWindow w;
    writeTrack(w.trackPath("m.trs"), 4, 53.9);
    writeTrack(w.trackPath("c.trs"), 4, 53.91);
    w.choose(QStringLiteral("m.trs"));
    w.form->N7Click();
    w.choose(QStringLiteral("c.trs"));
    w.form->N8Click();
    overrideConnection(false);
    QTRY_VERIFY(!w.gmap->IsOnline());
    QVERIFY(w.form->findChild<QWidget *>(QStringLiteral("Panel6"))->isVisible());
    const QString before = w.status();
    w.form->Chart1ClickSeries(ChartPane::glubina_sr, 1);
    QCOMPARE(w.chart()->markerSize(ChartPane::tok_sr, 1), 10);
    QCOMPARE(w.status(), before);
}

void TestGmap::boundedWaitForTheMap()
{
    GWindow w;
    // a map that never reports its tiles: the wait ends, and no preview is written
    w.gmap->MapPageLoaded = false;
    w.js("__gm.map.trigger = function () {}");
    QTest::qWait(300); // what was on its way has arrived
    QElapsedTimer t;
    t.start();
    const QString preview = w.dir.filePath(QStringLiteral("x.trs.jpg"));
    QVERIFY(!w.gmap->afterLoad(preview, 400));
    QVERIFY(t.elapsed() < 3000);
    QVERIFY(!QFileInfo::exists(preview));
}

void TestGmap::apiKeyFromTheSettings()
{
    GWindow w("[Main]\r\nGMapKey=SECRET-123\r\n");
    QVERIFY(g_standIn->lastGoogleUrl.query().contains(QLatin1String("key=SECRET-123")));
    QVERIFY(!w.status().contains(QLatin1String("SECRET")));
    QVERIFY(w.dialogs.messages.join(QString()).indexOf(QLatin1String("SECRET")) < 0);
    QVERIFY(w.form->close());
    QFile ini(w.dir.filePath(QStringLiteral("Travik.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("GMapKey=SECRET-123\r\n")); // the user's key stays in the file
}

int main(int argc, char **argv)
{
    MapStandIn::registerScheme();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TravikApplication app(argc, argv);
    MapStandIn standIn(QStringLiteral(TRAVIK_FIXTURES "/ymaps-standin.js"), QStringLiteral(TRAVIK_FIXTURES "/gmaps-standin.js"));
    g_standIn = &standIn;
    auto hid = loadSimulator();
    g_hid = hid.get();
    TestGmap test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_gmap.moc"
