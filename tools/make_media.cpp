// Draws the pictures delivered beside the executable: the map point icons, the
// picture shown where a track has no preview, and the two About pictures.
#include "JpegCodec.h"

#include <QDir>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cstdio>

namespace {

bool savePng(const QImage &img, const QString &path)
{
    return img.save(path, "PNG");
}

QImage dot(QColor fill)
{
    QImage img(14, 14, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, 11, 11));
    return img;
}

void stars(QPainter &p, QSize size, int count)
{
    QRandomGenerator rng(42);
    for (int i = 0; i < count; ++i) {
        const int a = 120 + int(rng.bounded(135));
        p.setPen(QColor(a, a, qMin(255, a + 20)));
        p.drawPoint(int(rng.bounded(size.width())), int(rng.bounded(size.height())));
    }
}

// A satellite above the Earth, 300 × 400.
QImage satellite()
{
    QImage img(300, 400, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 400);
    sky.setColorAt(0, QColor(3, 5, 20));
    sky.setColorAt(1, QColor(10, 20, 60));
    p.fillRect(img.rect(), sky);
    stars(p, img.size(), 180);

    // the Earth's limb across the lower part
    QRadialGradient earth(150, 760, 520);
    earth.setColorAt(0.0, QColor(40, 110, 200));
    earth.setColorAt(0.8, QColor(20, 70, 160));
    earth.setColorAt(0.97, QColor(70, 150, 230));
    earth.setColorAt(1.0, QColor(150, 200, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(earth);
    p.drawEllipse(QPointF(150, 760), 520, 520);
    p.setBrush(QColor(60, 140, 70, 170));
    p.drawEllipse(QRectF(40, 290, 110, 40));
    p.drawEllipse(QRectF(170, 320, 90, 50));
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawEllipse(QRectF(100, 300, 120, 14));
    p.drawEllipse(QRectF(20, 345, 140, 12));

    // the satellite: body, panels, antenna
    p.translate(160, 140);
    p.rotate(-18);
    p.setPen(QPen(QColor(80, 80, 90), 1));
    for (int side : {-1, 1}) {
        const QRectF panel(side < 0 ? -118 : 28, -16, 90, 32);
        p.setBrush(QColor(30, 50, 120));
        p.drawRect(panel);
        p.setPen(QPen(QColor(120, 150, 220), 1));
        for (int k = 1; k < 6; ++k)
            p.drawLine(QPointF(panel.left() + k * 15, panel.top()), QPointF(panel.left() + k * 15, panel.bottom()));
        p.drawLine(QPointF(panel.left(), 0), QPointF(panel.right(), 0));
        p.setPen(QPen(QColor(170, 170, 180), 2));
        p.drawLine(QPointF(side < 0 ? -28 : 18, 0), QPointF(side < 0 ? -18 : 28, 0));
        p.setPen(QPen(QColor(80, 80, 90), 1));
    }
    QLinearGradient body(-18, -24, 18, 24);
    body.setColorAt(0, QColor(230, 190, 90));
    body.setColorAt(1, QColor(150, 110, 40));
    p.setBrush(body);
    p.drawRect(QRectF(-18, -24, 36, 48));
    p.setBrush(QColor(220, 220, 225));
    p.drawEllipse(QRectF(-10, 24, 20, 10));
    p.setPen(QPen(QColor(220, 220, 225), 2));
    p.drawLine(QPointF(0, -24), QPointF(0, -44));
    p.drawEllipse(QPointF(0, -46), 3, 3);
    return img;
}

// A field engineer's view of the work, 386 × 556: the tracer held above a
// buried cable, with the field lines around it.
QImage tracer()
{
    QImage img(386, 556, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(120, 180, 240));
    sky.setColorAt(1, QColor(210, 235, 255));
    p.fillRect(QRect(0, 0, 386, 300), sky);
    p.fillRect(QRect(0, 300, 386, 20), QColor(80, 150, 60));
    QLinearGradient soil(0, 320, 0, 556);
    soil.setColorAt(0, QColor(130, 95, 60));
    soil.setColorAt(1, QColor(90, 60, 35));
    p.fillRect(QRect(0, 320, 386, 236), soil);

    const QPointF cable(193, 470);
    p.setBrush(Qt::NoBrush);
    for (int r = 1; r <= 6; ++r) {
        p.setPen(QPen(QColor(255, 220, 120, 200 - r * 25), 2, Qt::DashLine));
        p.drawEllipse(cable, r * 22.0, r * 22.0);
    }
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(cable, 12, 12);
    p.setBrush(QColor(230, 120, 30));
    p.drawEllipse(cable, 7, 7);

    // the instrument: a rod with the head near the ground and a display above
    p.setPen(QPen(QColor(60, 60, 60), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(193, 290), QPointF(193, 120));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(250, 200, 0));
    p.drawRoundedRect(QRectF(163, 270, 60, 26), 6, 6);
    p.setBrush(QColor(250, 200, 0));
    p.drawRoundedRect(QRectF(148, 60, 90, 70), 8, 8);
    p.setBrush(QColor(20, 60, 30));
    p.drawRect(QRectF(158, 70, 70, 36));
    p.setPen(QPen(QColor(120, 255, 140), 2));
    QPainterPath wave;
    wave.moveTo(162, 100);
    for (int x = 0; x <= 60; x += 4)
        wave.lineTo(162 + x, 100 - 22 * std::exp(-((x - 30) * (x - 30)) / 120.0));
    p.drawPath(wave);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(QPointF(178, 118), 5, 5);
    p.setBrush(QColor(40, 160, 40));
    p.drawEllipse(QPointF(208, 118), 5, 5);
    p.setPen(QPen(Qt::white, 1, Qt::DashLine));
    p.drawLine(QPointF(193, 296), cable);
    return img;
}

QImage noPreview()
{
    QImage img(320, 240, QImage::Format_RGB32);
    img.fill(QColor(236, 236, 236));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(170, 170, 170), 2));
    p.drawRect(QRectF(10, 10, 300, 220));
    p.drawLine(QPointF(10, 10), QPointF(310, 230));
    p.drawLine(QPointF(310, 10), QPointF(10, 230));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(18);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(90, 90, 90));
    p.fillRect(QRectF(40, 100, 240, 40), QColor(236, 236, 236));
    p.drawText(QRectF(40, 100, 240, 40), Qt::AlignCenter, QStringLiteral(u"Нет изображения"));
    return img;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: make_media OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    bool ok = savePng(dot(QColor(0, 0, 255)), out + QStringLiteral("/dot_blue.png"));
    ok = savePng(dot(QColor(0, 160, 0)), out + QStringLiteral("/dot_green.png")) && ok;
    ok = savePng(dot(QColor(255, 0, 0)), out + QStringLiteral("/dot_red.png")) && ok;
    ok = jpeg::save(noPreview(), out + QStringLiteral("/no_previev.jpg")) && ok;
    ok = jpeg::save(satellite(), out + QStringLiteral("/about1.jpg"), nullptr, 90) && ok;
    ok = jpeg::save(tracer(), out + QStringLiteral("/about2.jpg"), nullptr, 90) && ok;
    if (!ok) {
        std::fputs("make_media: could not write the pictures\n", stderr);
        return 1;
    }
    return 0;
}
