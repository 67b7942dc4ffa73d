#pragma once

#include <QImage>
#include <QObject>
#include <QStringList>

#include <functional>

class QWebEnginePage;
class QWebEngineView;

// Script texts for a page, queued and sent joined into few executions, in
// order. Sending does not wait; flush() waits for every execution sent so far
// and throws the first failure (TravikError) with the page's own words.
class PageScripts : public QObject
{
    Q_OBJECT
public:
    explicit PageScripts(QWebEnginePage *page, QObject *parent = nullptr);

    static constexpr int kBatch = 2000;

    void run(const QString &text);
    void send();
    void flush();
    // Forget what is queued and failed (the page went away).
    void drop();
    bool idle() const { return m_queue.isEmpty() && m_outstanding == 0; }

    // What to say when the page failed: detail is the page's own words.
    std::function<QString(const QString &)> failureMessage;

private:
    QWebEnginePage *m_page;
    QStringList m_queue;
    int m_outstanding = 0;
    QString m_failure;
};

// The view as it shows now, for a JPEG of the map: the last good picture when
// the view cannot be drawn, a white one the first time.
QImage viewPicture(QWebEngineView *view, QImage &last);
