#include "THIDtestForm.h"

#include "ChartPane.h"
#include "ChartSelection.h"
#include "InstrumentLink.h"
#include "LineChart.h"
#include "MapPage.h"
#include "MapPane.h"
#include "YandexMap.h"
#include "GMapPane.h"
#include "IniDocument.h"
#include "Lamp.h"
#include "MenuBarStyle.h"
#include "PageSetup.h"
#include "ProgramFolder.h"
#include "SettingsFile.h"
#include "TForm2.h"
#include "TForm3.h"
#include "JpegCodec.h"
#include "TrackFile.h"
#include "TrackFolders.h"
#include "TrackLoader.h"
#include "Printing.h"
#include "StandardMessages.h"
#include "TravikApplication.h"
#include "UserDialogs.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace {

QFont tahoma(int pixels, bool bold = false)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QFrame *panel(const char *name, QWidget *parent = nullptr)
{
    auto *p = new QFrame(parent);
    p->setObjectName(QString::fromLatin1(name));
    return p;
}

// The small picture of the top-level item "Описание файла": a sheet with lines.
QIcon descriptionIcon()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 11, 14);
    p.setPen(QColor(0, 0, 200));
    for (int y = 4; y <= 12; y += 3)
        p.drawLine(4, y, 11, y);
    return QIcon(pm);
}

QString tempFolder()
{
    return programPath(QStringLiteral("temp"));
}

} // namespace

THIDtestForm::THIDtestForm(const BuildFlavour &flavour, HidLibrary &hid, QWidget *parent)
    : QMainWindow(parent), m_flavour(flavour)
{
    m_instrument = new InstrumentLink(hid, *this, this);
    setObjectName(QStringLiteral("THIDtestForm"));
    setWindowTitle(QStringLiteral("Travik"));
    setFont(tahoma(11));
    resize(1024, 622);

    buildMenu();
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildPaneArea(), 1);
    column->addWidget(buildButtonBar());
    column->addWidget(buildStatusBar());
    setCentralWidget(central);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &THIDtestForm::Timer1Timer);
    Timer1->start();
    if (m_flavour.usesGeneratedPage()) {
        Yandex_tmr = new QTimer(this);
        Yandex_tmr->setObjectName(QStringLiteral("Yandex_tmr"));
        Yandex_tmr->setInterval(10);
        connect(Yandex_tmr, &QTimer::timeout, this, &THIDtestForm::Yandex_tmrTimer);
        Yandex_tmr->start();
    }
    P_S = new PageSetup(this);

    PaneControls controls;
    controls.window = this;
    controls.mapPane = Panel3;
    controls.chartPane = Panel4;
    controls.mapToggle = SpeedButton1;
    controls.chartToggle = SpeedButton2;
    controls.compare = SpeedButton7;
    controls.depth = SpeedButton6;
    controls.current = SpeedButton5;
    controls.eField = SpeedButton4;
    controls.hField = SpeedButton3;
    controls.interpolation = N13;
    controls.cursor = N14;
    m_chartPane = new ChartPane(Chart1, controls, this);
    if (m_flavour.usesGeneratedPage()) {
        auto yandex = std::make_unique<YandexMap>(
            WebBrowser1, Panel6,
            YandexMap::Hooks{[this](const QString &t) { Label1->setText(t); }, m_chartPane}, systemConnectionTest());
        m_yandex = yandex.get();
        m_ownMap = std::move(yandex);
    } else {
        auto gmap = std::make_unique<GMapPane>(
            WebBrowser1, Panel6, GMapPane::Hooks{[this](const QString &t) { Label1->setText(t); }, m_chartPane},
            systemConnectionTest());
        m_gmap = gmap.get();
        m_ownMap = std::move(gmap);
    }
    setMapPane(nullptr);
    TrackLoader::View view;
    view.showBrowser = [this](bool on) { WebBrowser1->setVisible(on && (!m_yandex || m_yandex->PageNavigated)); };
    view.showGauge = [this](int n) {
        Gauge1->setRange(0, qMax(0, n - 1));
        Gauge1->setValue(0);
        Label1->hide();
        Gauge1->show();
    };
    view.setGauge = [this](int i) { Gauge1->setValue(i); };
    view.hideGauge = [this] {
        Gauge1->hide();
        Label1->show();
    };
    view.setFrequency = [this](const QString &t) { Label2->setText(t); };
    view.descriptionCaption = [this] { return N2->text(); };
    view.setDescriptionCaption = [this](const QString &t) { N2->setText(t); };
    view.setStatus = [this](const QString &t) { Label1->setText(t); };
    view.showMessage = [](const QString &t) { userDialogs().showMessage(t); };
    view.askText = [](const QString &p, const QString &t) { return userDialogs().inputBox(p, t); };
    view.map = [this]() -> MapPane & { return *m_map; };
    if (m_gmap)
        view.componentAfterLoad = [this](const QString &preview) { return m_gmap->afterLoad(preview); };
    m_loader = std::make_unique<TrackLoader>(*m_chartPane, view);
    Printing::Sources sources;
    sources.chartPicture = [this] { return Chart1->renderToImage(); };
    sources.map = [this]() -> MapPane & { return *m_map; };
    sources.offlinePicture = [this] { return Image1->pixmap().toImage(); };
    sources.panes = [this] {
        if (!SpeedButton1->isChecked())
            return PrintGeometry::Panes::ChartOnly;
        return SpeedButton2->isChecked() ? PrintGeometry::Panes::MapAndChart : PrintGeometry::Panes::MapOnly;
    };
    sources.pageSetup = P_S;
    m_printing = std::make_unique<Printing>(sources);
    connect(Chart1, &LineChart::pointerMoved, this, &THIDtestForm::Chart1MouseMove);
    connect(Chart1, &LineChart::pointPressed, this, &THIDtestForm::Chart1ClickSeries);

    FormCreate();
}

