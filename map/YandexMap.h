#pragma once

#include "ConnectionTest.h"
#include "MapPane.h"

#include <QImage>
#include <QObject>
#include <QStringList>

#include <functional>

class ChartPane;
class PageScripts;
class QLabel;
class QWebEngineView;
class QWidget;

// travik's map: the generated page in the browser view, driven by script
// texts; the connection following, the offline panel and the click polling.
class YandexMap : public QObject, public MapPane
{
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(const QString &)> setStatus;
        ChartPane *chart = nullptr;
    };
    YandexMap(QWebEngineView *view, QWidget *offlinePanel, Hooks hooks, ConnectionTest online,
              QObject *parent = nullptr);

    // MapPane: each operation is one script text. Texts are queued and sent
    // joined, in order; ya_mark, SaveMapPicture and flush() send at once and
    // throw TravikError when the page fails (functions not defined yet).
    void ya_setic(const QString &mainIcon, const QString &comparedIcon, const QString &markIcon) override;
    void ya_clear() override;
    void ya_clear1() override;
    void ya_add_point(int index, double lat, double lng) override;
    void ya_add_point1(int index, double lat, double lng) override;
    void ya_mark(const QString &name, double lat, double lng) override;
    void ya_mark_undefined() override;
    void ya_pan() override;
    void ya_pan1() override;
    void SaveMapPicture(const QString &path) override;
    bool IsOnline() const override;

    void RunPageScript(const QString &text);
    // Sends what is queued and waits until every execution sent so far has
    // answered; throws the first failure among them.
    void flush() override;

    // The activation step: LastClickName empty, PageNavigated false.
    void resetPageState();
    void Timer1Timer();
    void Yandex_tmrTimer();

    bool PageNavigated = false;
    QString LastClickName;

    static QString pageFailedMessage(const QString &detail);

private:
    bool hasDocument() const;

    QWebEngineView *m_view;
    QWidget *m_offline;
    Hooks m_hooks;
    ConnectionTest m_online;
    PageScripts *m_scripts;
    QImage m_picture;
};
