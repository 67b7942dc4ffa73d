#include "TrackFields.h"

#include "NumberFormat.h"

#include <charconv>
#include <cstring>

void setTrackField(TrackPoint &p, const TrackField &f, QByteArrayView text)
{
    char *base = reinterpret_cast<char *>(&p) + f.offset;
    switch (f.kind) {
    case TrackField::U8: {
        const uint8_t v = static_cast<uint8_t>(numfmt::parseInt(text, 0) & 0xFF);
        std::memcpy(base, &v, 1);
        break;
    }
    case TrackField::I32: {
        const int32_t v = numfmt::parseInt(text, 0);
        std::memcpy(base, &v, sizeof v);
        break;
    }
    case TrackField::F64: {
        const double v = numfmt::parseReal(text, 0.0);
        std::memcpy(base, &v, sizeof v);
        break;
    }
    }
}

std::size_t formatTrackField(char *out, const TrackPoint &p, const TrackField &f, char sep)
{
    const char *base = reinterpret_cast<const char *>(&p) + f.offset;
    switch (f.kind) {
    case TrackField::U8:
        return std::size_t(std::to_chars(out, out + 4, static_cast<unsigned char>(*base)).ptr - out);
    case TrackField::I32: {
        int32_t v;
        std::memcpy(&v, base, sizeof v);
        return std::size_t(std::to_chars(out, out + 12, v).ptr - out);
    }
    case TrackField::F64: {
        double v;
        std::memcpy(&v, base, sizeof v);
        return numfmt::formatRealTo(out, v, sep);
    }
    }
    return 0;
}

void appendTrackField(QByteArray &out, const TrackPoint &p, const TrackField &f, char sep)
{
    char buf[kMaxFieldChars];
    out.append(buf, qsizetype(formatTrackField(buf, p, f, sep)));
}
