#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

// JPEG through libjpeg: every picture the program writes or reads as JPEG
// (previews, the map picture of a print, the About pictures) passes here.
namespace jpeg {

// Encodes with the encoder's default settings (quality 75) unless told otherwise.
// Returns an empty array when the image is null.
QByteArray encode(const QImage &image, int quality = -1);

// A null image when the bytes are not a JPEG picture; errorMessage says why.
QImage decode(QByteArrayView bytes, QString *errorMessage = nullptr);

QImage load(const QString &path, QString *errorMessage = nullptr);

// Written atomically; on failure errorMessage is "Unable to write to <path>".
bool save(const QImage &image, const QString &path, QString *errorMessage = nullptr, int quality = -1);

} // namespace jpeg
