#include "ChartPane.h"
#include "Cp1251.h"
#include "HidLibrary.h"
#include "TestSimulator.h"
#include "LineChart.h"
#include "NumberFormat.h"
#include "ProgramFolder.h"
#include "RecordingMapPane.h"
#include "ScriptedDialogs.h"
#include "TForm2.h"
#include "TForm3.h"
#include "THIDtestForm.h"
#include "TrackFile.h"
#include "TrackFolders.h"
#include "TrackLoader.h"
#include "TravikApplication.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QPrinter>
#include <QtTest>

#include <memory>

namespace {

HidLibrary *g_hid = nullptr;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray track(int dots, int frSel = 2, const QByteArray &info = "Info=\r\n")
{
    QByteArray t = "[Main]\r\nDots_Count=" + QByteArray::number(dots) + "\r\n" + info;
    for (int i = 0; i < dots; ++i)
        t += "[Dot_" + QByteArray::number(i) + "]\r\nLat=53," + QByteArray::number(900 + i) + "\r\nLng=27,5" +
             QByteArray::number(i) + "\r\nGlub=1," + QByteArray::number(i) + "\r\nTok=" + QByteArray::number(100 + i) +
             "\r\nfr_sel_flag=" + QByteArray::number(frSel) + "\r\n";
    return t;
}

// The main window on a fresh program folder, with a recording map.
struct Window {
    Window()
    {
        setProgramFolder(dir.path());
        form = std::make_unique<THIDtestForm>(BuildFlavour::travik(), *g_hid);
        chooser = new TForm2(form.get());
        about = new TForm3(QStringLiteral("v"), form.get());
        form->setDialogs(chooser, about);
        form->setMapPane(&map);
        form->show();
        QTRY_VERIFY(form->activationCount() == 1);
    }
    ~Window()
    {
        form->setMapPane(nullptr);
        setProgramFolder(QString());
    }
    QString trackPath(const char *name) const { return dir.filePath(QStringLiteral("Traces/SER0000001/") + name); }
    // Answers the next chooser with the file `name` (none: cancel).
    void choose(const QString &name)
    {
        QTimer::singleShot(0, chooser, [this, name] {
            auto *check = chooser->findChild<QCheckBox *>(QStringLiteral("CheckBox1"));
            if (!check->isChecked()) {
                check->setChecked(true);
                chooser->CheckBox1Click();
            }
            if (name.isEmpty()) {
                chooser->Button2Click();
                return;
            }
            auto *files = chooser->findChild<QListWidget *>(QStringLiteral("FileListBox1"));
            const auto found = files->findItems(name, Qt::MatchExactly);
            if (!found.isEmpty())
                files->setCurrentItem(found.first());
            chooser->Button1Click();
        });
    }
    QToolButton *button(const char *n) const { return form->findChild<QToolButton *>(QString::fromLatin1(n)); }
    QAction *action(const char *n) const { return form->findChild<QAction *>(QString::fromLatin1(n)); }
    QString label(const char *n) const { return form->findChild<QLabel *>(QString::fromLatin1(n))->text(); }
    LineChart *chart() const { return form->findChild<LineChart *>(QStringLiteral("Chart1")); }
    QStringList callsStarting(const char *prefix) const
    {
        QStringList out;
        for (const QString &c : map.calls)
            if (c.startsWith(QLatin1String(prefix)))
                out << c;
        return out;
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    RecordingMapPane map;
    std::unique_ptr<THIDtestForm> form;
    TForm2 *chooser;
    TForm3 *about;
};

} // namespace

class TestTracks : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        numfmt::setDecimalSeparator(',');
        MainTrackPath.clear();
    }

    void dateMasks_data();
    void dateMasks();
    void chooserLists();
    void chooserWithoutFolders();

    void emptyTrack();
    void loadMain();
    void frequencyAndDescriptionCaptions();
    void comparedLoad();
    void previewKeptWhenItExists();
    void compareButtonAndDescription();
    void printoutOfALoadedTrack();
};

void TestTracks::dateMasks_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("mask");
    QTest::newRow("9 January 2020") << QDate(2020, 1, 9) << "09_01_20*.trs";
    QTest::newRow("year 2000") << QDate(2000, 12, 31) << "31_12_00*.trs";
    QTest::newRow("5 March 2015") << QDate(2015, 3, 5) << "05_03_15*.trs";
}

void TestTracks::dateMasks()
{
    QFETCH(QDate, date);
    QFETCH(QString, mask);
    QCOMPARE(BuildDateMask(date), mask);
}

