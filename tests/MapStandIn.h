#pragma once

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

#include <memory>

// Serves a local stand-in of the maps API: requests for the API's host are
// redirected to the scheme "travik-standin", whose handler answers with the
// stand-in script (or with an empty one, to leave the page without its API).
class MapStandIn : public QWebEngineUrlRequestInterceptor, public QWebEngineUrlSchemeHandler
{
public:
    static void registerScheme() // before the application object exists
    {
        QWebEngineUrlScheme scheme("travik-standin");
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalAccessAllowed |
                        QWebEngineUrlScheme::CorsEnabled);
        QWebEngineUrlScheme::registerScheme(scheme);
    }

    // scriptPath: the maps API stand-in; googleScriptPath: the Google Maps one.
    explicit MapStandIn(const QString &scriptPath, const QString &googleScriptPath = QString())
    {
        QFile f(scriptPath);
        if (f.open(QIODevice::ReadOnly))
            m_script = f.readAll();
        QFile g(googleScriptPath);
        if (!googleScriptPath.isEmpty() && g.open(QIODevice::ReadOnly))
            m_google = g.readAll();
        QWebEngineProfile *profile = QWebEngineProfile::defaultProfile();
        profile->setUrlRequestInterceptor(this);
        profile->installUrlSchemeHandler("travik-standin", this);
    }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (info.requestUrl().host() == QLatin1String("api-maps.yandex.ru")) {
            ++apiRequests;
            lastApiUrl = info.requestUrl();
            info.redirect(QUrl(QStringLiteral("travik-standin:/ymaps.js")));
        } else if (info.requestUrl().host() == QLatin1String("maps.googleapis.com")) {
            ++googleRequests;
            lastGoogleUrl = info.requestUrl();
            info.redirect(QUrl(QStringLiteral("travik-standin:/gmaps.js")));
        } else if (info.requestUrl().scheme().startsWith(QLatin1String("http"))) {
            info.block(true); // no test reaches the network
        }
    }

    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        auto *buffer = new QBuffer(job);
        const bool google = job->requestUrl().path().contains(QLatin1String("gmaps"));
        buffer->setData(withoutApi ? QByteArray("/* no API */") : google ? m_google : m_script);
        job->reply("text/javascript", buffer);
    }

    bool withoutApi = false;
    int apiRequests = 0;
    QUrl lastApiUrl;
    int googleRequests = 0;
    QUrl lastGoogleUrl;

private:
    QByteArray m_script, m_google;
};

// Runs a script in the view's page and waits (at most 5 s) for its value.
// The answer lands in shared state: one that comes after the wait gave up
// writes nowhere it should not.
inline QVariant runJs(QWebEngineView *view, const QString &script)
{
    struct Answer {
        QVariant value;
        bool done = false;
    };
    auto answer = std::make_shared<Answer>();
    view->page()->runJavaScript(script, [answer](const QVariant &v) {
        answer->value = v;
        answer->done = true;
    });
    QElapsedTimer waited;
    waited.start();
    while (!answer->done && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return answer->value;
}

// Waits (at most 10 s) until the page defines the function `name`.
inline bool waitForPageFunction(QWebEngineView *view, const QString &name)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000) {
        if (runJs(view, QStringLiteral("typeof %1 === 'function'").arg(name)).toBool())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 25);
    }
    return false;
}
