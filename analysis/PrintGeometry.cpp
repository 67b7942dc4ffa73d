#include "PrintGeometry.h"

#include <cmath>

int PrintGeometry::round(double v)
{
    return int(std::nearbyint(v));
}

PrintGeometry PrintGeometry::compute(const Input &in)
{
    PrintGeometry g;
    g.px = round(in.dpiX / 25.4);
    g.py = round(in.dpiY / 25.4);
    g.L = round(in.marginLeft / 100.0 * g.px);
    g.R = round(in.marginRight / 100.0 * g.px);
    g.T = round(in.marginTop / 100.0 * g.py);
    g.Y = 3 * in.titleHeight + g.T;
    const int W = in.pageWidth;
    auto rect = [&](int left, int right, double referenceWidth, QSize picture) {
        if (picture.width() <= 0)
            return QRect();
        const int bottom = round(referenceWidth * picture.height() / picture.width());
        return QRect(QPoint(left, g.Y), QPoint(right - 1, bottom - 1)); // right and bottom exclusive
    };
    switch (in.panes) {
    case Panes::MapAndChart:
        g.map = rect(g.L, round(W / 2.0), W / 2.0, in.mapPicture);
        g.chart = rect(round(W / 2.0), W - g.R, W / 2.0, in.chartPicture);
        break;
    case Panes::MapOnly:
        g.map = rect(g.L, W - g.R, W - g.R, in.mapPicture);
        break;
    case Panes::ChartOnly:
        g.chart = rect(g.L, W - g.R, W - g.R, in.chartPicture);
        break;
    }
    return g;
}