void TestTracks::chooserLists()
{
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    writeFile(dir.filePath("Traces/B000000002/Psevdo.ini"), cp1251::encode(u"[Main]\r\nName=Север\r\n"));
    writeFile(dir.filePath("Traces/A000000001/Psevdo.ini"), cp1251::encode(u"[Main]\r\nName=Север\r\n"));
    writeFile(dir.filePath("Traces/C000000003/01_01_24_10_00_00.trs"), track(3));
    writeFile(dir.filePath("Traces/A000000001/05_03_15_12_00_00.trs"), track(3, 2, cp1251::encode(u"Info=Кабель\r\n")));
    writeFile(dir.filePath("Traces/A000000001/06_03_15_12_00_00.trs"), track(3));
    writeFile(dir.filePath("Traces/B000000002/05_03_15_09_00_00.trs"), track(3));
    TForm2 chooser;
    QCOMPARE(chooser.windowTitle(), u"Загрузка файла"_qs);
    QCOMPARE(chooser.size(), QSize(787, 530));
    auto *combo = chooser.findChild<QComboBox *>("ComboBox1");
    auto *files = chooser.findChild<QListWidget *>("FileListBox1");
    auto *date = chooser.findChild<QDateEdit *>("DateTimePicker1");
    QCOMPARE(date->date(), QDate::currentDate());
    date->setDate(QDate(2015, 3, 5));
    chooser.show();
    // sorted by alias, then folder; "Null" for a folder without Psevdo.ini
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(0), QStringLiteral("Null"));
    QCOMPARE(combo->itemText(1), u"Север"_qs);
    QCOMPARE(combo->itemText(2), u"Север"_qs);
    QCOMPARE(files->count(), 0); // C000000003 has nothing of 5 March 2015
    combo->setCurrentIndex(1);   // the same alias twice: each its own folder
    QCOMPARE(files->count(), 1);
    QCOMPARE(files->item(0)->text(), QStringLiteral("05_03_15_12_00_00.trs"));
    combo->setCurrentIndex(2);
    QCOMPARE(files->item(0)->text(), QStringLiteral("05_03_15_09_00_00.trs"));
    combo->setCurrentIndex(1);
    // the description and the preview (none yet: the no-preview picture)
    files->setCurrentRow(0);
    QCOMPARE(chooser.findChild<QLabel *>("Label1")->text(), u"Кабель"_qs);
    QVERIFY(!chooser.findChild<QLabel *>("Image1")->pixmap().isNull());
    // all files
    chooser.findChild<QCheckBox *>("CheckBox1")->setChecked(true);
    chooser.CheckBox1Click();
    QVERIFY(!date->isEnabled());
    QCOMPARE(files->count(), 2);
    // typed text that names no instrument: no files, no out-of-range folder
    combo->setEditText(QStringLiteral("nobody"));
    chooser.ComboBox1Change();
    QCOMPARE(files->count(), 0);
    chooser.Button1Click(); // nothing selected
    QCOMPARE(chooser.ChosenPath, QString());
    // closing through the frame acts like "Отмена"
    chooser.ChosenPath = QStringLiteral("/earlier.trs");
    chooser.show();
    chooser.close();
    QCOMPARE(chooser.ChosenPath, QString());
    QVERIFY(dialogs.messages.isEmpty());
    setProgramFolder(QString());
}

void TestTracks::chooserWithoutFolders()
{
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    TForm2 chooser;
    chooser.ChosenPath = QStringLiteral("/earlier.trs");
    QTimer::singleShot(2000, &chooser, [&] { chooser.close(); }); // bounded, should it not close itself
    QCOMPARE(chooser.choose(), QString());
    QCOMPARE(dialogs.messages, QStringList{u"Нет сохранённых трасс !!!"_qs});
    setProgramFolder(QString());
}

void TestTracks::emptyTrack()
{
    Window w;
    writeFile(w.trackPath("01_01_24_00_00_00.trs"), track(1));
    w.choose(QStringLiteral("01_01_24_00_00_00.trs"));
    w.form->N7Click();
    QCOMPARE(w.dialogs.messages, QStringList{u"Файл трассы пустой!!!"_qs});
    QCOMPARE(w.chart()->count(ChartPane::tok), 0);
    QVERIFY(w.callsStarting("ya_add_point").isEmpty());
    QCOMPARE(MainTrackPath, w.trackPath("01_01_24_00_00_00.trs")); // set also for an empty file
    QVERIFY(w.action("N8")->isEnabled());
}

