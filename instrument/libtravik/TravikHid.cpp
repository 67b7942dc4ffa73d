// The instrument's HID library for Linux: hidapi (hidraw) for the devices, a
// reader thread that hands every input report to the program in order, and a
// udev monitor that reports attach and removal of HID devices.
#include "HID_Intf.h"

#include <hidapi.h>
#include <libudev.h>

#include <atomic>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct DeviceEntry {
    std::string path;
    uint16_t vendor = 0;
    uint16_t product = 0;
    std::string name; // product string, 8-bit
};

class HidLink
{
public:
    ~HidLink()
    {
        close();
        stopMonitor();
        if (m_initialised)
            hid_exit();
    }

    uint8_t scan()
    {
        std::lock_guard lock(m_mutex);
        init();
        m_devices.clear();
        hid_device_info *list = hid_enumerate(0, 0);
        for (hid_device_info *d = list; d && m_devices.size() < 255; d = d->next) {
            DeviceEntry e;
            e.path = d->path ? d->path : "";
            e.vendor = d->vendor_id;
            e.product = d->product_id;
            for (const wchar_t *c = d->product_string; c && *c; ++c)
                e.name.push_back(*c < 256 ? char(*c) : '?');
            m_devices.push_back(std::move(e));
        }
        hid_free_enumeration(list);
        return uint8_t(m_devices.size());
    }

    void info(uint8_t index, uint8_t *record)
    {
        std::memset(record, 0, HID_DEVICE_RECORD_SIZE);
        std::lock_guard lock(m_mutex);
        if (index >= m_devices.size())
            return;
        const DeviceEntry &e = m_devices[index];
        record[HID_RECORD_VENDOR_ID] = uint8_t(e.vendor);
        record[HID_RECORD_VENDOR_ID + 1] = uint8_t(e.vendor >> 8);
        record[HID_RECORD_PRODUCT_ID] = uint8_t(e.product);
        record[HID_RECORD_PRODUCT_ID + 1] = uint8_t(e.product >> 8);
        const size_t len = std::min<size_t>(e.name.size(), 255);
        record[HID_RECORD_PRODUCT_NAME] = uint8_t(len);
        std::memcpy(record + HID_RECORD_PRODUCT_NAME + 1, e.name.data(), len);
    }

    void open(uint8_t index)
    {
        close();
        std::lock_guard lock(m_mutex);
        init();
        if (index >= m_devices.size())
            return;
        m_device = hid_open_path(m_devices[index].path.c_str());
        if (!m_device)
            return;
        m_reading = true;
        m_reader = std::thread([this, dev = m_device] { read(dev); });
    }

    void close()
    {
        m_reading = false;
        if (m_reader.joinable())
            m_reader.join();
        std::lock_guard lock(m_mutex);
        if (m_device)
            hid_close(m_device);
        m_device = nullptr;
    }

    void write(const HIDReport &report)
    {
        std::lock_guard lock(m_mutex);
        if (m_device)
            hid_write(m_device, report.data, sizeof report.data);
    }

    void setInputHandler(void (*h)(HIDReport)) { m_input.store(h); }

    void setChangeHandler(void (*h)())
    {
        m_change.store(h);
        std::lock_guard lock(m_mutex);
        if (!m_monitor.joinable()) {
            m_monitoring = true;
            m_monitor = std::thread([this] { monitor(); });
        }
    }

private:
    void init()
    {
        if (!m_initialised)
            m_initialised = hid_init() == 0;
    }

    void read(hid_device *dev)
    {
        unsigned char buf[64];
        while (m_reading) {
            const int n = hid_read_timeout(dev, buf, sizeof buf, 100);
            if (n < 0)
                break; // unplugged: the device-change callback tells the program
            if (n == 0)
                continue;
            HIDReport report{};
            std::memcpy(report.data + 1, buf, size_t(n));
            if (auto h = m_input.load())
                h(report);
        }
    }

    void monitor()
    {
        udev *u = udev_new();
        if (!u)
            return;
        udev_monitor *mon = udev_monitor_new_from_netlink(u, "udev");
        if (!mon) {
            udev_unref(u);
            return;
        }
        udev_monitor_filter_add_match_subsystem_devtype(mon, "hidraw", nullptr);
        udev_monitor_enable_receiving(mon);
        const int fd = udev_monitor_get_fd(mon);
        while (m_monitoring) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 200) <= 0)
                continue;
            udev_device *dev = udev_monitor_receive_device(mon);
            if (!dev)
                continue;
            const char *action = udev_device_get_action(dev);
            const bool change = action && (!std::strcmp(action, "add") || !std::strcmp(action, "remove"));
            udev_device_unref(dev);
            if (change)
                if (auto h = m_change.load())
                    h();
        }
        udev_monitor_unref(mon);
        udev_unref(u);
    }

    void stopMonitor()
    {
        m_monitoring = false;
        if (m_monitor.joinable())
            m_monitor.join();
    }

    std::mutex m_mutex;
    bool m_initialised = false;
    std::vector<DeviceEntry> m_devices;
    hid_device *m_device = nullptr;
    std::thread m_reader, m_monitor;
    std::atomic<bool> m_reading{false}, m_monitoring{false};
    std::atomic<void (*)(HIDReport)> m_input{nullptr};
    std::atomic<void (*)()> m_change{nullptr};
};

HidLink &link()
{
    static HidLink l;
    return l;
}

} // namespace

extern "C" {

uint8_t HIDscanForDevices(void) { return link().scan(); }
void HIDGetDeviceInfo(uint8_t index, uint8_t *record) { link().info(index, record); }
void HIDopenDevice(uint8_t index) { link().open(index); }
void HIDcloseDevice(void) { link().close(); }
void HIDwriteDevice(HIDReport report) { link().write(report); }
void HIDsetEventHandler(void (*onInputReport)(HIDReport report)) { link().setInputHandler(onInputReport); }
void USBsetEventHandler(void (*onDeviceChange)(void)) { link().setChangeHandler(onDeviceChange); }

} // extern "C"