THIDtestForm::~THIDtestForm()
{
    FormDestroy();
    delete m_selection;
}

void THIDtestForm::setMapPane(MapPane *map)
{
    m_map = map ? map : m_ownMap.get();
    delete m_selection;
    m_selection = new ChartSelection(*m_chartPane, *m_map,
                                     {[this](const QString &t) { Label1->setText(t); },
                                      [this] { return SpeedButton7->isEnabled() && SpeedButton7->isChecked(); },
                                      m_flavour.usesGeneratedPage()});
}

void THIDtestForm::setDialogs(TForm2 *chooser, TForm3 *about)
{
    m_form2 = chooser;
    m_form3 = about;
}

void THIDtestForm::buildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto *style = new MenuBarStyle;
    style->setParent(bar);
    bar->setStyle(style);
    auto menu = [&](const char *name, const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto item = [&](QMenu *m, const char *name, const QString &caption, void (THIDtestForm::*handler)()) {
        QAction *a = m->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };

    N1 = menu("N1", QStringLiteral(u"Загрузить"));
    N6 = item(N1, "N6", QStringLiteral(u"Синхронизация"), &THIDtestForm::N6Click);
    N7 = item(N1, "N7", QStringLiteral(u"Из файла..."), &THIDtestForm::N7Click);
    N8 = item(N1, "N8", QStringLiteral(u"Файл для сравнения..."), &THIDtestForm::N8Click);
    N6->setEnabled(false);
    N8->setEnabled(false);

    N3 = menu("N3", QStringLiteral(u"Печать"));
    N9 = item(N3, "N9", QStringLiteral(u"Печать"), &THIDtestForm::N9Click);
    N10 = item(N3, "N10", QStringLiteral(u"Настройка принтера"), &THIDtestForm::N10Click);
    N17 = item(N3, "N17", QStringLiteral(u"Настройка страницы"), &THIDtestForm::N17Click);

    N4 = menu("N4", QStringLiteral(u"Настройка"));
    N13 = item(N4, "N13", QStringLiteral(u"Интерполяция"), &THIDtestForm::N13Click);
    N14 = item(N4, "N14", QStringLiteral(u"Курсор на графике"), &THIDtestForm::N14Click);
    // Qt inverts the tick before the handler runs; the handlers apply it.
    N13->setCheckable(true);
    N14->setCheckable(true);
    N13->setChecked(false);
    N14->setChecked(true);
    N15 = N4->addSeparator();
    N15->setObjectName(QStringLiteral("N15"));
    N16 = item(N4, "N16", QStringLiteral(u"Информация о приборе"), &THIDtestForm::N16Click);
    N16->setEnabled(false);

    N5 = menu("N5", QStringLiteral(u"Помощь"));
    N11 = item(N5, "N11", QStringLiteral(u"Описание"), &THIDtestForm::N11Click);
    N12 = item(N5, "N12", QStringLiteral(u"О программе"), &THIDtestForm::N12Click);

    N2 = bar->addAction(descriptionIcon(), QStringLiteral(u"Описание файла"));
    N2->setObjectName(QStringLiteral("N2"));
    connect(N2, &QAction::triggered, this, &THIDtestForm::N2Click);
}