void TestTracks::loadMain()
{
    Window w;
    writeFile(w.trackPath("02_01_24_00_00_00.trs"), track(4));
    w.choose(QStringLiteral("02_01_24_00_00_00.trs"));
    w.form->N7Click();
    const QString d = programFolder() + QStringLiteral("/media/");
    QCOMPARE(w.map.calls, (QStringList{
                              QStringLiteral("ya_clear1()"),
                              "ya_setic(\"" + d + "dot_blue.png\",\"" + d + "dot_green.png\",\"" + d + "dot_red.png\")",
                              "ya_clear()",
                              "ya_add_point(0,\"0\",53.9,27.5)",
                              "ya_add_point(1,\"1\",53.901,27.51)",
                              "ya_add_point(2,\"2\",53.902,27.52)",
                              "ya_mark(\"undefined\",0,0)",
                              "ya_pan()",
                              "SaveMapPicture(" + w.trackPath("02_01_24_00_00_00.trs") + ".jpg)",
                          }));
    QCOMPARE(w.chart()->count(ChartPane::glubina), 3);
    QCOMPARE(w.chart()->value(ChartPane::glubina, 2), 1.2);
    QCOMPARE(MainTrack[2].Tok, 102.0);
    QCOMPARE(w.chart()->page(), 1);
    QVERIFY(!w.form->findChild<QWidget *>("Gauge1")->isVisibleTo(w.form.get()));
}

void TestTracks::frequencyAndDescriptionCaptions()
{
    Window w;
    writeFile(w.trackPath("a.trs"), track(3, 3, "Info=\r\n"));
    writeFile(w.trackPath("b.trs"), track(3, 7, ""));
    w.choose(QStringLiteral("a.trs"));
    w.form->N7Click();
    QCOMPARE(w.label("Label2"), u"33 кГц"_qs);
    QCOMPARE(w.action("N2")->text(), QString()); // empty Info, straight from synchronisation
    w.choose(QStringLiteral("b.trs"));
    w.form->N7Click();
    QCOMPARE(w.label("Label2"), u"33 кГц"_qs); // 7 has no caption: the old one stays
    QCOMPARE(w.action("N2")->text(), u"Описание файла"_qs);
}

void TestTracks::comparedLoad()
{
    MainTrack[0] = TrackPoint{}; // as at program start: earlier tests loaded main tracks
    Window w;
    writeFile(w.trackPath("main.trs"), track(1)); // an empty main track first
    writeFile(w.trackPath("cmp.trs"), track(5, 4));
    w.choose(QStringLiteral("main.trs"));
    w.form->N7Click();
    w.action("N2")->setText(QStringLiteral("kept"));
    w.map.calls.clear();
    w.button("SpeedButton4")->setChecked(false); // Е-поле up
    w.form->SpeedButton4Click();
    w.choose(QStringLiteral("cmp.trs"));
    w.form->N8Click();
    QCOMPARE(w.label("Label2"), u"0,5 кГц"_qs); // from the all-zero main store
    QCOMPARE(w.action("N2")->text(), QStringLiteral("kept"));
    QCOMPARE(w.chart()->count(ChartPane::tok_sr), 4);
    QCOMPARE(w.callsStarting("ya_add_point1").size(), 4);
    QCOMPARE(w.callsStarting("ya_add_point1").first(), QStringLiteral("ya_add_point1(0,\"1-0\",53.9,27.5)"));
    QCOMPARE(w.map.calls.last(), QStringLiteral("ya_pan()")); // fitted to the main track
    QVERIFY(w.callsStarting("SaveMapPicture").isEmpty());
    QVERIFY(!QFileInfo::exists(w.trackPath("cmp.trs.jpg")));
    QVERIFY(w.button("SpeedButton7")->isEnabled());
    QVERIFY(w.chart()->isSeriesVisible(ChartPane::tok_sr));
    QVERIFY(!w.chart()->isSeriesVisible(ChartPane::epole_sr));
    // a cancelled chooser changes nothing
    w.map.calls.clear();
    w.choose(QString());
    w.form->N8Click();
    QVERIFY(w.map.calls.isEmpty());
    QVERIFY(w.button("SpeedButton7")->isEnabled());
    // a new main track hides the comparison
    writeFile(w.trackPath("m2.trs"), track(3));
    w.choose(QStringLiteral("m2.trs"));
    w.form->N7Click();
    QVERIFY(!w.button("SpeedButton7")->isEnabled());
    QVERIFY(!w.chart()->isSeriesVisible(ChartPane::tok_sr));
    QCOMPARE(w.chart()->count(ChartPane::tok_sr), 4); // the points stay
}

