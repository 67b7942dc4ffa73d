#pragma once

#include "PrintGeometry.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class MapPane;
class PageSetup;
class QPrinter;

// One landscape page: the main track's description as the title, the map and
// the chart pictures side by side (or the one whose pane is shown).
class Printing
{
public:
    struct Sources {
        std::function<QImage()> chartPicture;   // the chart at its on-screen size
        std::function<MapPane &()> map;
        std::function<QImage()> offlinePicture; // the offline panel's picture
        std::function<PrintGeometry::Panes()> panes;
        PageSetup *pageSetup = nullptr;
    };
    explicit Printing(Sources sources);
    ~Printing();

    QPrinter &printer() { return *m_printer; }

    void N9Click();  // "Печать"
    void N10Click(); // "Настройка принтера"
    void N17Click(); // "Настройка страницы"

    // The scratch pictures in the program folder.
    static QString chartBitmapPath(); // 1.bmp
    static QString mapJpegPath();     // 2.jpg
    static QString mapBitmapPath();   // 2.bmp

private:
    void drawPage(QPainter &p, const QString &title, const QImage &map, const QImage &chart);

    Sources m_sources;
    std::unique_ptr<QPrinter> m_printer;
};
