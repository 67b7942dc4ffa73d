#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

// What the emulated instrument holds and how it misbehaves, read from an INI
// scenario:
//
//   [Instrument]  Serial, Serial2 (second matching device), Version,
//                 RunningMinutes, ProductName, VendorId, ProductId,
//                 Devices (matching devices, 1), OtherDevices (0),
//                 Attached (1), AttachAfterMs, DetachAfterMs, Paced (0: as fast
//                 as possible; 1: one report per millisecond),
//                 StopAfterReports, NoEndMarker, CountReply, OversizeReply
//   [Track1] …    Header (17 characters), Points (generated), Lat, Lng, Seed,
//                 Record0, Record1, … (70 bytes each as hex; replace generated ones)
struct SimTrack {
    QByteArray header;  // 17 bytes
    QByteArray records; // 70 bytes each
};

struct SimScenario {
    QByteArray serial = "0000000001";
    QByteArray serial2 = "0000000002";
    QByteArray version = "V2.1";
    int32_t runningMinutes = 0;
    QByteArray productName = "Travik Device  ";
    uint16_t vendorId = 0x1307;
    uint16_t productId = 0x0045;
    int devices = 1;
    int otherDevices = 0;
    bool attached = true;
    int attachAfterMs = -1;
    int detachAfterMs = -1;
    bool paced = false;
    long long stopAfterReports = -1;
    bool noEndMarker = false;
    bool hasCountReply = false;
    QByteArray countReply;
    bool oversizeReply = false;
    std::vector<SimTrack> tracks;

    static SimScenario parse(const QByteArray &iniText);
};

// Records of a generated track: `count` points along a line from (lat, lng).
QByteArray generateRecords(int count, double lat, double lng, unsigned seed);
