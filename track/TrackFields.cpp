#include "TrackFields.h"

#include "NumberFormat.h"

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

void appendTrackField(QByteArray &out, const TrackPoint &p, const TrackField &f, char sep)
{
    const char *base = reinterpret_cast<const char *>(&p) + f.offset;
    switch (f.kind) {
    case TrackField::U8:
        numfmt::appendInt(out, static_cast<unsigned char>(*base));
        break;
    case TrackField::I32: {
        int32_t v;
        std::memcpy(&v, base, sizeof v);
        numfmt::appendInt(out, v);
        break;
    }
    case TrackField::F64: {
        double v;
        std::memcpy(&v, base, sizeof v);
        numfmt::appendReal(out, v, sep);
        break;
    }
    }
}

