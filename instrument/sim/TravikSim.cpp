// An emulated instrument behind the seven functions of the HID library, for
// the demo and the tests. It answers "s", "v", "a", "0" and track numbers from
// a thread of its own, as fast as possible or at one report per millisecond.
#include "HID_Intf.h"
#include "SimScenario.h"
#include "TravikSimControl.h"

#include <QFile>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <dlfcn.h>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kMaxReports = 6999932 / 64;

struct Report {
    uint8_t payload[64];
};

class Simulator
{
public:
    Simulator() { configure(initialScenario()); }
    ~Simulator() { stopThreads(); }

    void configure(const SimScenario &scenario)
    {
        stopThreads();
        std::lock_guard lock(m_mutex);
        m_scenario = scenario;
        m_attached = scenario.attached;
        m_open = -1;
        m_written.clear();
        m_queue.clear();
        m_delivered = 0;
        m_stop = false;
        m_worker = std::thread([this] { deliver(); });
        if (scenario.attachAfterMs >= 0 || scenario.detachAfterMs >= 0)
            m_timer = std::thread([this, a = scenario.attachAfterMs, d = scenario.detachAfterMs] { plug(a, d); });
    }

    uint8_t scan()
    {
        std::lock_guard lock(m_mutex);
        const int n = m_scenario.otherDevices + (m_attached ? m_scenario.devices : 0);
        return uint8_t(std::min(n, 255));
    }

    void info(uint8_t index, uint8_t *record)
    {
        std::memset(record, 0, HID_DEVICE_RECORD_SIZE);
        std::lock_guard lock(m_mutex);
        uint16_t vid = 0x046d, pid = 0xc52b;
        QByteArray name = "USB Receiver";
        if (index >= m_scenario.otherDevices) {
            vid = m_scenario.vendorId;
            pid = m_scenario.productId;
            name = m_scenario.productName;
        }
        record[HID_RECORD_VENDOR_ID] = uint8_t(vid);
        record[HID_RECORD_VENDOR_ID + 1] = uint8_t(vid >> 8);
        record[HID_RECORD_PRODUCT_ID] = uint8_t(pid);
        record[HID_RECORD_PRODUCT_ID + 1] = uint8_t(pid >> 8);
        const int len = int(std::min<qsizetype>(name.size(), 255));
        record[HID_RECORD_PRODUCT_NAME] = uint8_t(len);
        std::memcpy(record + HID_RECORD_PRODUCT_NAME + 1, name.constData(), size_t(len));
    }

    void open(uint8_t index)
    {
        std::lock_guard lock(m_mutex);
        const int count = m_scenario.otherDevices + (m_attached ? m_scenario.devices : 0);
        m_open = (index >= m_scenario.otherDevices && index < count) ? index : -1;
    }

    void close()
    {
        std::lock_guard lock(m_mutex);
        m_open = -1;
        m_queue.clear();
    }

    void write(const HIDReport &report)
    {
        std::unique_lock lock(m_mutex);
        m_written.push_back(report);
        if (m_open < 0)
            return;
        const char *p = reinterpret_cast<const char *>(report.data + 1);
        const QByteArray command(p, qstrnlen(p, 64));
        answer(command);
        lock.unlock();
        m_wake.notify_all();
    }

    void setInputHandler(void (*h)(HIDReport)) { m_input.store(h); }
    void setChangeHandler(void (*h)()) { m_change.store(h); }

    void setAttached(bool attached)
    {
        {
            std::lock_guard lock(m_mutex);
            m_attached = attached;
            if (!attached) {
                m_open = -1; // unplugged: nothing more comes
                m_queue.clear();
            }
        }
        if (auto h = m_change.load())
            h();
    }

    int writtenCount()
    {
        std::lock_guard lock(m_mutex);
        return int(m_written.size());
    }

    void writtenReport(int i, uint8_t *out)
    {
        std::lock_guard lock(m_mutex);
        if (i >= 0 && i < int(m_written.size()))
            std::memcpy(out, m_written[size_t(i)].data, 65);
    }

    long long delivered() const { return m_delivered.load(); }

    void waitIdle()
    {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return m_queue.empty() && !m_busy; });
    }

