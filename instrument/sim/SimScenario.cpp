#include "SimScenario.h"

#include "IniDocument.h"
#include "NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

void putWord(unsigned char *p, unsigned v)
{
    p[0] = static_cast<unsigned char>(v >> 8);
    p[1] = static_cast<unsigned char>(v);
}

// Degrees as the instrument sends them: degrees × 100 + whole minutes, and
// ten-thousandths of a minute.
void putDdmm(unsigned char *p, double degrees)
{
    const int d = int(degrees);
    const double minutes = (degrees - d) * 60.0;
    int whole = int(minutes);
    int fraction = int(std::lround((minutes - whole) * 10000.0));
    if (fraction >= 10000) {
        fraction -= 10000;
        ++whole;
    }
    putWord(p, unsigned(d * 100 + whole));
    putWord(p + 2, unsigned(fraction));
}

void putMilli(unsigned char *p, double v)
{
    const long milli = std::lround(v * 1000.0);
    putWord(p, unsigned(milli / 1000));
    putWord(p + 2, unsigned(milli % 1000));
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QByteArray fromHex(QByteArrayView text)
{
    QByteArray out;
    int high = -1;
    for (char c : text) {
        const int v = hexValue(c);
        if (v < 0)
            continue;
        if (high < 0) {
            high = v;
        } else {
            out.append(char(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

} // namespace

QByteArray generateRecords(int count, double lat, double lng, unsigned seed)
{
    QByteArray out(qsizetype(count) * 70, '\0');
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, 1.0);
    double depth = 1.1 + (seed % 5) * 0.1, current = 120.0 + (seed % 7) * 10;
    for (int i = 0; i < count; ++i) {
        auto *r = reinterpret_cast<unsigned char *>(out.data()) + 70 * i;
        const int t = 9 * 3600 + int(seed % 8) * 600 + i * 2;
        r[0] = static_cast<unsigned char>(t / 3600 % 24);
        r[1] = static_cast<unsigned char>(t / 60 % 60);
        r[2] = static_cast<unsigned char>(t % 60);
        r[3] = 21;
        r[4] = 10;
        r[5] = 24;
        // about a metre and a half a point, with a gentle bend
        putDdmm(r + 6, lat + i * 0.0000105 + 0.00003 * std::sin(i / 60.0));
        putDdmm(r + 10, lng + i * 0.000012);
        depth = std::clamp(depth + 0.015 * noise(rng), 0.4, 3.5);
        current = std::clamp(current + 1.5 * noise(rng), 20.0, 600.0);
        const double e = std::clamp(2500.0 + 900.0 * std::sin(i / 35.0) + 60 * noise(rng), 0.0, 65535.0);
        const double h = std::clamp(18000.0 / (depth * depth) + 150 * noise(rng), 0.0, 65535.0);
        putWord(r + 14, unsigned(e));
        putMilli(r + 16, depth);
        putMilli(r + 20, current);
        r[24] = 1;
        r[26] = static_cast<unsigned char>(seed % 5); // generator frequency
        r[29] = 1;
        r[30] = 2;
        putWord(r + 31, unsigned(3900 - i / 50));
        putWord(r + 33, unsigned(h));
        for (int k = 0; k < 10; ++k)
            putWord(r + 41 + 2 * k, unsigned(1000 + 10 * k + i % 5));
        r[61] = 3;
        r[62] = 2;
        r[63] = 1;
    }
    return out;
}

SimScenario SimScenario::parse(const QByteArray &iniText)
{
    const IniDocument ini(iniText);
    SimScenario s;
    const int inst = ini.findSection("Instrument");
    auto text = [&](const char *key, const QByteArray &fallback) {
        const auto v = ini.value(inst, key);
        return v ? QByteArray(v->data(), v->size()) : fallback;
    };
    auto number = [&](const char *key, long long fallback) {
        const auto v = ini.value(inst, key);
        if (!v)
            return fallback;
        bool ok = false;
        const long long n = QByteArray(v->data(), v->size()).toLongLong(&ok, 0);
        return ok ? n : fallback;
    };
    s.serial = text("Serial", s.serial);
    s.serial2 = text("Serial2", s.serial2);
    s.version = text("Version", s.version);
    s.runningMinutes = int32_t(number("RunningMinutes", 0));
    // Trailing blanks matter in the product name: write it in quotes.
    s.productName = text("ProductName", s.productName);
    s.vendorId = uint16_t(number("VendorId", s.vendorId));
    s.productId = uint16_t(number("ProductId", s.productId));
    s.devices = int(number("Devices", 1));
    s.otherDevices = int(number("OtherDevices", 0));
    s.attached = number("Attached", 1) != 0;
    s.attachAfterMs = int(number("AttachAfterMs", -1));
    s.detachAfterMs = int(number("DetachAfterMs", -1));
    s.paced = number("Paced", 0) != 0;
    s.stopAfterReports = number("StopAfterReports", -1);
    s.noEndMarker = number("NoEndMarker", 0) != 0;
    if (const auto v = ini.value(inst, "CountReply")) {
        s.hasCountReply = true;
        s.countReply = QByteArray(v->data(), v->size());
    }
    s.oversizeReply = number("OversizeReply", 0) != 0;

    for (int n = 1;; ++n) {
        const QByteArray name = "Track" + QByteArray::number(n);
        const int sec = ini.findSection(name);
        if (sec < 0)
            break;
        SimTrack t;
        const auto header = ini.value(sec, "Header");
        t.header = header ? QByteArray(header->data(), header->size()) : QByteArray("01.01.24 00:00:00");
        t.header = t.header.leftJustified(17, ' ', true);
        const auto points = ini.value(sec, "Points");
        const int count = points ? numfmt::parseInt(*points, 0) : 0;
        const auto lat = ini.value(sec, "Lat");
        const auto lng = ini.value(sec, "Lng");
        const auto seed = ini.value(sec, "Seed");
        t.records = generateRecords(qMax(0, count), lat ? numfmt::parseReal(*lat, 53.9) : 53.9,
                                    lng ? numfmt::parseReal(*lng, 27.55) : 27.55,
                                    unsigned(seed ? numfmt::parseInt(*seed, n) : n));
        for (int i = 0;; ++i) {
            const auto rec = ini.value(sec, "Record" + QByteArray::number(i));
            if (!rec)
                break;
            QByteArray bytes = fromHex(*rec).leftJustified(70, '\0', true);
            if (t.records.size() < qsizetype(i + 1) * 70)
                t.records.resize(qsizetype(i + 1) * 70, '\0');
            t.records.replace(qsizetype(i) * 70, 70, bytes);
        }
        s.tracks.push_back(std::move(t));
    }
    return s;
}
