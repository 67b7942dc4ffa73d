#include "InstrumentReplies.h"

#include "Cp1251.h"
#include "HID_Intf.h"

#include <cmath>

namespace replies {
namespace {

uint16_t word(const unsigned char *p)
{
    return uint16_t((p[0] << 8) | p[1]);
}

QString chars(QByteArrayView reply, qsizetype n)
{
    return cp1251::decode(reply.first(qMin(n, reply.size())));
}

} // namespace

QByteArray instrumentProductName()
{
    return QByteArrayLiteral("Travik Device  ");
}

bool recordMatches(QByteArrayView record)
{
    if (record.size() < HID_DEVICE_RECORD_SIZE)
        return false;
    const auto *r = reinterpret_cast<const unsigned char *>(record.data());
    const uint16_t vendor = uint16_t(r[HID_RECORD_VENDOR_ID] | (r[HID_RECORD_VENDOR_ID + 1] << 8));
    const uint16_t product = uint16_t(r[HID_RECORD_PRODUCT_ID] | (r[HID_RECORD_PRODUCT_ID + 1] << 8));
    const int nameLength = r[HID_RECORD_PRODUCT_NAME];
    const QByteArrayView name = record.sliced(HID_RECORD_PRODUCT_NAME + 1, nameLength);
    return vendor == kVendorId && product == kProductId && name == instrumentProductName();
}

QString serialNumber(QByteArrayView reply)
{
    return chars(reply, 10);
}

QString informationText(QByteArrayView serialReply, QByteArrayView versionReply, QByteArrayView timeReply)
{
    int32_t t = 0;
    if (timeReply.size() >= 4) {
        const auto *p = reinterpret_cast<const unsigned char *>(timeReply.data());
        t = int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    }
    const int32_t hours = t / 60; // C++ division cuts towards zero
    const int32_t minutes = t - 60 * hours;
    return QStringLiteral(u"Версия прибора: ") + chars(versionReply, 4) + QStringLiteral("\r\n") +
           QStringLiteral(u"Серийный номер прибора: ") + chars(serialReply, 10) + QStringLiteral("\r\n") +
           QStringLiteral(u"Общее время работы прибора: ") + QString::number(hours) + QStringLiteral(u" часов ") +
           QString::number(minutes) + QStringLiteral(u" минут");
}

std::optional<int> trackCount(QByteArrayView reply, QString *text)
{
    QByteArrayView five = reply.first(qMin<qsizetype>(5, reply.size()));
    const qsizetype nul = five.indexOf('\0');
    if (nul >= 0)
        five = five.first(nul);
    if (text)
        *text = cp1251::decode(five);
    qsizetype i = 0;
    while (i < five.size() && five[i] == ' ')
        ++i;
    QByteArrayView digits = five.sliced(i);
    qsizetype j = 0;
    if (j < digits.size() && (digits[j] == '-' || digits[j] == '+'))
        ++j;
    if (j == digits.size())
        return std::nullopt;
    for (qsizetype k = j; k < digits.size(); ++k)
        if (digits[k] < '0' || digits[k] > '9')
            return std::nullopt;
    return QByteArray(digits.data(), digits.size()).toInt();
}

QString trackFileName(QByteArrayView header)
{
    QByteArray h(header.data(), qMin<qsizetype>(header.size(), kTrackHeaderSize));
    h.resize(kTrackHeaderSize, ' ');
    QByteArray name;
    for (int start : {0, 3, 6, 9, 12, 15}) {
        if (start)
            name.append('_');
        name.append(h.constData() + start, 2);
    }
    return cp1251::decode(name) + QStringLiteral(".trs");
}

bool isSafeFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (QChar c : name) {
        if (c.unicode() < 32 || QStringView(u"<>:\"/\\|?*").contains(c))
            return false;
    }
    return true;
}

int pointCount(int lastByte)
{
    const double p = std::trunc(double(lastByte + 1 - kTrackHeaderSize - 64) / kPointRecordSize);
    return p > 0 ? int(p) : 0;
}

double DdmmToDegrees(uint16_t whole, uint16_t fraction)
{
    const double x = whole + fraction / 10000.0;
    const double d = std::trunc(x / 100);
    return (x - 100 * d) / 60 + d;
}

TrackPoint decodePointRecord(const unsigned char *r)
{
    TrackPoint p{};
    p.Hours = r[0];
    p.Minutes = r[1];
    p.Seconds = r[2];
    p.Day = r[3];
    p.Month = r[4];
    p.Year = r[5];
    p.Lat = DdmmToDegrees(word(r + 6), word(r + 8));
    p.Lng = DdmmToDegrees(word(r + 10), word(r + 12));
    p.E_Pole = word(r + 14);
    p.Glub = word(r + 16) + word(r + 18) / 1000.0;
    p.Tok = word(r + 20) + word(r + 22) / 1000.0;
    p.filtr_st = r[24];
    p.trace_DCR = r[25];
    p.fr_sel_flag = r[26];
    p.fr_prom_flag = r[27];
    p.setting_flag = r[28];
    p.write_flag = r[29];
    p.write_step = r[30];
    p.Bat = word(r + 31);
    p.H_Pole = word(r + 33);
    uint8_t *reservedLow[] = {&p.Reserv_0, &p.Reserv_1, &p.Reserv_2, &p.Reserv_3, &p.Reserv_4, &p.Reserv_5};
    for (int i = 0; i < 6; ++i)
        *reservedLow[i] = r[35 + i];
    int32_t *words[] = {&p.A_Sel, &p.B_Sel, &p.C_Sel, &p.D_Sel, &p.E_Sel,
                        &p.A_Prom, &p.B_Prom, &p.C_Prom, &p.D_Prom, &p.E_Prom};
    for (int i = 0; i < 10; ++i)
        *words[i] = word(r + 41 + 2 * i);
    p.Us_Sel = r[61];
    p.Us_Prom = r[62];
    p.Us_Mshu = r[63];
    uint8_t *reservedHigh[] = {&p.Reserv_6, &p.Reserv_7, &p.Reserv_8, &p.Reserv_9, &p.Reserv_10, &p.Reserv_11};
    for (int i = 0; i < 6; ++i)
        *reservedHigh[i] = r[64 + i];
    return p;
}

QString syncProgressText(int n, int count)
{
    const int p = int(std::trunc(100.0 / count * n)) - 1;
    // With more than 100 tracks the first would show -1 %.
    return QStringLiteral(u"Синхронизация - %1%").arg(qMax(0, p));
}

} // namespace replies
