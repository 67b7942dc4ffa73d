#include "MapPane.h"
#include "PageSetup.h"
#include "PrintGeometry.h"
#include "Printing.h"
#include "ProgramFolder.h"
#include "RecordingMapPane.h"
#include "ScriptedDialogs.h"
#include "StandardMessages.h"
#include "TrackFile.h"
#include "TravikApplication.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A chart picture and a map picture that are easy to tell apart on the page.
QImage picture(QSize size, QColor color)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(color);
    return img;
}

struct PrintRig {
    PrintRig()
    {
        setProgramFolder(dir.path());
        Printing::Sources s;
        s.chartPicture = [this] { return chart; };
        s.map = [this]() -> MapPane & { return map; };
        s.offlinePicture = [this] { return offline; };
        s.panes = [this] { return panes; };
        s.pageSetup = &pageSetup;
        printing = std::make_unique<Printing>(s);
        map.online = false;
    }
    ~PrintRig() { setProgramFolder(QString()); }

    QString pdf(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    // The print dialog answered: PDF to `file`, `copies` copies, portrait chosen.
    void answer(const QString &file, int copies = 1)
    {
        dialogs.print = [file, copies](QPrinter &p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(file);
            p.setCopyCount(copies);
            p.setPageOrientation(QPageLayout::Portrait);
            return true;
        };
    }
    QStringList scratch() const
    {
        return QDir(dir.path()).entryList({QStringLiteral("*.bmp"), QStringLiteral("*.jpg")}, QDir::Files);
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    RecordingMapPane map;
    PageSetup pageSetup;
    QImage chart = picture(QSize(900, 600), QColor(0, 0, 200));
    QImage offline = picture(QSize(500, 600), QColor(0, 160, 0));
    PrintGeometry::Panes panes = PrintGeometry::Panes::MapAndChart;
    std::unique_ptr<Printing> printing;
};

QString pdfInfo(const QString &file, const char *key)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {file});
    p.waitForFinished(30000);
    for (const QByteArray &line : p.readAllStandardOutput().split('\n'))
        if (line.startsWith(key))
            return QString::fromUtf8(line.mid(int(strlen(key)))).trimmed();
    return {};
}

QImage firstPage(const QString &pdf)
{
    const QString out = pdf + QStringLiteral(".page");
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, out});
    p.waitForFinished(60000);
    return QImage(out + QStringLiteral(".png"));
}

int countColour(const QImage &img, QRect area, bool (*match)(QRgb))
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += match(img.pixel(x, y)) ? 1 : 0;
    return n;
}

bool isBlue(QRgb c) { return qBlue(c) > 150 && qRed(c) < 80 && qGreen(c) < 80; }
bool isGreen(QRgb c) { return qGreen(c) > 120 && qRed(c) < 80 && qBlue(c) < 80; }
bool isDark(QRgb c) { return qGray(c) < 160; }

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void printsOneLandscapePage_data();
    void printsOneLandscapePage();
    void copies();
    void cancelledWritesNothing();
    void failedPrintLeavesNoScratch();
    void bottomMarginDoesNotMatter();
};

void TestPrint::geometry_data()
{
    QTest::addColumn<int>("panes");
    QTest::addColumn<QRect>("map");
    QTest::addColumn<QRect>("chart");
    // 600 dpi, margins 1000, title 67 px high, page 6600 px wide, pictures 900 × 600
    QTest::newRow("map and chart") << int(PrintGeometry::Panes::MapAndChart) << QRect(QPoint(240, 441), QPoint(3299, 2199))
                                   << QRect(QPoint(3300, 441), QPoint(6359, 2199));
    QTest::newRow("map only") << int(PrintGeometry::Panes::MapOnly) << QRect(QPoint(240, 441), QPoint(6359, 4239)) << QRect();
    QTest::newRow("chart only") << int(PrintGeometry::Panes::ChartOnly) << QRect() << QRect(QPoint(240, 441), QPoint(6359, 4239));
}

void TestPrint::geometry()
{
    QFETCH(int, panes);
    QFETCH(QRect, map);
    QFETCH(QRect, chart);
    PrintGeometry::Input in;
    in.pageWidth = 6600;
    in.titleHeight = 67;
    in.panes = PrintGeometry::Panes(panes);
    in.mapPicture = in.chartPicture = QSize(900, 600);
    const PrintGeometry g = PrintGeometry::compute(in);
    QCOMPARE(g.px, 24);
    QCOMPARE(g.py, 24);
    QCOMPARE(g.L, 240);
    QCOMPARE(g.T, 240);
    QCOMPARE(g.Y, 441);
    QCOMPARE(g.map, map);
    QCOMPARE(g.chart, chart);
    QCOMPARE(PrintGeometry::round(2.5), 2); // halves to even
    QCOMPARE(PrintGeometry::round(3.5), 4);
}

void TestPrint::printsOneLandscapePage_data()
{
    QTest::addColumn<int>("panes");
    QTest::newRow("map and chart") << int(PrintGeometry::Panes::MapAndChart);
    QTest::newRow("map only") << int(PrintGeometry::Panes::MapOnly);
    QTest::newRow("chart only") << int(PrintGeometry::Panes::ChartOnly);
}