QWidget *THIDtestForm::buildPaneArea()
{
    auto *area = new QWidget;
    area->setObjectName(QStringLiteral("PaneArea"));
    auto *row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    Panel3 = panel("Panel3");
    Panel3->setFixedWidth(505);
    auto *stack = new QGridLayout(Panel3);
    stack->setContentsMargins(0, 0, 0, 0);
    WebBrowser1 = new QWebEngineView(Panel3);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    stack->addWidget(WebBrowser1, 0, 0);

    Panel6 = panel("Panel6", Panel3);
    Panel6->setAutoFillBackground(true);
    auto *offline = new QVBoxLayout(Panel6);
    offline->setContentsMargins(0, 0, 0, 0);
    Image1 = new QLabel(Panel6);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Image1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    offline->addWidget(Image1, 1);
    Label3 = new QLabel(QStringLiteral(u"Нет интернет соединения"), Panel6);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(tahoma(16, true));
    QPalette red = Label3->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label3->setPalette(red);
    offline->addWidget(Label3);
    if (m_flavour.usesGeneratedPage()) {
        temp_img = new QLabel(Panel6);
        temp_img->setObjectName(QStringLiteral("temp_img"));
        temp_img->hide();
    }
    stack->addWidget(Panel6, 0, 0);
    Panel6->hide();
    row->addWidget(Panel3);

    Splitter1 = panel("Splitter1");
    Splitter1->setFixedWidth(3);
    Splitter1->hide();
    row->addWidget(Splitter1);

    Panel4 = panel("Panel4");
    auto *chartBox = new QVBoxLayout(Panel4);
    chartBox->setContentsMargins(0, 0, 0, 0);
    Chart1 = new LineChart(Panel4);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    chartBox->addWidget(Chart1);
    row->addWidget(Panel4, 1);
    return area;
}

QToolButton *THIDtestForm::toggle(const char *name, const QString &caption, int width, const QColor &color,
                                  QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setCheckable(true);
    b->setChecked(true);
    b->setFixedSize(width, 32);
    b->setFont(tahoma(11, true));
    const QColor text = color.isValid() ? color : palette().color(QPalette::WindowText);
    QPalette pal = b->palette();
    pal.setColor(QPalette::ButtonText, text);
    b->setPalette(pal);
    // A pressed toggle must be told from a released one at a glance.
    b->setStyleSheet(QStringLiteral("QToolButton { color: %1; background: #f4f4f4; border: 1px solid #9a9a9a;"
                                    " border-radius: 2px; }"
                                    "QToolButton:checked { background: #c6d6ec; border: 1px solid #4d6a94; }"
                                    "QToolButton:disabled { color: #a0a0a0; }")
                         .arg(text.name()));
    return b;
}