void TestTracks::previewKeptWhenItExists()
{
    Window w;
    writeFile(w.trackPath("p.trs"), track(3));
    writeFile(w.trackPath("p.trs.jpg"), "old");
    w.choose(QStringLiteral("p.trs"));
    QElapsedTimer t;
    t.start();
    w.form->N7Click();
    QVERIFY(w.callsStarting("SaveMapPicture").isEmpty());
    QFile f(w.trackPath("p.trs.jpg"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("old"));
    QVERIFY(t.elapsed() < 450); // no 501 waits
}

void TestTracks::compareButtonAndDescription()
{
    Window w;
    w.form->N2Click(); // no main track yet: nothing, no box
    QVERIFY(w.dialogs.prompts.isEmpty());
    writeFile(w.trackPath("m.trs"), track(3, 2, ""));
    writeFile(w.trackPath("c.trs"), track(3));
    w.choose(QStringLiteral("m.trs"));
    w.form->N7Click();
    w.choose(QStringLiteral("c.trs"));
    w.form->N8Click();
    w.map.calls.clear();
    w.button("SpeedButton7")->setChecked(false);
    w.form->SpeedButton7Click();
    w.button("SpeedButton7")->setChecked(true);
    w.form->SpeedButton7Click();
    QCOMPARE(w.map.calls, (QStringList{"ya_pan1()", "ya_pan()"}));

    // cancel writes the prefilled caption ("Описание файла" for a file without Info)
    w.form->N2Click();
    QCOMPARE(w.dialogs.prompts, QStringList{u"Введите описание файла трассы:"_qs});
    QCOMPARE(readTrackDescription(w.trackPath("m.trs")), u"Описание файла"_qs);
    TrackFileReader r(w.trackPath("m.trs"));
    QCOMPARE(r.dotsCount(), 3); // nothing else changed
    // an empty answer writes nothing
    w.dialogs.answers << QString();
    w.form->N2Click();
    QCOMPARE(w.action("N2")->text(), u"Описание файла"_qs);
    w.dialogs.answers << u"Газопровод, участок 3"_qs;
    w.form->N2Click();
    QCOMPARE(w.action("N2")->text(), u"Газопровод, участок 3"_qs);
    QCOMPARE(readTrackDescription(w.trackPath("m.trs")), u"Газопровод, участок 3"_qs);
}

void TestTracks::printoutOfALoadedTrack()
{
    Window w;
    writeFile(w.trackPath("p.trs"), track(30));
    w.choose(QStringLiteral("p.trs"));
    w.form->N7Click();
    w.dialogs.answers << u"Кабель 10 кВ, участок 3"_qs;
    w.form->N2Click();
    w.map.online = false; // the offline panel's picture stands for the map
    w.form->Chart1ClickSeries(ChartPane::glubina, 4);
    struct State {
        bool map, chart;
        const char *name;
    };
    for (const State &st : {State{true, true, "both"}, State{true, false, "map"}, State{false, true, "chart"}}) {
        w.button("SpeedButton1")->setChecked(true);
        w.form->SpeedButton1Click();
        w.button("SpeedButton2")->setChecked(st.chart);
        w.form->SpeedButton2Click();
        w.button("SpeedButton1")->setChecked(st.map);
        w.form->SpeedButton1Click();
        QTest::qWait(30); // the panes take their new widths, as between two clicks
        if (st.map && !st.chart)
            QVERIFY(!w.chart()->isVisible());
        else
            QVERIFY(w.chart()->width() > 400);
        const QString pdf = w.dir.filePath(QStringLiteral("print-%1.pdf").arg(QLatin1String(st.name)));
        w.dialogs.print = [pdf](QPrinter &p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            return true;
        };
        w.form->N9Click();
        QVERIFY2(QFileInfo(pdf).size() > 1000, qPrintable(w.dialogs.messages.join(QLatin1Char('|'))));
        QVERIFY(QDir(w.dir.path()).entryList({QStringLiteral("*.bmp"), QStringLiteral("?.jpg")}, QDir::Files).isEmpty());
        if (!qEnvironmentVariableIsEmpty("TRAVIK_RENDER_DIR"))
            QFile::copy(pdf, qEnvironmentVariable("TRAVIK_RENDER_DIR") + QStringLiteral("/window-print-%1.pdf").arg(QLatin1String(st.name)));
    }
}

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TravikApplication app(argc, argv);
    auto hid = loadSimulator();
    g_hid = hid.get();
    TestTracks test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_tracks.moc"
