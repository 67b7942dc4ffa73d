#include "HidLibrary.h"
#include "TestSimulator.h"
#include "PageSetup.h"
#include "ProgramFolder.h"
#include "ScriptedDialogs.h"
#include "StandardMessages.h"
#include "TForm2.h"
#include "TForm3.h"
#include "THIDtestForm.h"
#include "TravikApplication.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

HidLibrary *g_hid = nullptr;

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A main window in a fresh program folder, shown and activated.
struct Program {
    explicit Program(const BuildFlavour &flavour, const QByteArray &settings = {}, bool settingsIsFolder = false)
    {
        setProgramFolder(dir.path());
        if (settingsIsFolder)
            QDir().mkpath(dir.filePath(QStringLiteral("Travik.ini")));
        else if (!settings.isNull()) {
            QFile f(dir.filePath(QStringLiteral("Travik.ini")));
            if (f.open(QIODevice::WriteOnly))
                f.write(settings);
        }
        form = std::make_unique<THIDtestForm>(flavour, *g_hid);
        chooser = new TForm2(form.get());
        about = new TForm3(flavour.versionText, form.get());
        form->setDialogs(chooser, about);
        form->show();
        QTRY_VERIFY(form->activationCount() == 1);
    }
    ~Program() { setProgramFolder(QString()); }

    template <class T>
    T *child(const char *name) const { return form->findChild<T *>(QString::fromLatin1(name)); }
    QString path(const char *relative) const { return dir.filePath(QString::fromUtf8(relative)); }

    QTemporaryDir dir;
    std::unique_ptr<THIDtestForm> form;
    TForm2 *chooser;
    TForm3 *about;
};

class Thrower : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw TravikError(QStringLiteral("Unable to write to /x/y"));
        return QObject::event(e);
    }
};

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void initialState_data();
    void initialState();
    void layoutFacts();
    void firstStartWritesDefaults();
    void junkSettingsGiveDefaultsAndOtherKeysStay();
    void unwritableSettingsKeepWindowOpen();
    void tempFolderWithOtherFilesStays();
    void activationRunsOnce();
    void gmapDifferences();
    void aboutBoxClicks();
    void aboutBoxLinksAndManual();
    void errorDisplayShowsAndGoesOn();
};

void TestShell::initialState_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("visible");
    auto row = [](const char *n, const QString &c, bool e, bool ch, bool v) {
        QTest::newRow(n) << QString::fromLatin1(n) << c << e << ch << v;
    };
    row("N1", u"Загрузить"_qs, true, false, true);
    row("N6", u"Синхронизация"_qs, false, false, true);
    row("N7", u"Из файла..."_qs, true, false, true);
    row("N8", u"Файл для сравнения..."_qs, false, false, true);
    row("N3", u"Печать"_qs, true, false, true);
    row("N9", u"Печать"_qs, true, false, true);
    row("N10", u"Настройка принтера"_qs, true, false, true);
    row("N17", u"Настройка страницы"_qs, true, false, true);
    row("N4", u"Настройка"_qs, true, false, true);
    row("N13", u"Интерполяция"_qs, true, false, true);
    row("N14", u"Курсор на графике"_qs, true, true, true);
    row("N16", u"Информация о приборе"_qs, false, false, true);
    row("N5", u"Помощь"_qs, true, false, true);
    row("N11", u"Описание"_qs, true, false, true);
    row("N12", u"О программе"_qs, true, false, true);
    row("N2", u"Описание файла"_qs, true, false, true);
    row("SpeedButton1", u"Карта"_qs, true, true, true);
    row("SpeedButton2", u"График"_qs, true, true, true);
    row("SpeedButton3", u"Н-поле"_qs, true, true, true);
    row("SpeedButton4", u"Е-поле"_qs, true, true, true);
    row("SpeedButton5", u"Ток"_qs, true, true, true);
    row("SpeedButton6", u"Глубина"_qs, true, true, true);
    row("SpeedButton7", u"Основная/Сравниваемая"_qs, false, true, true);
    row("ScanBut", QString(), true, false, false);
    row("Label1", QString(), true, false, true);
    row("Label2", QString(), true, false, true);
    row("Label3", u"Нет интернет соединения"_qs, true, false, false);
    row("Panel6", QString(), true, false, false);
    row("Splitter1", QString(), true, false, false);
    row("Gauge1", QString(), true, false, false);
    row("temp_img", QString(), true, false, false);
    row("WebBrowser1", QString(), true, false, true);
    row("Chart1", QString(), true, false, true);
}

void TestShell::initialState()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(bool, checked);
    QFETCH(bool, visible);
    // the state before any settings are applied: no settings file
    Program p(BuildFlavour::travik());
    if (auto *a = p.form->findChild<QAction *>(name)) {
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->isEnabled(), enabled);
        QCOMPARE(a->isChecked(), checked);
        QCOMPARE(a->isVisible(), visible);
        return;
    }
    auto *w = p.form->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    if (auto *b = qobject_cast<QToolButton *>(w)) {
        QCOMPARE(b->text(), caption);
        QCOMPARE(b->isChecked(), checked);
        QVERIFY(b->isCheckable());
    } else if (auto *l = qobject_cast<QLabel *>(w)) {
        QCOMPARE(l->text(), caption);
    }
    QCOMPARE(w->isEnabled(), enabled);
    QCOMPARE(w->isVisibleTo(p.form.get()), visible);
}

