#include "TrackFile.h"

#include "AtomicFile.h"
#include "Cp1251.h"
#include "NumberFormat.h"
#include "StandardMessages.h"
#include "TrackFields.h"

#include <QFile>

#include <charconv>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {

const QByteArray kMain = QByteArrayLiteral("Main");

const std::unordered_map<std::string_view, int, IniDocument::FoldHash, IniDocument::FoldEqual> &fieldByKey()
{
    static const auto table = [] {
        std::unordered_map<std::string_view, int, IniDocument::FoldHash, IniDocument::FoldEqual> t;
        for (int i = 0; i < int(kTrackFields.size()); ++i)
            t.emplace(kTrackFields[size_t(i)].key, i);
        return t;
    }();
    return table;
}

// "Dot_" + index, without allocating.
QByteArrayView dotSectionName(char (&buf)[16], int index)
{
    std::memcpy(buf, "Dot_", 4);
    const auto r = std::to_chars(buf + 4, buf + sizeof buf, index);
    return QByteArrayView(buf, r.ptr - buf);
}

} // namespace

QString defaultTrackDescription()
{
    return QStringLiteral(u"Описание файла");
}

TrackFileReader::TrackFileReader(const QString &path)
{
    Status status;
    m_doc = IniDocument::load(path, &status);
    m_status = status == Status::Missing ? Status::Ok : status; // missing reads like empty
    init();
}

TrackFileReader TrackFileReader::fromBytes(QByteArray bytes)
{
    TrackFileReader r;
    r.m_doc = IniDocument(std::move(bytes));
    r.init();
    return r;
}

void TrackFileReader::init()
{
    const auto v = m_doc.value(kMain, "Dots_Count");
    m_dotsCount = v ? numfmt::parseInt(*v, 0) : 0;
}

int TrackFileReader::pointCount() const
{
    if (m_dotsCount <= 1)
        return 0;
    return qMin(m_dotsCount - 1, MaxTrackPoints);
}

TrackPoint TrackFileReader::point(int index) const
{
    TrackPoint p{};
    char name[16];
    const int section = m_doc.findSection(dotSectionName(name, index));
    if (section < 0)
        return p;
    const auto &table = fieldByKey();
    uint64_t seen = 0; // the first line of a key wins
    size_t expected = 0; // files of ours hold the keys in table order: try that first
    m_doc.forEachKey(section, [&](QByteArrayView key, QByteArrayView value) {
        int field = -1;
        if (expected < kTrackFields.size() && IniDocument::namesEqual(key, kTrackFields[expected].key)) {
            field = int(expected);
        } else {
            const auto it = table.find(std::string_view(key.data(), size_t(key.size())));
            if (it == table.end())
                return;
            field = it->second;
        }
        expected = size_t(field) + 1;
        if ((seen >> field) & 1)
            return;
        seen |= uint64_t(1) << field;
        setTrackField(p, kTrackFields[size_t(field)], value);
    });
    return p;
}

int TrackFileReader::loadInto(TrackStore &store) const
{
    const int n = pointCount();
    for (int i = 0; i < n; ++i)
        store[size_t(i)] = point(i);
    return n;
}

QString TrackFileReader::description() const
{
    const auto v = m_doc.value(kMain, "Info");
    return v ? cp1251::decode(*v) : defaultTrackDescription();
}

QByteArray trackFileBytes(std::span<const TrackPoint> points, char sep)
{
    QByteArray out;
    out.reserve(qsizetype(points.size()) * 600 + 64);
    out.append("[Main]\r\nDots_Count=");
    numfmt::appendInt(out, qint64(points.size()));
    out.append("\r\nInfo=\r\n");
    // One point's section is built in a local buffer and appended whole: the
    // file of the largest track has four and a half million lines.
    char buf[4096];
    for (size_t i = 0; i < points.size(); ++i) {
        char *o = buf;
        std::memcpy(o, "[Dot_", 5);
        o = std::to_chars(o + 5, o + 32, i).ptr;
        std::memcpy(o, "]\r\n", 3);
        o += 3;
        for (const TrackField &f : kTrackFields) {
            const size_t keyLength = std::strlen(f.key);
            std::memcpy(o, f.key, keyLength);
            o += keyLength;
            *o++ = '=';
            o += formatTrackField(o, points[i], f, sep);
            *o++ = '\r';
            *o++ = '\n';
        }
        out.append(buf, o - buf);
    }
    return out;
}

bool writeTrackFile(const QString &path, std::span<const TrackPoint> points, QString *errorMessage)
{
    return writeFileAtomically(path, trackFileBytes(points, numfmt::decimalSeparator()), errorMessage);
}

QString readTrackDescription(const QString &path)
{
    return TrackFileReader(path).description();
}

bool writeTrackDescription(const QString &path, const QString &text, QString *errorMessage)
{
    IniDocument::LoadStatus status;
    IniDocument doc = IniDocument::load(path, &status);
    if (status != IniDocument::LoadStatus::Ok && status != IniDocument::LoadStatus::Missing) {
        if (errorMessage)
            *errorMessage = unableToWriteMessage(path);
        return false;
    }
    doc.setString(u"Main", u"Info", text);
    return doc.save(path, errorMessage);
}
