#include "PageScripts.h"

#include "StandardMessages.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

PageScripts::PageScripts(QWebEnginePage *page, QObject *parent) : QObject(parent), m_page(page)
{
    failureMessage = [](const QString &d) { return d; };
}

void PageScripts::run(const QString &text)
{
    m_queue << text;
    if (m_queue.size() >= kBatch)
        send(); // the page works on it while the program goes on
}

void PageScripts::send()
{
    if (m_queue.isEmpty())
        return;
    // Each text unchanged, in order; the first failure stops the rest, as
    // separate executions would.
    const QString script = QStringLiteral("(function(){try{\n") + m_queue.join(QStringLiteral(";\n")) +
                           QStringLiteral(";\n}catch(e){return 'ERR:'+e;}return 'OK';})()");
    m_queue.clear();
    if (!m_failure.isEmpty())
        return; // the page stopped at an earlier text: the rest would not run either
    ++m_outstanding;
    m_page->runJavaScript(script, [this](const QVariant &v) {
        --m_outstanding;
        const QString result = v.toString();
        if (result != QLatin1String("OK") && m_failure.isEmpty())
            m_failure = result.startsWith(QLatin1String("ERR:")) ? result.mid(4)
                        : result.isEmpty()                     ? QStringLiteral(u"страница не загружена")
                                                               : result;
    });
}

void PageScripts::flush()
{
    send();
    if (m_outstanding > 0) {
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(1);
        QElapsedTimer waited;
        waited.start();
        connect(&poll, &QTimer::timeout, &loop, [&] {
            if (m_outstanding <= 0 || waited.elapsed() > 10000)
                loop.quit();
        });
        poll.start();
        loop.exec();
        if (m_outstanding > 0) {
            drop(); // a page that went away answers nothing
            throw TravikError(failureMessage(QStringLiteral(u"страница не отвечает")));
        }
    }
    if (!m_failure.isEmpty()) {
        const QString failure = m_failure;
        m_failure.clear();
        throw TravikError(failureMessage(failure));
    }
}

void PageScripts::drop()
{
    m_queue.clear();
    m_outstanding = 0;
    m_failure.clear();
}

QImage viewPicture(QWebEngineView *view, QImage &last)
{
    if (view->width() > 0 && view->height() > 0) {
        const QImage shot = view->grab().toImage();
        if (!shot.isNull())
            last = shot.convertToFormat(QImage::Format_RGB32);
    }
    if (last.isNull()) {
        last = QImage(qMax(1, view->width()), qMax(1, view->height()), QImage::Format_RGB32);
        last.fill(Qt::white);
    }
    return last;
}