void TestPrint::printsOneLandscapePage()
{
    QFETCH(int, panes);
    PrintRig rig;
    rig.panes = PrintGeometry::Panes(panes);
    const QString track = rig.dir.filePath(QStringLiteral("t.trs"));
    QVERIFY(writeTrackDescription(track, u"Кабель 10 кВ, участок 3"_qs));
    MainTrackPath = track;
    const QString out = rig.pdf("out.pdf");
    rig.answer(out);
    rig.printing->N9Click();
    MainTrackPath.clear();
    QCOMPARE(pdfInfo(out, "Pages:"), QStringLiteral("1"));
    const QString size = pdfInfo(out, "Page size:"); // "842 x 595 pts (A4)": landscape
    const QStringList wh = size.split(QLatin1Char(' '));
    QVERIFY2(wh.size() > 2 && wh[0].toDouble() > wh[2].toDouble(), qPrintable(size));
    QVERIFY(rig.scratch().isEmpty());
    const QImage page = firstPage(out);
    QVERIFY(!page.isNull());
    const int w = page.width(), h = page.height();
    // the title at the top, centred
    if (!qEnvironmentVariableIsEmpty("TRAVIK_RENDER_DIR"))
        page.save(qEnvironmentVariable("TRAVIK_RENDER_DIR") + QStringLiteral("/print-%1.png").arg(panes));
    QVERIFY(countColour(page, QRect(w / 3, 0, w / 3, h / 12), isDark) > 5);
    QCOMPARE(countColour(page, QRect(0, 0, w / 5, h / 12), isDark), 0);
    const int greenLeft = countColour(page, QRect(0, h / 6, w / 2 - 3, h / 3), isGreen);
    const int blueLeft = countColour(page, QRect(0, h / 6, w / 2 - 3, h / 3), isBlue);
    const int greenRight = countColour(page, QRect(w / 2 + 3, h / 6, w / 2 - 4, h / 3), isGreen);
    const int blueRight = countColour(page, QRect(w / 2 + 3, h / 6, w / 2 - 4, h / 3), isBlue);
    if (rig.panes == PrintGeometry::Panes::MapAndChart) {
        QVERIFY(greenLeft > 0 && blueRight > 0);
        QCOMPARE(blueLeft, 0);
        QCOMPARE(greenRight, 0);
    } else if (rig.panes == PrintGeometry::Panes::MapOnly) {
        QVERIFY(greenLeft > 0 && greenRight > 0);
        QCOMPARE(blueLeft + blueRight, 0);
    } else {
        QVERIFY(blueLeft > 0 && blueRight > 0);
        QCOMPARE(greenLeft + greenRight, 0);
    }
    if (!qEnvironmentVariableIsEmpty("TRAVIK_RENDER_DIR"))
        page.save(qEnvironmentVariable("TRAVIK_RENDER_DIR") + QStringLiteral("/print-%1.png").arg(panes));
}

void TestPrint::copies()
{
    PrintRig rig;
    const QString out = rig.pdf("three.pdf");
    rig.answer(out, 3);
    rig.printing->N9Click();
    QCOMPARE(pdfInfo(out, "Pages:"), QStringLiteral("3"));
}

void TestPrint::cancelledWritesNothing()
{
    PrintRig rig;
    rig.printing->N9Click(); // no answer: cancelled
    QVERIFY(QDir(rig.dir.path()).entryList(QDir::Files).isEmpty());
}

void TestPrint::failedPrintLeavesNoScratch()
{
    PrintRig rig;
    rig.offline = QImage(); // nothing in the offline panel: no map picture
    const QString out = rig.pdf("none.pdf");
    rig.answer(out);
    try {
        rig.printing->N9Click();
        QFAIL("no error");
    } catch (const TravikError &e) {
        QVERIFY2(e.message().startsWith(QLatin1String("Cannot open file")), qPrintable(e.message()));
    }
    QVERIFY(rig.scratch().isEmpty()); // 1.bmp did not stay behind
    QVERIFY(!QFileInfo::exists(out)); // no document was begun
}

void TestPrint::bottomMarginDoesNotMatter()
{
    PrintRig rig;
    rig.answer(rig.pdf("a.pdf"));
    rig.printing->N9Click();
    rig.pageSetup.marginBottom = 5000;
    rig.answer(rig.pdf("b.pdf"));
    rig.printing->N9Click();
    QCOMPARE(firstPage(rig.pdf("a.pdf")), firstPage(rig.pdf("b.pdf")));
    // the page setup dialog: margins in and out in hundredths of a millimetre
    double shownBottom = -1;
    rig.dialogs.pageSetup = [&shownBottom](QPrinter &p) -> bool {
        shownBottom = p.pageLayout().margins(QPageLayout::Millimeter).bottom();
        p.setPageMargins(QMarginsF(15, 12, 10, 7), QPageLayout::Millimeter);
        return true;
    };
    rig.printing->N17Click();
    QCOMPARE(shownBottom, 50.0);
    QCOMPARE(rig.pageSetup.marginLeft, 1500);
    QCOMPARE(rig.pageSetup.marginTop, 1200);
    QCOMPARE(rig.pageSetup.marginRight, 1000);
    QCOMPARE(rig.pageSetup.marginBottom, 700);
    QCOMPARE(rig.printing->printer().pageLayout().orientation(), QPageLayout::Landscape);
}

int main(int argc, char **argv)
{
    TravikApplication app(argc, argv);
    TestPrint test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_print.moc"
