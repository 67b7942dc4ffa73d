#pragma once

#include "ReportTransport.h"

#include <QObject>
#include <QString>

class HidLibrary;
class InstrumentView;

// Detection and registration, instrument information and synchronisation over
// one transport. One command at a time: a device change that arrives while a
// command runs is held and detected when it ends; information and
// synchronisation are refused while another command waits.
class InstrumentLink : public QObject
{
    Q_OBJECT
public:
    InstrumentLink(HidLibrary &library, InstrumentView &view, QObject *parent = nullptr);
    ~InstrumentLink() override;

    // Registers the two callbacks with the library; once per run.
    void registerCallbacks();

    void ScanButClick();
    void N16Click();
    void N6Click();
    // The main window's end: an open instrument is closed.
    void closeDevice();

    bool instrumentFound() const { return m_found; }
    bool busy() const { return m_commandRunning; }
    int DeviceIndex = -1;
    QString DeviceSerial;

    ReportTransport &transport() { return m_transport; }

    static QString newInstrumentPrompt();
    static QString syncDoneText();

private:
    static void OnDeviceChange();
    Q_INVOKABLE void deviceChanged();
    void CheckDevice(uint8_t index, const unsigned char *record);
    void registerNewInstrument();
    void synchroniseTrack(int n, int count, const QString &folder);
    bool beginCommand();
    void endCommand();

    HidLibrary &m_library;
    InstrumentView &m_view;
    ReportTransport m_transport;
    bool m_found = false;
    bool m_commandRunning = false;
    bool m_detectionPending = false;
};