private:
    static SimScenario initialScenario()
    {
        QByteArray path = qgetenv("TRAVIK_SIM_SCENARIO");
        if (path.isEmpty()) {
            Dl_info dl;
            if (dladdr(reinterpret_cast<void *>(&HIDscanForDevices), &dl) && dl.dli_fname) {
                path = QByteArray(dl.dli_fname);
                path = path.left(path.lastIndexOf('/') + 1) + "travik-sim.ini";
            }
        }
        QFile f(QString::fromLocal8Bit(path));
        return f.open(QIODevice::ReadOnly) ? SimScenario::parse(f.readAll()) : SimScenario{};
    }

    void queueText(const QByteArray &data)
    {
        for (qsizetype pos = 0; pos < data.size(); pos += 64) {
            Report r{};
            std::memcpy(r.payload, data.constData() + pos, size_t(std::min<qsizetype>(64, data.size() - pos)));
            m_queue.push_back(r);
        }
        if (data.isEmpty()) {
            // a reply with no data is only the marker
        }
        if (!m_scenario.noEndMarker) {
            Report marker{};
            std::memcpy(marker.payload, "MESSAGE END", 11);
            m_queue.push_back(marker);
        }
    }

    void answer(const QByteArray &command)
    {
        const QByteArray serial = m_open >= m_scenario.otherDevices + 1 ? m_scenario.serial2 : m_scenario.serial;
        if (command == "s") {
            queueText(serial.leftJustified(10, '\0', true));
        } else if (command == "v") {
            queueText(m_scenario.version.leftJustified(4, '\0', true));
        } else if (command == "a") {
            const uint32_t t = uint32_t(m_scenario.runningMinutes);
            const char le[4] = {char(t), char(t >> 8), char(t >> 16), char(t >> 24)};
            queueText(QByteArray(le, 4));
        } else if (command == "0") {
            QByteArray count = m_scenario.hasCountReply ? m_scenario.countReply
                                                        : QByteArray::number(qsizetype(m_scenario.tracks.size()));
            queueText(count.leftJustified(5, '\0', true));
        } else {
            bool ok = false;
            const int n = command.toInt(&ok);
            if (ok && n >= 1 && n <= int(m_scenario.tracks.size())) {
                const SimTrack &t = m_scenario.tracks[size_t(n - 1)];
                QByteArray reply = t.header + t.records;
                if (m_scenario.oversizeReply)
                    reply.resize(qsizetype(kMaxReports + 10) * 64, '\0');
                queueText(reply);
            } else {
                queueText({});
            }
        }
    }

    void deliver()
    {
        using clock = std::chrono::steady_clock;
        auto next = clock::now();
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
            if (m_stop)
                return;
            m_busy = true;
            const Report r = m_queue.front();
            m_queue.pop_front();
            const bool paced = m_scenario.paced;
            const long long limit = m_scenario.stopAfterReports;
            const bool silent = limit >= 0 && m_delivered.load() >= limit;
            lock.unlock();
            if (!silent) {
                if (paced) {
                    next = std::max(next + std::chrono::milliseconds(1), clock::now());
                    std::this_thread::sleep_until(next);
                }
                HIDReport report{};
                std::memcpy(report.data + 1, r.payload, 64);
                if (auto h = m_input.load())
                    h(report);
                ++m_delivered;
            }
            lock.lock();
            m_busy = false;
            if (m_queue.empty())
                m_idle.notify_all();
        }
    }

    void plug(int attachAfterMs, int detachAfterMs)
    {
        const auto start = std::chrono::steady_clock::now();
        struct Step {
            int at;
            bool attach;
        };
        std::vector<Step> steps;
        if (attachAfterMs >= 0)
            steps.push_back({attachAfterMs, true});
        if (detachAfterMs >= 0)
            steps.push_back({detachAfterMs, false});
        std::sort(steps.begin(), steps.end(), [](Step a, Step b) { return a.at < b.at; });
        for (const Step &s : steps) {
            std::unique_lock lock(m_mutex);
            if (m_timerStop.wait_until(lock, start + std::chrono::milliseconds(s.at), [this] { return m_stop; }))
                return;
            lock.unlock();
            setAttached(s.attach);
        }
    }

    void stopThreads()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_timerStop.notify_all();
        if (m_worker.joinable())
            m_worker.join();
        if (m_timer.joinable())
            m_timer.join();
    }

    std::mutex m_mutex;
    std::condition_variable m_wake, m_idle, m_timerStop;
    SimScenario m_scenario;
    bool m_attached = true;
    int m_open = -1;
    bool m_stop = false;
    bool m_busy = false;
    std::deque<Report> m_queue;
    std::vector<HIDReport> m_written;
    std::atomic<long long> m_delivered{0};
    std::atomic<void (*)(HIDReport)> m_input{nullptr};
    std::atomic<void (*)()> m_change{nullptr};
    std::thread m_worker, m_timer;
};

Simulator &sim()
{
    static Simulator s;
    return s;
}

} // namespace

extern "C" {

uint8_t HIDscanForDevices(void) { return sim().scan(); }
void HIDGetDeviceInfo(uint8_t index, uint8_t *record) { sim().info(index, record); }
void HIDopenDevice(uint8_t index) { sim().open(index); }
void HIDcloseDevice(void) { sim().close(); }
void HIDwriteDevice(HIDReport report) { sim().write(report); }
void HIDsetEventHandler(void (*onInputReport)(HIDReport report)) { sim().setInputHandler(onInputReport); }
void USBsetEventHandler(void (*onDeviceChange)(void)) { sim().setChangeHandler(onDeviceChange); }

void TravikSimConfigure(const char *scenarioText) { sim().configure(SimScenario::parse(QByteArray(scenarioText))); }
void TravikSimSetAttached(int attached) { sim().setAttached(attached != 0); }
int TravikSimWrittenCount(void) { return sim().writtenCount(); }
void TravikSimWrittenReport(int index, uint8_t *report) { sim().writtenReport(index, report); }
long long TravikSimDeliveredReports(void) { return sim().delivered(); }
void TravikSimWaitIdle(void) { sim().waitIdle(); }

} // extern "C"
