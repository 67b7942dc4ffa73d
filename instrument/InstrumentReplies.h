#pragma once

#include "TrackPoint.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

// Pure decoders of the instrument's replies, over the reply bytes.
namespace replies {

inline constexpr int kPointRecordSize = 70;
inline constexpr int kTrackHeaderSize = 17;

// Instrument identity in a device record.
inline constexpr uint16_t kVendorId = 0x1307;
inline constexpr uint16_t kProductId = 0x0045;
QByteArray instrumentProductName(); // "Travik Device  "
bool recordMatches(QByteArrayView record);

// "s": the first 10 bytes, one character each.
QString serialNumber(QByteArrayView reply);

// The text of the information box from the "s", "v" and "a" replies.
QString informationText(QByteArrayView serialReply, QByteArrayView versionReply, QByteArrayView timeReply);

// "0": bytes 0-4 as decimal text; blanks before the digits, a NUL ends the
// number. The five characters come back in `text` for the message.
std::optional<int> trackCount(QByteArrayView reply, QString *text);

// The name of the track file from the 17-byte header: 05_03_16_14_07_09.trs.
QString trackFileName(QByteArrayView header);
// A name that would leave the instrument's folder or that some file system
// refuses (so the folder could not move to another system).
bool isSafeFileName(const QString &name);

// Points in a track reply of lastByte + 1 bytes (the end marker included).
int pointCount(int lastByte);

double DdmmToDegrees(uint16_t whole, uint16_t fraction);
TrackPoint decodePointRecord(const unsigned char *record);

// "Синхронизация - p%" before track n of count.
QString syncProgressText(int n, int count);

} // namespace replies
