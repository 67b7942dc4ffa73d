#pragma once

#include <QRect>
#include <QSize>

// Where the title and the pictures go on the landscape page, in printer pixels.
struct PrintGeometry {
    enum class Panes { MapAndChart, MapOnly, ChartOnly };

    struct Input {
        int dpiX = 600, dpiY = 600;
        int marginLeft = 1000, marginTop = 1000, marginRight = 1000; // hundredths of a millimetre
        int pageWidth = 0;   // printable width, landscape
        int titleHeight = 0; // text height of the title in its font
        Panes panes = Panes::MapAndChart;
        QSize mapPicture, chartPicture;
    };

    int px = 0, py = 0;   // pixels per millimetre
    int L = 0, R = 0, T = 0;
    int Y = 0;            // top of every picture
    QRect map, chart;     // empty where that picture is not drawn

    static PrintGeometry compute(const Input &in);
    // round(): halves to the even neighbour
    static int round(double v);
};