QWidget *THIDtestForm::buildButtonBar()
{
    Panel2 = panel("Panel2");
    Panel2->setFixedHeight(41);
    auto *row = new QHBoxLayout(Panel2);
    row->setContentsMargins(4, 4, 0, 4);
    row->setSpacing(2);
    SpeedButton1 = toggle("SpeedButton1", QStringLiteral(u"Карта"), 54, {}, Panel2);
    SpeedButton2 = toggle("SpeedButton2", QStringLiteral(u"График"), 55, {}, Panel2);
    SpeedButton7 = toggle("SpeedButton7", m_flavour.compareCaption, m_flavour.compareButtonWidth, {}, Panel2);
    SpeedButton7->setEnabled(false);
    row->addWidget(SpeedButton1);
    row->addWidget(SpeedButton2);
    row->addWidget(SpeedButton7);
    row->addStretch(1);
    ScanBut = new QPushButton(QStringLiteral("Scan"), Panel2);
    ScanBut->setObjectName(QStringLiteral("ScanBut"));
    ScanBut->hide();
    connect(ScanBut, &QPushButton::clicked, this, &THIDtestForm::ScanButClick);
    row->addWidget(ScanBut);

    Panel5 = panel("Panel5", Panel2);
    Panel5->setFixedWidth(422);
    auto *right = new QHBoxLayout(Panel5);
    right->setContentsMargins(0, 0, 4, 0);
    right->setSpacing(2);
    Label2 = new QLabel(Panel5);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(tahoma(21, true));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    right->addWidget(Label2, 1);
    SpeedButton6 = toggle("SpeedButton6", QStringLiteral(u"Глубина"), 55, {}, Panel5);
    SpeedButton5 = toggle("SpeedButton5", QStringLiteral(u"Ток"), 55, QColor(0, 0, 255), Panel5);
    SpeedButton4 = toggle("SpeedButton4", QStringLiteral(u"Е-поле"), 55, QColor(255, 0, 0), Panel5);
    SpeedButton3 = toggle("SpeedButton3", QStringLiteral(u"Н-поле"), 55, QColor(0, 128, 0), Panel5);
    for (QToolButton *b : {SpeedButton6, SpeedButton5, SpeedButton4, SpeedButton3})
        right->addWidget(b);
    row->addWidget(Panel5);

    connect(SpeedButton1, &QToolButton::clicked, this, &THIDtestForm::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &THIDtestForm::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &THIDtestForm::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &THIDtestForm::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &THIDtestForm::SpeedButton5Click);
    connect(SpeedButton6, &QToolButton::clicked, this, &THIDtestForm::SpeedButton6Click);
    connect(SpeedButton7, &QToolButton::clicked, this, &THIDtestForm::SpeedButton7Click);
    return Panel2;
}

QWidget *THIDtestForm::buildStatusBar()
{
    Panel1 = panel("Panel1");
    Panel1->setFixedHeight(22);
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto *row = new QHBoxLayout(Panel1);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(4);
    usb_dev = new Lamp(Panel1);
    usb_dev->setObjectName(QStringLiteral("usb_dev"));
    usb_dev->setColor(Qt::red);
    row->addWidget(usb_dev);
    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(tahoma(15));
    // A long readout is cut at the window's edge; it must never widen the window.
    Label1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(Label1, 1);
    Gauge1 = new QProgressBar(Panel1);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setTextVisible(false);
    Gauge1->hide();
    row->addWidget(Gauge1, 1);
    return Panel1;
}

// ---- lifecycle ------------------------------------------------------------

void THIDtestForm::FormCreate()
{
    m_instrument->transport().DeviceOpen = false;
    m_instrument->registerCallbacks();
    QDir().mkpath(tracesFolder());
    if (m_flavour.usesGeneratedPage())
        SetBrowserEmulation();
}

bool THIDtestForm::event(QEvent *event)
{
    // The browser view makes Qt recreate the native window once it renders;
    // the new window does not carry the maximised state, so ask again.
    if (event->type() == QEvent::WinIdChange && isVisible() && isMaximized()) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                setWindowState(Qt::WindowNoState);
                setWindowState(Qt::WindowMaximized);
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::event(event);
}

void THIDtestForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_activated) {
        // Once per run: returning from a modal window is no new activation.
        m_activated = true;
        QMetaObject::invokeMethod(this, &THIDtestForm::FormActivate, Qt::QueuedConnection);
    }
}

