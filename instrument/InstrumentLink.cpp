#include "InstrumentLink.h"

#include "HidLibrary.h"
#include "InstrumentReplies.h"
#include "InstrumentView.h"
#include "StandardMessages.h"
#include "TrackFile.h"
#include "TrackFolders.h"

#include <QDir>
#include <QFileInfo>

#include <functional>
#include <vector>

namespace {

InstrumentLink *g_link = nullptr;

// Marks a command as running for its whole length, also when it throws.
struct CommandScope {
    explicit CommandScope(std::function<void()> end) : m_end(std::move(end)) {}
    ~CommandScope() { m_end(); }
    std::function<void()> m_end;
};

} // namespace

InstrumentLink::InstrumentLink(HidLibrary &library, InstrumentView &view, QObject *parent)
    : QObject(parent), m_library(library), m_view(view), m_transport(library)
{
    g_link = this;
}

InstrumentLink::~InstrumentLink()
{
    if (g_link == this)
        g_link = nullptr;
}

QString InstrumentLink::newInstrumentPrompt()
{
    return QStringLiteral(u"Обнаружен новый прибор, введите его псевдоним:");
}

QString InstrumentLink::syncDoneText()
{
    return QStringLiteral(u"Синхронизация - завершена");
}

void InstrumentLink::registerCallbacks()
{
    m_library.setEventHandler(&ReportTransport::OnInputReport);
    m_library.setUsbEventHandler(&InstrumentLink::OnDeviceChange);
}

void InstrumentLink::OnDeviceChange()
{
    // Called on the library's thread: detection runs on the interface thread.
    if (g_link)
        QMetaObject::invokeMethod(g_link, &InstrumentLink::deviceChanged, Qt::QueuedConnection);
}

void InstrumentLink::deviceChanged()
{
    if (m_commandRunning) {
        m_detectionPending = true;
        return;
    }
    ScanButClick();
}

bool InstrumentLink::beginCommand()
{
    if (m_commandRunning)
        return false;
    m_commandRunning = true;
    return true;
}

void InstrumentLink::endCommand()
{
    m_commandRunning = false;
    if (m_detectionPending) {
        m_detectionPending = false;
        QMetaObject::invokeMethod(this, &InstrumentLink::ScanButClick, Qt::QueuedConnection);
    }
}

void InstrumentLink::ScanButClick()
{
    if (m_commandRunning) {
        m_detectionPending = true;
        return;
    }
    beginCommand();
    CommandScope scope([this] { endCommand(); });

    m_found = false;
    m_view.setInstrumentFound(false);
    if (m_transport.DeviceOpen)
        m_library.closeDevice();
    m_transport.DeviceOpen = false;
    const uint8_t count = m_library.scanForDevices();
    for (int i = 0; i < count; ++i) {
        unsigned char record[HID_DEVICE_RECORD_SIZE] = {};
        m_library.getDeviceInfo(uint8_t(i), record);
        CheckDevice(uint8_t(i), record);
    }
    if (!m_found)
        return;
    m_library.openDevice(uint8_t(DeviceIndex & 0xFF));
    m_transport.DeviceOpen = true;
    try {
        m_transport.QueryDevice("s");
    } catch (const TravikError &) {
        // Without its serial number the instrument's folder is unknown:
        // synchronising now would file its tracks under another instrument.
        m_library.closeDevice();
        m_transport.DeviceOpen = false;
        m_found = false;
        m_view.setInstrumentFound(false);
        throw;
    }
    DeviceSerial = replies::serialNumber(m_transport.reply());
    registerNewInstrument();
}

void InstrumentLink::CheckDevice(uint8_t index, const unsigned char *record)
{
    if (!replies::recordMatches(QByteArrayView(reinterpret_cast<const char *>(record), HID_DEVICE_RECORD_SIZE)))
        return;
    m_found = true;
    m_view.setInstrumentFound(true);
    DeviceIndex = index;
}

void InstrumentLink::registerNewInstrument()
{
    const QString folder = trackFolder(DeviceSerial);
    if (!replies::isSafeFileName(DeviceSerial))
        throw TravikError(unableToWriteMessage(aliasFilePath(folder)));
    if (QFileInfo(folder).isDir())
        return;
    QDir().mkpath(folder);
    QString alias = m_view.askText(newInstrumentPrompt(), DeviceSerial);
    if (alias.isEmpty())
        alias = DeviceSerial;
    QString error;
    if (!writeAlias(folder, alias, &error))
        throw TravikError(error);
}

void InstrumentLink::N16Click()
{
    if (!m_found)
        return;
    if (!beginCommand())
        throw TravikError(ReportTransport::busyMessage());
    CommandScope scope([this] { endCommand(); });
    // Each reply is copied: the next exchange reuses the buffer.
    m_transport.QueryDevice("s");
    const QByteArray serial = m_transport.reply().toByteArray();
    m_transport.QueryDevice("v");
    const QByteArray version = m_transport.reply().toByteArray();
    m_transport.QueryDevice("a");
    const QByteArray time = m_transport.reply().toByteArray();
    m_view.showMessage(replies::informationText(serial, version, time));
}

void InstrumentLink::N6Click()
{
    if (!m_found)
        return;
    if (!beginCommand())
        throw TravikError(ReportTransport::busyMessage());
    m_view.setLoadMenuAvailable(false);
    // "Загрузить" comes back also when the synchronisation stops on an error.
    CommandScope scope([this] {
        m_view.setLoadMenuAvailable(true);
        endCommand();
    });

    m_transport.QueryDevice("0");
    QString countText;
    const auto count = replies::trackCount(m_transport.reply(), &countText);
    if (!count)
        throw TravikError(notValidIntegerMessage(countText));
    const QString folder = trackFolder(DeviceSerial);
    for (int n = 1; n <= *count; ++n)
        synchroniseTrack(n, *count, folder);
    m_view.setStatusText(syncDoneText());
}

void InstrumentLink::synchroniseTrack(int n, int count, const QString &folder)
{
    m_view.setStatusText(replies::syncProgressText(n, count));
    m_transport.QueryDevice(QByteArray::number(n));
    const QByteArrayView reply = m_transport.reply();
    if (reply.size() < replies::kTrackHeaderSize + 64)
        return; // only the end marker: no header, nothing to keep
    const QString name = replies::trackFileName(reply);
    const QString path = folder + QLatin1Char('/') + name;
    if (!replies::isSafeFileName(name))
        throw TravikError(unableToWriteMessage(path));
    if (QFileInfo::exists(path))
        return; // on the computer already: the fetched reply is dropped
    const int points = replies::pointCount(m_transport.UsbLastByte());
    std::vector<TrackPoint> decoded;
    decoded.reserve(size_t(points));
    const auto *bytes = reinterpret_cast<const unsigned char *>(reply.data());
    for (int i = 0; i < points; ++i)
        decoded.push_back(replies::decodePointRecord(bytes + replies::kTrackHeaderSize + replies::kPointRecordSize * i));
    QString error;
    if (!writeTrackFile(path, decoded, &error))
        throw TravikError(error);
}

void InstrumentLink::closeDevice()
{
    if (m_transport.DeviceOpen)
        m_library.closeDevice();
    m_transport.DeviceOpen = false;
}
