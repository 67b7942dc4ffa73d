#include "MapScripts.h"

#include "NumberFormat.h"

#include <QUrl>

namespace mapscripts {

QString quoted(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case 0x2028: out += QLatin1String("\\u2028"); break;
        case 0x2029: out += QLatin1String("\\u2029"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString number(double v)
{
    return numfmt::formatRealForScript(v);
}

QString ya_setic(const QString &mainIcon, const QString &comparedIcon, const QString &markIcon)
{
    return QStringLiteral("ya_setic(") + quoted(mainIcon) + QLatin1Char(',') + quoted(comparedIcon) + QLatin1Char(',') +
           quoted(markIcon) + QLatin1Char(')');
}

QString ya_add_point(int index, double lat, double lng)
{
    const QString i = QString::number(index);
    return QStringLiteral("ya_add_point(") + i + QStringLiteral(",\"") + i + QStringLiteral("\",") + number(lat) +
           QLatin1Char(',') + number(lng) + QLatin1Char(')');
}

QString ya_add_point1(int index, double lat, double lng)
{
    const QString i = QString::number(index);
    return QStringLiteral("ya_add_point1(") + i + QStringLiteral(",\"1-") + i + QStringLiteral("\",") + number(lat) +
           QLatin1Char(',') + number(lng) + QLatin1Char(')');
}

QString ya_mark(const QString &name, double lat, double lng)
{
    return QStringLiteral("ya_mark(") + quoted(name) + QLatin1Char(',') + number(lat) + QLatin1Char(',') + number(lng) +
           QLatin1Char(')');
}

QString iconAddress(const QString &programFolder, const QString &file)
{
    QString folder = programFolder;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder + QStringLiteral("/media/") + file;
}

std::optional<QString> clickValue(const QString &location)
{
    const qsizetype hash = location.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return std::nullopt;
    const QString fragment = QUrl::fromPercentEncoding(location.mid(hash + 1).toUtf8());
    const QString key = QStringLiteral("name=");
    if (!fragment.startsWith(key) || fragment.size() == key.size())
        return std::nullopt;
    return fragment.mid(key.size());
}

} // namespace mapscripts