void THIDtestForm::FormActivate()
{
    ++m_activations;
    if (m_flavour.usesGeneratedPage()) {
        QDir().mkpath(tempFolder());
        QString error;
        if (!WriteMapPage(&error)) {
            // without its page the rest of the activation is not taken
            userDialogs().showMessage(error);
            return;
        }
        m_yandex->resetPageState(); // the browser was made silent with its page
    }
    const Settings s = readSettings(settingsFilePath());
    if (m_gmap) // a key of the user's own for the maps API, when there is one
        m_gmap->setApiKey(IniDocument::load(settingsFilePath()).readString(u"Main", u"GMapKey", QString()));
    N13->setChecked(s.interpolation);
    N14->setChecked(s.crosshair);
    P_S->marginRight = s.marginRight;
    P_S->marginLeft = s.marginLeft;
    P_S->marginTop = s.marginTop;
    P_S->marginBottom = s.marginBottom;
    SetupChart();
    ScanButClick();
}

void THIDtestForm::closeEvent(QCloseEvent *event)
{
    if (m_loader->loading()) {
        // the load runs inside this window's events: let it finish first
        userDialogs().showMessage(TrackLoader::busyMessage());
        event->ignore();
        return;
    }
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool THIDtestForm::FormCloseQuery()
{
    Settings s;
    s.interpolation = N13->isChecked();
    s.crosshair = N14->isChecked();
    s.marginRight = P_S->marginRight;
    s.marginLeft = P_S->marginLeft;
    s.marginTop = P_S->marginTop;
    s.marginBottom = P_S->marginBottom;
    QString error;
    if (!writeSettings(settingsFilePath(), s, &error)) {
        userDialogs().showMessage(error);
        return false;
    }
    if (m_flavour.usesGeneratedPage()) {
        QFile::remove(tempFolder() + QStringLiteral("/yandex.html"));
        QDir().rmdir(tempFolder()); // stays when other files are in it
    }
    return true;
}

void THIDtestForm::FormDestroy()
{
    m_instrument->closeDevice();
}

void THIDtestForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    LayoutPanes();
}

void THIDtestForm::LayoutPanes()
{
    m_chartPane->LayoutPanes();
}

void THIDtestForm::SetupChart()
{
    m_chartPane->SetupChart();
}

// ---- handlers -------------------------------------------------------------

template <class F>
void THIDtestForm::guarded(F &&command)
{
    try {
        command();
    } catch (const std::exception &e) {
        showError(e);
    }
}

void THIDtestForm::setInstrumentFound(bool found)
{
    usb_dev->setColor(found ? QColor(0, 128, 0) : QColor(Qt::red));
    N6->setEnabled(found);
    N16->setEnabled(found);
}

void THIDtestForm::setStatusText(const QString &text)
{
    Label1->setText(text);
}

void THIDtestForm::setLoadMenuAvailable(bool available)
{
    N1->menuAction()->setVisible(available);
    N1->menuAction()->setEnabled(available);
}

void THIDtestForm::showMessage(const QString &text)
{
    userDialogs().showMessage(text);
}

QString THIDtestForm::askText(const QString &prompt, const QString &preset)
{
    return userDialogs().inputBox(prompt, preset);
}

bool THIDtestForm::refusedWhileLoading()
{
    if (!m_loader->loading())
        return false;
    userDialogs().showMessage(TrackLoader::busyMessage());
    return true;
}

void THIDtestForm::showOfflinePicture(const QString &trackPath)
{
    const QString preview = previewPicture(trackPath);
    const QImage picture = jpeg::load(QFileInfo::exists(preview) ? preview : mediaPath(QStringLiteral("no_previev.jpg")));
    Image1->setPixmap(QPixmap::fromImage(picture));
}

void THIDtestForm::N6Click()
{
    if (refusedWhileLoading())
        return;
    guarded([this] { m_instrument->N6Click(); });
}

void THIDtestForm::N7Click()
{
    if (refusedWhileLoading() || !m_form2)
        return;
    const QString path = m_form2->choose();
    if (path.isEmpty())
        return;
    guarded([&] {
        if (m_flavour.usesGeneratedPage()) {
            // the comparison leaves the view; its points stay in their store
            m_chartPane->hideCompared();
            SpeedButton7->setEnabled(false);
            try {
                m_map->ya_clear1();
            } catch (const TravikError &) {
                // a page not ready yet has no compared track to remove
            }
        }
        try {
            m_loader->LoadTrack(path, TrackSlot::Main);
        } catch (...) {
            MainTrackPath = path;
            throw;
        }
        MainTrackPath = path;
        showOfflinePicture(path);
        N8->setEnabled(true);
    });
}

