#include "Printing.h"

#include "AtomicFile.h"
#include "JpegCodec.h"
#include "MapPane.h"
#include "PageSetup.h"
#include "ProgramFolder.h"
#include "StandardMessages.h"
#include "TrackFile.h"
#include "TrackStore.h"
#include "UserDialogs.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>

namespace {

QByteArray bitmapBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

void saveBitmap(const QImage &image, const QString &path)
{
    QString error;
    if (image.isNull() || !writeFileAtomically(path, bitmapBytes(image), &error))
        throw TravikError(error.isEmpty() ? unableToWriteMessage(path) : error);
}

QImage loadBitmap(const QString &path)
{
    QImage image;
    if (!image.load(path, "BMP"))
        throw TravikError(QStringLiteral("Cannot open file \"%1\"").arg(QDir::toNativeSeparators(path)));
    return image;
}

// The scratch pictures go on every way out, also after a failure.
struct ScratchFiles {
    ~ScratchFiles()
    {
        QFile::remove(Printing::chartBitmapPath());
        QFile::remove(Printing::mapBitmapPath());
        QFile::remove(Printing::mapJpegPath());
    }
};

} // namespace

Printing::Printing(Sources sources)
    : m_sources(std::move(sources)), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Landscape);
    m_printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

Printing::~Printing() = default;

QString Printing::chartBitmapPath()
{
    return programPath(QStringLiteral("1.bmp"));
}

QString Printing::mapJpegPath()
{
    return programPath(QStringLiteral("2.jpg"));
}

QString Printing::mapBitmapPath()
{
    return programPath(QStringLiteral("2.bmp"));
}

void Printing::N9Click()
{
    QPrinter &printer = *m_printer;
    printer.setCopyCount(1);
    if (!userDialogs().printDialog(printer))
        return;
    const int copies = qMax(1, printer.copyCount());
    printer.setPageOrientation(QPageLayout::Landscape);
    const QString title = MainTrackPath.isEmpty() ? defaultTrackDescription() : readTrackDescription(MainTrackPath);

    ScratchFiles scratch;
    saveBitmap(m_sources.chartPicture(), chartBitmapPath());
    MapPane &map = m_sources.map();
    if (map.IsOnline()) {
        map.SaveMapPicture(mapJpegPath());
    } else {
        const QImage offline = m_sources.offlinePicture();
        QString error;
        if (!offline.isNull() && !jpeg::save(offline, mapJpegPath(), &error))
            throw TravikError(error);
    }
    QString error;
    const QImage mapJpeg = jpeg::load(mapJpegPath(), &error);
    if (mapJpeg.isNull())
        throw TravikError(QStringLiteral("Cannot open file \"%1\"").arg(QDir::toNativeSeparators(mapJpegPath())));
    saveBitmap(mapJpeg.convertToFormat(QImage::Format_RGB32), mapBitmapPath());
    const QImage mapPicture = loadBitmap(mapBitmapPath());
    const QImage chartPicture = loadBitmap(chartBitmapPath());

    // Engines that cannot print copies themselves get the page that often.
    const bool ownCopies = printer.supportsMultipleCopies();
    if (!ownCopies)
        printer.setCopyCount(1);
    QPainter painter;
    if (!painter.begin(&printer))
        throw TravikError(QStringLiteral(u"Не удалось начать печать на принтере %1").arg(printer.printerName()));
    for (int copy = 0; copy < (ownCopies ? 1 : copies); ++copy) {
        if (copy > 0)
            printer.newPage();
        drawPage(painter, title, mapPicture, chartPicture);
    }
    painter.end();
    if (!ownCopies)
        printer.setCopyCount(copies);
}

void Printing::drawPage(QPainter &p, const QString &title, const QImage &map, const QImage &chart)
{
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setBold(true);
    p.setFont(font);
    const QFontMetrics fm(font, m_printer.get());
    PrintGeometry::Input in;
    in.dpiX = m_printer->logicalDpiX();
    in.dpiY = m_printer->logicalDpiY();
    in.marginLeft = m_sources.pageSetup->marginLeft;
    in.marginTop = m_sources.pageSetup->marginTop;
    in.marginRight = m_sources.pageSetup->marginRight;
    in.pageWidth = m_printer->width();
    in.titleHeight = fm.height();
    in.panes = m_sources.panes();
    in.mapPicture = map.size();
    in.chartPicture = chart.size();
    const PrintGeometry g = PrintGeometry::compute(in);
    p.setPen(Qt::black);
    const int x = PrintGeometry::round((in.pageWidth - fm.horizontalAdvance(title)) / 2.0);
    p.drawText(x, g.T + fm.ascent(), title);
    if (!g.map.isEmpty())
        p.drawImage(g.map, map);
    if (!g.chart.isEmpty())
        p.drawImage(g.chart, chart);
}

void Printing::N10Click()
{
    m_printer->setPageOrientation(QPageLayout::Landscape);
    userDialogs().printerSetupDialog(*m_printer);
    m_printer->setPageOrientation(QPageLayout::Landscape);
}

void Printing::N17Click()
{
    PageSetup &ps = *m_sources.pageSetup;
    m_printer->setPageOrientation(QPageLayout::Landscape);
    // The dialog works in millimetres; the settings keep hundredths.
    m_printer->setPageMargins(QMarginsF(ps.marginLeft / 100.0, ps.marginTop / 100.0, ps.marginRight / 100.0,
                                        ps.marginBottom / 100.0),
                              QPageLayout::Millimeter);
    if (userDialogs().pageSetupDialog(*m_printer)) {
        const QMarginsF m = m_printer->pageLayout().margins(QPageLayout::Millimeter);
        ps.marginLeft = qRound(m.left() * 100);
        ps.marginTop = qRound(m.top() * 100);
        ps.marginRight = qRound(m.right() * 100);
        ps.marginBottom = qRound(m.bottom() * 100);
    }
    // Our own layout places everything from the margins: the printer's own stay at zero.
    m_printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    m_printer->setPageOrientation(QPageLayout::Landscape);
}
