#include "ReportTransport.h"

#include "HidLibrary.h"
#include "StandardMessages.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cstring>

namespace {

ReportTransport *g_instance = nullptr;

int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

constexpr char kMarker[] = "MESSAGE END";

} // namespace

unsigned char ReportTransport::s_buffer[ReportTransport::kBufferSize];

ReportTransport::ReportTransport(HidLibrary &library, QObject *parent) : QObject(parent), m_library(library)
{
    g_instance = this;
}

ReportTransport::~ReportTransport()
{
    if (g_instance == this)
        g_instance = nullptr;
}

ReportTransport *ReportTransport::instance()
{
    return g_instance;
}

QString ReportTransport::noAnswerMessage()
{
    return QStringLiteral(u"Прибор не отвечает. Проверьте подключение прибора и повторите.");
}

QString ReportTransport::replyTooLongMessage()
{
    return QStringLiteral(u"Ответ прибора слишком длинный, обмен прерван.");
}

QString ReportTransport::busyMessage()
{
    return QStringLiteral(u"Идёт обмен с прибором, дождитесь его окончания.");
}

void ReportTransport::OnInputReport(HIDReport report)
{
    if (g_instance)
        g_instance->store(report);
}

void ReportTransport::store(const HIDReport &report)
{
    m_lastReportMs.store(nowMs(), std::memory_order_relaxed);
    const int k = m_reports.load(std::memory_order_relaxed);
    if (k >= kMaxReports) {
        // Nothing is stored past the end of the buffer.
        m_overflow.store(true, std::memory_order_release);
    } else {
        std::memcpy(s_buffer + 64 * k, report.data + 1, 64);
        const int last = 64 * k + 63;
        m_lastByte.store(last, std::memory_order_relaxed);
        m_reports.store(k + 1, std::memory_order_relaxed);
        const bool marker = std::memcmp(report.data + 1, kMarker, 11) == 0;
        if (marker) {
            int none = -1;
            m_replyEnd.compare_exchange_strong(none, last, std::memory_order_release);
        }
        // the last write: a waiting exchange that sees it sees the counters too
        m_messageEnded.store(marker, std::memory_order_release);
        if (!marker)
            return;
    }
    if (!m_wakePosted.exchange(true))
        QMetaObject::invokeMethod(this, &ReportTransport::wake, Qt::QueuedConnection);
}

void ReportTransport::wake()
{
    m_wakePosted.store(false);
    if (m_loop)
        m_loop->quit();
}

void ReportTransport::SendCommand(QByteArrayView command)
{
    if (!DeviceOpen)
        return;
    qsizetype b = 0, e = command.size();
    while (b < e && static_cast<unsigned char>(command[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(command[e - 1]) <= 32)
        --e;
    for (qsizetype pos = b; pos < e; pos += 64) {
        HIDReport report{};
        const qsizetype n = qMin<qsizetype>(64, e - pos);
        std::memcpy(report.data + 1, command.data() + pos, size_t(n));
        m_library.writeDevice(report);
    }
}

void ReportTransport::waitForQuiet()
{
    // After a failed exchange the rest of its reply may still be on its way;
    // let it drain so that it is not taken for the next reply.
    QElapsedTimer waited;
    waited.start();
    while (nowMs() - m_lastReportMs.load() < 200 && waited.elapsed() < m_timeoutMs) {
        QEventLoop pause;
        QTimer::singleShot(20, &pause, &QEventLoop::quit);
        pause.exec();
    }
}

void ReportTransport::QueryDevice(QByteArrayView command)
{
    if (exchangeRunning())
        throw TravikError(busyMessage());
    m_waiting = true;
    struct Done {
        ReportTransport *t;
        ~Done() { t->m_waiting = false; }
    } done{this};

    if (m_lastFailed)
        waitForQuiet();
    m_reports.store(0);
    m_lastByte.store(0);
    m_replyEnd.store(-1);
    m_overflow.store(false);
    m_messageEnded.store(false);
    m_lastReportMs.store(nowMs());
    m_lastFailed = true; // until the reply is complete
    SendCommand(command);

    QEventLoop loop;
    QTimer check;
    check.setInterval(20);
    bool timedOut = false;
    connect(&check, &QTimer::timeout, &loop, [&] {
        if (m_replyEnd.load(std::memory_order_acquire) >= 0 || m_overflow.load(std::memory_order_acquire)) {
            loop.quit();
        } else if (nowMs() - m_lastReportMs.load(std::memory_order_relaxed) >= m_timeoutMs) {
            timedOut = true;
            loop.quit();
        }
    });
    check.start();
    while (m_replyEnd.load(std::memory_order_acquire) < 0 && !m_overflow.load(std::memory_order_acquire) &&
           !timedOut) {
        m_loop = &loop;
        loop.exec();
        m_loop = nullptr;
    }
    if (m_overflow.load(std::memory_order_acquire))
        throw TravikError(replyTooLongMessage());
    if (timedOut)
        throw TravikError(noAnswerMessage());
    m_lastFailed = false;
}

QByteArrayView ReportTransport::reply() const
{
    const int last = UsbLastByte();
    const int reports = m_reports.load(std::memory_order_acquire);
    if (reports == 0)
        return {};
    return QByteArrayView(reinterpret_cast<const char *>(s_buffer), last + 1);
}