void THIDtestForm::N8Click()
{
    if (refusedWhileLoading() || !m_form2)
        return;
    const QString path = m_form2->choose();
    if (path.isEmpty())
        return;
    guarded([&] {
        struct Enable {
            THIDtestForm *w;
            ~Enable()
            {
                w->SpeedButton7->setEnabled(true);
                if (w->m_flavour.usesGeneratedPage())
                    w->m_chartPane->showComparedByToggles();
            }
        } enable{this};
        m_loader->LoadTrack(path, TrackSlot::Compared);
    });
}

void THIDtestForm::N9Click()
{
    if (refusedWhileLoading())
        return;
    guarded([this] { m_printing->N9Click(); });
}

void THIDtestForm::N10Click()
{
    guarded([this] { m_printing->N10Click(); });
}

void THIDtestForm::N17Click()
{
    guarded([this] { m_printing->N17Click(); });
}

void THIDtestForm::N13Click()
{
    m_chartPane->interpolationChanged();
}

void THIDtestForm::N14Click()
{
    m_chartPane->cursorChanged();
}

void THIDtestForm::N16Click()
{
    guarded([this] { m_instrument->N16Click(); });
}

void THIDtestForm::N2Click()
{
    guarded([this] { m_loader->describe(); });
}

void THIDtestForm::SpeedButton1Click()
{
    m_chartPane->mapToggleClicked();
}

void THIDtestForm::SpeedButton2Click()
{
    m_chartPane->chartToggleClicked();
}

void THIDtestForm::SpeedButton3Click()
{
    m_chartPane->measurementToggled(ChartPane::Measurement::HField);
}

void THIDtestForm::SpeedButton4Click()
{
    m_chartPane->measurementToggled(ChartPane::Measurement::EField);
}

void THIDtestForm::SpeedButton5Click()
{
    m_chartPane->measurementToggled(ChartPane::Measurement::Current);
}

void THIDtestForm::SpeedButton6Click()
{
    m_chartPane->measurementToggled(ChartPane::Measurement::Depth);
}

void THIDtestForm::SpeedButton7Click()
{
    if (m_gmap) {
        // "Сравнение": the comparison on or off, on the chart and on the map
        const bool on = SpeedButton7->isChecked();
        const std::pair<QToolButton *, int> pairs[] = {{SpeedButton5, ChartPane::tok_sr},
                                                       {SpeedButton6, ChartPane::glubina_sr},
                                                       {SpeedButton4, ChartPane::epole_sr},
                                                       {SpeedButton3, ChartPane::hpole_sr}};
        for (const auto &[button, series] : pairs)
            Chart1->setSeriesVisible(series, button->isChecked() && on);
        guarded([&] {
            if (m_map == m_gmap)
                m_gmap->showCompared(on);
        });
        return;
    }
    guarded([this] { SpeedButton7->isChecked() ? m_map->ya_pan() : m_map->ya_pan1(); });
}

void THIDtestForm::ScanButClick()
{
    guarded([this] { m_instrument->ScanButClick(); });
}

void THIDtestForm::Timer1Timer()
{
    if (m_activations == 0)
        return; // the map follows the connection once the window is active
    if (m_yandex)
        m_yandex->Timer1Timer();
    if (m_gmap && m_map == m_gmap)
        m_gmap->Timer1Timer();
}

void THIDtestForm::Yandex_tmrTimer()
{
    if (m_yandex)
        guarded([this] { m_yandex->Yandex_tmrTimer(); });
}

void THIDtestForm::Chart1MouseMove(int, int, double xValue)
{
    m_selection->pointerMoved(xValue);
}

void THIDtestForm::Chart1ClickSeries(int series, int index)
{
    guarded([&] { m_selection->pointPressed(series, index); });
}

void THIDtestForm::N11Click()
{
    const QString manual = deliveredPath(QStringLiteral("Travik.pdf"));
    if (QFile::exists(manual))
        userDialogs().openExternal(QUrl::fromLocalFile(manual));
}

void THIDtestForm::N12Click()
{
    if (m_form3)
        m_form3->exec();
}
