// Any bytes as a track file: the INI index, every key of every section, the
// track reader and a description update must neither crash nor misbehave.
#include "IniDocument.h"
#include "TrackFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    IniDocument doc(bytes);
    for (int s = 0; s < doc.sectionCount(); ++s)
        doc.forEachKey(s, [](QByteArrayView key, QByteArrayView value) {
            if (key.size() > 0 && value.size() > IniDocument::kMaxValueChars)
                __builtin_trap();
        });
    (void)doc.readString(u"Main", u"Info", QString());
    doc.setString(u"Main", u"Info", u"описание\r\n");
    if (doc.readString(u"Main", u"Info", QString()) != QStringLiteral(u"описание"))
        __builtin_trap();

    const TrackFileReader reader = TrackFileReader::fromBytes(bytes);
    const int n = reader.pointCount();
    if (n < 0 || n > MaxTrackPoints)
        __builtin_trap();
    // Reading far points of a short file is cheap: missing sections read zero.
    for (int i = 0; i < n && i < 64; ++i)
        (void)reader.point(i);
    (void)reader.point(n);
    (void)reader.description();
    return 0;
}