void TestShell::layoutFacts()
{
    Program p(BuildFlavour::travik());
    QCOMPARE(p.form->windowTitle(), QStringLiteral("Travik"));
    QCOMPARE(p.child<QWidget>("Panel1")->height(), 22);
    QCOMPARE(p.child<QWidget>("Panel2")->height(), 41);
    QCOMPARE(p.child<QWidget>("Panel5")->width(), 422);
    QCOMPARE(p.child<QWidget>("usb_dev")->size(), QSize(20, 20));
    QCOMPARE(p.child<QWidget>("SpeedButton1")->size(), QSize(54, 32));
    QCOMPARE(p.child<QWidget>("SpeedButton3")->size(), QSize(55, 32));
    QCOMPARE(p.child<QLabel>("Label1")->font().pixelSize(), 15);
    QCOMPARE(p.child<QLabel>("Label2")->font().pixelSize(), 21);
    QVERIFY(p.child<QLabel>("Label2")->font().bold());
    QCOMPARE(p.child<QToolButton>("SpeedButton5")->palette().color(QPalette::ButtonText), QColor(0, 0, 255));
    QCOMPARE(p.child<QToolButton>("SpeedButton4")->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
    QCOMPARE(p.child<QToolButton>("SpeedButton3")->palette().color(QPalette::ButtonText), QColor(0, 128, 0));
    QCOMPARE(p.child<QTimer>("Timer1")->interval(), 10);
    QVERIFY(p.child<QTimer>("Timer1")->isActive());
    QVERIFY(p.child<QTimer>("Yandex_tmr")->isActive());
    QVERIFY(p.child<PageSetup>("P_S"));
    QVERIFY(QFileInfo(p.path("Traces")).isDir());
    QVERIFY(QFileInfo(p.path("temp")).isDir());
}

void TestShell::firstStartWritesDefaults()
{
    Program p(BuildFlavour::travik());
    QVERIFY(!p.child<QAction>("N13")->isChecked());
    QVERIFY(p.child<QAction>("N14")->isChecked());
    const PageSetup *ps = p.child<PageSetup>("P_S");
    QCOMPARE(ps->marginLeft + ps->marginTop + ps->marginRight + ps->marginBottom, 4000);
    QVERIFY(p.form->close());
    QCOMPARE(readAll(p.path("Travik.ini")),
             QByteArray("[Main]\r\nN13=0\r\nN14=1\r\nM_R=1000\r\nM_L=1000\r\nM_T=1000\r\nM_B=1000\r\n"));
    QVERIFY(!QFileInfo::exists(p.path("temp")));
}

void TestShell::junkSettingsGiveDefaultsAndOtherKeysStay()
{
    Program p(BuildFlavour::travik(),
              "[Main]\r\nN13=abc\r\nN14=0\r\nM_R=12x\r\nM_L=500\r\nM_T=-3\r\nMapKey=secret\r\n[Other]\r\nx=1\r\n");
    QVERIFY(!p.child<QAction>("N13")->isChecked()); // not a number: the default
    QVERIFY(!p.child<QAction>("N14")->isChecked());
    const PageSetup *ps = p.child<PageSetup>("P_S");
    QCOMPARE(ps->marginRight, 1000);
    QCOMPARE(ps->marginLeft, 500);
    QCOMPARE(ps->marginTop, -3);
    QCOMPARE(ps->marginBottom, 1000);
    p.child<QAction>("N13")->trigger();
    QVERIFY(p.form->close());
    QCOMPARE(readAll(p.path("Travik.ini")),
             QByteArray("[Main]\r\nN13=1\r\nN14=0\r\nM_R=1000\r\nM_L=500\r\nM_T=-3\r\nMapKey=secret\r\nM_B=1000\r\n"
                        "[Other]\r\nx=1\r\n"));
}

void TestShell::unwritableSettingsKeepWindowOpen()
{
    ScriptedDialogs dialogs;
    Program p(BuildFlavour::travik(), {}, true);
    QVERIFY(!p.form->close());
    QVERIFY(p.form->isVisible());
    QCOMPARE(dialogs.messages, QStringList{unableToWriteMessage(p.path("Travik.ini"))});
    QVERIFY(QFileInfo(p.path("temp")).isDir()); // the later closing steps were not taken
}

void TestShell::tempFolderWithOtherFilesStays()
{
    Program p(BuildFlavour::travik());
    QFile page(p.path("temp/yandex.html"));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    QFile other(p.path("temp/keep.txt"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();
    QVERIFY(p.form->close());
    QVERIFY(!QFileInfo::exists(p.path("temp/yandex.html")));
    QVERIFY(QFileInfo::exists(p.path("temp/keep.txt")));
}

void TestShell::activationRunsOnce()
{
    Program p(BuildFlavour::travik());
    p.child<QAction>("N13")->trigger();
    QTimer::singleShot(50, p.about, [&] { p.about->close(); });
    p.form->N12Click(); // modal About box and back
    p.form->hide();
    p.form->show();
    QTest::qWait(50);
    QCOMPARE(p.form->activationCount(), 1);
    QVERIFY(p.child<QAction>("N13")->isChecked()); // the settings were not read again
}

void TestShell::gmapDifferences()
{
    Program p(BuildFlavour::travikGmap());
    auto *compare = p.child<QToolButton>("SpeedButton7");
    QCOMPARE(compare->text(), u"Сравнение"_qs);
    QVERIFY(compare->width() < Program(BuildFlavour::travik()).child<QToolButton>("SpeedButton7")->width());
    setProgramFolder(p.dir.path());
    QVERIFY(!p.child<QTimer>("Yandex_tmr"));
    QVERIFY(!p.child<QLabel>("temp_img"));
    QVERIFY(p.child<QTimer>("Timer1")->isActive());
    QVERIFY(!QFileInfo::exists(p.path("temp")));
    QCOMPARE(p.about->findChild<QLabel *>(QStringLiteral("Label3"))->text(), u"Версия 1.00"_qs);
    QVERIFY(p.form->close());
    QVERIFY(QFileInfo::exists(p.path("Travik.ini")));
}

void TestShell::aboutBoxClicks()
{
    Program p(BuildFlavour::travik());
    TForm3 *about = p.about;
    auto *image1 = about->findChild<QLabel *>(QStringLiteral("Image1"));
    auto *image2 = about->findChild<QLabel *>(QStringLiteral("Image2"));
    QCOMPARE(about->windowTitle(), u"О программе"_qs);
    QCOMPARE(about->size(), QSize(627, 455));
    QCOMPARE(image1->pixmap().size(), QSize(300, 400));
    QCOMPARE(image2->pixmap().size(), QSize(386, 556));
    QCOMPARE(about->findChild<QLabel *>(QStringLiteral("Label3"))->text(), u"Версия 2.00"_qs);
    QCOMPARE(about->findChild<QPushButton *>(QStringLiteral("Button1"))->text(), u"ОК"_qs);

    // each way of closing resets the pictures and the counter
    const std::function<void()> closers[] = {
        [&] { QTest::mouseClick(about->findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton); },
        [&] { about->close(); }, // the close box
        [&] { QTest::keyClick(about, Qt::Key_Escape); },
    };
    for (const auto &closeIt : closers) {
        about->show();
        for (int i = 0; i < 14; ++i)
            QTest::mouseClick(image1, Qt::LeftButton);
        QVERIFY(image1->isVisible());
        QVERIFY(!image2->isVisible());
        closeIt();
        QVERIFY(!about->isVisible());
        about->show();
        QTest::mouseClick(image1, Qt::LeftButton);
        QVERIFY(image1->isVisible()); // 14 + 1 across a close: the counter restarted
        for (int i = 0; i < 14; ++i)
            QTest::mouseClick(image1, Qt::LeftButton);
        QVERIFY(!image1->isVisible());
        QVERIFY(image2->isVisible());
        QTest::mouseClick(image2, Qt::LeftButton); // the second picture does not react
        QCOMPARE(about->clickCount(), 15);
        closeIt();
        QCOMPARE(about->clickCount(), 0);
        QVERIFY(!image2->isVisibleTo(about));
        QVERIFY(image1->isVisibleTo(about));
    }
}

void TestShell::aboutBoxLinksAndManual()
{
    ScriptedDialogs dialogs;
    Program p(BuildFlavour::travik());
    p.about->show();
    QTest::mouseClick(p.about->findChild<QLabel *>(QStringLiteral("Label5")), Qt::LeftButton);
    QCOMPARE(dialogs.opened, QList<QUrl>{QUrl(QStringLiteral("mailto:") + TForm3::supportAddress())});
    p.about->close();

    // the manual is looked for beside the executable, whatever the current folder
    const QString old = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    p.child<QAction>("N11")->trigger();
    QDir::setCurrent(old);
    QCOMPARE(dialogs.opened.size(), 2);
    QCOMPARE(dialogs.opened[1], QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/Travik.pdf"));
    QVERIFY(QFileInfo(dialogs.opened[1].toLocalFile()).size() > 10000);
    QVERIFY(readAll(dialogs.opened[1].toLocalFile()).startsWith("%PDF"));
}

void TestShell::errorDisplayShowsAndGoesOn()
{
    ScriptedDialogs dialogs;
    Thrower t;
    QEvent e(QEvent::User);
    QCoreApplication::sendEvent(&t, &e);
    QCoreApplication::sendEvent(&t, &e);
    QCOMPARE(dialogs.messages, (QStringList{QStringLiteral("Unable to write to /x/y"), QStringLiteral("Unable to write to /x/y")}));
}

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TravikApplication app(argc, argv);
    auto hid = loadSimulator();
    g_hid = hid.get();
    TestShell test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_shell.moc"
