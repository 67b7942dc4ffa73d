#include "Readouts.h"

#include "NumberFormat.h"

#include <cmath>

namespace readouts {

QString pointReadout(int number, const TrackPoint &p)
{
    using numfmt::formatReal;
    return QStringLiteral(u" Точка №") + QString::number(number) + QStringLiteral(u" Ш.") + formatReal(p.Lat) +
           QStringLiteral(u" Д.") + formatReal(p.Lng) + QStringLiteral(u" Глубина ") + formatReal(p.Glub) +
           QStringLiteral(u"м Ток ") + formatReal(p.Tok) + QStringLiteral(u"ма Е") + QString::number(p.E_Pole) +
           QStringLiteral(u" Н") + QString::number(p.H_Pole);
}

QString comparedReadout(int number, const TrackPoint &m, const TrackPoint &c)
{
    using numfmt::formatReal;
    auto pair = [](const QString &a, const QString &b) { return a + QLatin1Char('(') + b + QLatin1Char(')'); };
    return QStringLiteral(u" Точка №") + QString::number(number) + QStringLiteral(u" Ш.") +
           pair(formatReal(m.Lat), formatReal(c.Lat)) + QStringLiteral(u" Д.") + pair(formatReal(m.Lng), formatReal(c.Lng)) +
           QStringLiteral(u" Глубина ") + pair(formatReal(m.Glub), formatReal(c.Glub)) + QStringLiteral(u"м Ток ") +
           pair(formatReal(m.Tok), formatReal(c.Tok)) + QStringLiteral(u"ма Е") +
           pair(QString::number(m.E_Pole), QString::number(c.E_Pole)) + QStringLiteral(u" Н") +
           pair(QString::number(m.H_Pole), QString::number(c.H_Pole));
}

int pointerIndex(double axisValue)
{
    if (!std::isfinite(axisValue) || axisValue <= 0)
        return 0;
    const double r = std::nearbyint(axisValue); // the default rounding mode: halves to even
    return r > 2e9 ? 2000000000 : int(r);
}

} // namespace readouts
