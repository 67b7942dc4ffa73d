#pragma once

#include "BuildFlavour.h"
#include "InstrumentView.h"

#include <QMainWindow>

#include <memory>

class ChartPane;
class ChartSelection;
class HidLibrary;
class LineChart;
class MapPane;
class YandexMap;
class GMapPane;
class InstrumentLink;
class Lamp;
class PageSetup;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;
class QWebEngineView;
class TForm2;
class TrackLoader;
class Printing;
class TForm3;

// The main window: a switchboard that owns the components and hands each user
// event to the subsystem it belongs to.
class THIDtestForm : public QMainWindow, public InstrumentView
{
    Q_OBJECT
public:
    THIDtestForm(const BuildFlavour &flavour, HidLibrary &hid, QWidget *parent = nullptr);
    YandexMap *yandexMap() const { return m_yandex; }
    GMapPane *gmapPane() const { return m_gmap; }
    ~THIDtestForm() override;

    const BuildFlavour &flavour() const { return m_flavour; }
    // The chooser and the About box are created after the main window.
    void setDialogs(TForm2 *chooser, TForm3 *about);
    bool hasActivated() const { return m_activated; }
    int activationCount() const { return m_activations; }
    InstrumentLink &instrument() { return *m_instrument; }
    ChartPane &chartPane() { return *m_chartPane; }
    MapPane &mapPane() { return *m_map; }
    TrackLoader &loader() { return *m_loader; }
    Printing &printing() { return *m_printing; }
    // Replaces the map (tests); the window keeps ownership of neither.
    void setMapPane(MapPane *map);

    // What the instrument link shows through the window.
    void setInstrumentFound(bool found) override;
    void setStatusText(const QString &text) override;
    void setLoadMenuAvailable(bool available) override;
    void showMessage(const QString &text) override;
    QString askText(const QString &prompt, const QString &preset) override;

    // Handlers, named after their component and event.
    void N6Click();
    void N7Click();
    void N8Click();
    void N9Click();
    void N10Click();
    void N17Click();
    void N13Click();
    void N14Click();
    void N16Click();
    void N11Click();
    void N12Click();
    void N2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void ScanButClick();
    void Chart1MouseMove(int x, int y, double xValue);
    void Chart1ClickSeries(int series, int index);
    void Timer1Timer();
    void Yandex_tmrTimer();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void FormActivate();
    bool FormCloseQuery();
    void FormDestroy();

    void LayoutPanes();
    void SetupChart();

    // Runs a command; a failure is shown by the default error display.
    template <class F>
    void guarded(F &&command);

    void buildMenu();
    QWidget *buildPaneArea();
    QWidget *buildButtonBar();
    QWidget *buildStatusBar();
    QToolButton *toggle(const char *name, const QString &caption, int width, const QColor &color, QWidget *parent);

    BuildFlavour m_flavour;
    TForm2 *m_form2 = nullptr;
    TForm3 *m_form3 = nullptr;
    bool m_activated = false;
    int m_activations = 0;
    InstrumentLink *m_instrument;

    QMenu *N1, *N3, *N4, *N5;
    QAction *N2, *N6, *N7, *N8, *N9, *N10, *N11, *N12, *N13, *N14, *N15, *N16, *N17;
    QFrame *Panel1, *Panel2, *Panel3, *Panel4, *Panel5, *Panel6;
    Lamp *usb_dev;
    QLabel *Label1, *Label2, *Label3, *Image1, *temp_img = nullptr;
    QProgressBar *Gauge1;
    QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton4, *SpeedButton5, *SpeedButton6,
        *SpeedButton7;
    QPushButton *ScanBut;
    QFrame *Splitter1;
    QWebEngineView *WebBrowser1;
    LineChart *Chart1;
    ChartPane *m_chartPane;
    ChartSelection *m_selection = nullptr;
    std::unique_ptr<MapPane> m_ownMap;
    MapPane *m_map = nullptr;
    YandexMap *m_yandex = nullptr; // travik's map
    GMapPane *m_gmap = nullptr;    // travik-gmap's map
    std::unique_ptr<TrackLoader> m_loader;
    std::unique_ptr<Printing> m_printing;
    // A load runs: commands that would start another load, a synchronisation
    // or a print are refused.
    bool refusedWhileLoading();
    void showOfflinePicture(const QString &trackPath);
    QTimer *Timer1, *Yandex_tmr = nullptr;
    PageSetup *P_S;
};
