#pragma once

#include "HID_Intf.h"

#include <QByteArrayView>
#include <QObject>

#include <atomic>
#include <cstdint>

class HidLibrary;
class QEventLoop;

// Commands out as 64-byte reports, replies in: every input report is appended
// to one fixed receive buffer until a report carries "MESSAGE END".
//
// The HID library delivers reports on its own thread. The callback stores the
// payload and the counters first and publishes the end marker last (release),
// the waiting exchange reads it with acquire, so it sees the whole reply.
class ReportTransport : public QObject
{
    Q_OBJECT
public:
    static constexpr int kBufferSize = 6999932;
    static constexpr int kMaxReports = kBufferSize / 64; // 109,373
    static constexpr int kDefaultTimeoutMs = 3000;

    explicit ReportTransport(HidLibrary &library, QObject *parent = nullptr);
    ~ReportTransport() override;

    // The one transport of the program: the input-report callback lands here.
    static ReportTransport *instance();
    static void OnInputReport(HIDReport report);

    bool DeviceOpen = false;

    void SendCommand(QByteArrayView command);
    // Sends the command and waits, dispatching events, for the end marker.
    // Throws TravikError (with a Russian message) when no report comes for the
    // time limit, when the reply does not fit the buffer, or when another
    // exchange is already waiting.
    void QueryDevice(QByteArrayView command);

    bool exchangeRunning() const { return m_loop != nullptr || m_waiting; }

    // The reply of the last exchange, end-marker report included: bytes 0 … UsbLastByte.
    QByteArrayView reply() const;
    int UsbReports() const { return m_reports.load(std::memory_order_acquire); }
    // The last byte of the reply: that of its end-marker report once it came.
    int UsbLastByte() const
    {
        const int end = m_replyEnd.load(std::memory_order_acquire);
        return end >= 0 ? end : m_lastByte.load(std::memory_order_acquire);
    }
    bool MessageEnded() const { return m_messageEnded.load(std::memory_order_acquire); }
    const unsigned char *UsbBuffer() const { return s_buffer; }

    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    int timeoutMs() const { return m_timeoutMs; }

    static QString noAnswerMessage();
    static QString replyTooLongMessage();
    static QString busyMessage();

private:
    Q_INVOKABLE void wake();
    void store(const HIDReport &report);
    void waitForQuiet();

    HidLibrary &m_library;
    static unsigned char s_buffer[kBufferSize];

    std::atomic<int> m_reports{0};
    std::atomic<int> m_lastByte{0};
    std::atomic<bool> m_messageEnded{false};
    std::atomic<int> m_replyEnd{-1};   // UsbLastByte of this exchange's first marker
    std::atomic<bool> m_overflow{false};
    std::atomic<int64_t> m_lastReportMs{0};
    std::atomic<bool> m_wakePosted{false};

    QEventLoop *m_loop = nullptr;
    bool m_waiting = false;
    bool m_lastFailed = false;
    int m_timeoutMs = kDefaultTimeoutMs;
};
