#pragma once

#include "IniDocument.h"
#include "TrackStore.h"

#include <QString>

#include <span>

// Texts of track files shared by every reader.
QString defaultTrackDescription(); // "Описание файла", shown where Info is absent

// Reads a track file: Dots_Count N gives the points of sections Dot_0 … Dot_(N-2);
// every missing key reads 0. Never fails: a missing, unreadable or malformed file
// reads as far as it makes sense, and status() tells why it may be short.
class TrackFileReader
{
public:
    using Status = IniDocument::LoadStatus;

    explicit TrackFileReader(const QString &path);
    static TrackFileReader fromBytes(QByteArray bytes);

    Status status() const { return m_status; }
    int dotsCount() const { return m_dotsCount; }
    // Points the loader takes: N-1, never below 0, never above MaxTrackPoints.
    int pointCount() const;
    // The file asks for more points than a store holds.
    bool truncated() const { return m_dotsCount - 1 > MaxTrackPoints; }

    TrackPoint point(int index) const;
    // Writes entries 0 … pointCount()-1 and leaves the rest; returns the count.
    int loadInto(TrackStore &store) const;

    // Info of "Main", with the fallback "Описание файла".
    QString description() const;

private:
    TrackFileReader() = default;
    void init();

    IniDocument m_doc;
    Status m_status = Status::Ok;
    int m_dotsCount = 0;
};

// The bytes synchronisation writes: Dots_Count, an empty Info, then every point
// section with its 45 keys in order; reals with the given decimal separator.
QByteArray trackFileBytes(std::span<const TrackPoint> points, char decimalSeparator);

// Writes a track file atomically. On failure errorMessage is "Unable to write to <path>".
bool writeTrackFile(const QString &path, std::span<const TrackPoint> points, QString *errorMessage = nullptr);

QString readTrackDescription(const QString &path);

// Changes only Info of "Main"; a missing file is created holding only that.
// A file that exists but cannot be read is left alone and reported.
bool writeTrackDescription(const QString &path, const QString &text, QString *errorMessage = nullptr);
