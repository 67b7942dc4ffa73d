#include "LineChart.h"

#include "NumberFormat.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPad = 11;      // room for a highlighted marker (half-size 10) at the data edges
constexpr int kTick = 4;
constexpr int kLabelGap = 3;

QFont labelFont()
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}

// A step of 1, 2 or 5 times a power of ten giving at most maxLabels labels.
double niceStep(double span, int maxLabels)
{
    if (span <= 0 || maxLabels < 1)
        return 1;
    const double raw = span / maxLabels;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * p >= raw)
            return m * p;
    return 10 * p;
}

std::vector<double> ticks(double lo, double hi, double step)
{
    std::vector<double> out;
    if (!(step > 0) || !std::isfinite(lo) || !std::isfinite(hi))
        return out;
    const double first = std::ceil(lo / step - 1e-9) * step;
    for (int k = 0; k < 1000; ++k) {
        const double v = first + k * step;
        if (v > hi + step * 1e-9)
            break;
        out.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
    }
    return out;
}

} // namespace

LineChart::LineChart(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAutoFillBackground(false);
    for (Axis &a : m_axes)
        a.font = labelFont();
    m_axes[RightAxis].rightSide = true;
    m_axes[CustomAxis1].rightSide = true;
}

int LineChart::addSeries(const QString &title, const QColor &color, int lineWidth, AxisId axis)
{
    Series s;
    s.title = title;
    s.color = color;
    s.lineWidth = lineWidth;
    s.axis = axis;
    m_series.push_back(std::move(s));
    changed();
    return int(m_series.size()) - 1;
}

void LineChart::append(int s, double y)
{
    m_series[size_t(s)].y.push_back(y);
    ++m_generation;
    // A load appends hundreds of thousands of values: one repaint request
    // until the next paint is enough.
    if (!m_repaintAsked) {
        m_repaintAsked = true;
        update();
    }
}

void LineChart::clear(int s)
{
    m_series[size_t(s)].y.clear();
    changed();
}

void LineChart::setSeriesVisible(int s, bool visible)
{
    m_series[size_t(s)].visible = visible;
    changed();
}

void LineChart::setSeriesAxis(int s, AxisId axis)
{
    m_series[size_t(s)].axis = axis;
    changed();
}

void LineChart::setSeriesColor(int s, const QColor &color)
{
    m_series[size_t(s)].color = color;
    changed();
}

void LineChart::setMarkerSize(int s, int index, int halfSize)
{
    if (index < 0)
        return;
    std::vector<int> &sizes = m_series[size_t(s)].markerSizes;
    if (size_t(index) >= sizes.size())
        sizes.resize(size_t(index) + 1, kDefaultMarker);
    sizes[size_t(index)] = halfSize;
    changed();
}

int LineChart::markerSize(int s, int index) const
{
    const std::vector<int> &sizes = m_series[size_t(s)].markerSizes;
    return index >= 0 && size_t(index) < sizes.size() ? sizes[size_t(index)] : kDefaultMarker;
}

void LineChart::setAxisOffset(AxisId id, int pixels)
{
    m_axes[id].offset = pixels;
    changed();
}

bool LineChart::axisDrawn(AxisId id) const
{
    if (id == BottomAxis)
        return true;
    bool anyVisible = false;
    for (const Series &s : m_series) {
        if (!s.visible)
            continue;
        anyVisible = true;
        if (s.axis == id)
            return true;
    }
    return !anyVisible;
}

void LineChart::setMarginsPercent(int left, int top, int right, int bottom)
{
    m_margins[0] = left;
    m_margins[1] = top;
    m_margins[2] = right;
    m_margins[3] = bottom;
    changed();
}

void LineChart::setPointsPerPage(int n)
{
    m_pointsPerPage = std::max(1, n);
    setPage(m_page);
}

int LineChart::maxPointCount() const
{
    int n = 0;
    for (const Series &s : m_series)
        n = std::max(n, int(s.y.size()));
    return n;
}

int LineChart::pageCount() const
{
    const int n = maxPointCount();
    return std::max(1, (n + m_pointsPerPage - 1) / m_pointsPerPage);
}

void LineChart::setPage(int page)
{
    m_page = std::max(1, page);
    m_viewStart = double(m_page - 1) * m_pointsPerPage;
    changed();
}

void LineChart::undoZoom()
{
    setPage(m_page);
}

void LineChart::scrollBy(double points)
{
    m_viewStart += points;
    clampView();
    changed();
}

void LineChart::clampView()
{
    // never beyond the first or the last point
    const double pageStart = double(m_page - 1) * m_pointsPerPage;
    const double upper = std::max(pageStart, double(maxPointCount() - m_pointsPerPage));
    m_viewStart = std::clamp(m_viewStart, 0.0, std::max(0.0, upper));
}

void LineChart::setSmooth(bool smooth)
{
    m_smooth = smooth;
    changed();
}

void LineChart::setCursorEnabled(bool enabled)
{
    m_cursor = enabled;
    changed();
}

std::pair<int, int> LineChart::visibleIndexRange() const
{
    const int first = std::max(0, int(std::ceil(m_viewStart - 1e-9)));
    const int last = int(std::floor(m_viewStart + m_pointsPerPage - 1 + 1e-9));
    return {first, last};
}

std::pair<double, double> LineChart::computeRange(AxisId id) const
{
    const auto [first, last] = visibleIndexRange();
    double lo = INFINITY, hi = -INFINITY;
    for (const Series &s : m_series) {
        if (!s.visible || s.axis != id)
            continue;
        const int end = std::min(last, int(s.y.size()) - 1);
        for (int i = first; i <= end; ++i) {
            lo = std::min(lo, s.y[size_t(i)]);
            hi = std::max(hi, s.y[size_t(i)]);
        }
    }
    if (!std::isfinite(lo) || !std::isfinite(hi))
        return {0, 1};
    if (lo == hi)
        return {lo - 1, hi + 1};
    return {lo, hi};
}

std::pair<double, double> LineChart::axisRange(AxisId id) const
{
    if (id == BottomAxis)
        return {m_viewStart, m_viewStart + m_pointsPerPage - 1};
    return layout().range[id];
}

void LineChart::changed()
{
    ++m_generation;
    update();
}

const LineChart::Layout &LineChart::layout() const
{
    if (m_layoutGeneration != m_generation || m_layoutSize != size()) {
        for (int id = LeftAxis; id < AxisCount; ++id)
            m_layout.range[id] = computeRange(AxisId(id));
        m_layout.plot = computePlotRect();
        m_layout.data = QRectF(m_layout.plot).adjusted(kPad, kPad, -kPad, -kPad);
        m_layoutGeneration = m_generation;
        m_layoutSize = size();
    }
    return m_layout;
}

QRect LineChart::plotRect() const
{
    return layout().plot;
}

QRect LineChart::computePlotRect() const
{
    const int w = width(), h = height();
    const QFontMetrics bottomFm(m_axes[BottomAxis].font);
    const int ml = w * m_margins[0] / 100, mt = h * m_margins[1] / 100;
    const int mr = w * m_margins[2] / 100, mb = h * m_margins[3] / 100;
    const int bottomSpace = kTick + kLabelGap + bottomFm.height() + 2;
    const int plotHeight = std::max(10, h - mt - mb - bottomSpace);
    auto reserve = [&](AxisId id) {
        if (!axisDrawn(id))
            return 0;
        const auto [lo, hi] = computeRange(id);
        const QFontMetrics fm(m_axes[id].font);
        const double step = niceStep(hi - lo, std::max(2, plotHeight / (fm.height() * 2)));
        int widest = 0;
        for (double v : ticks(lo, hi, step))
            widest = std::max(widest, fm.horizontalAdvance(numfmt::formatReal(v)));
        return widest + kTick + kLabelGap + 2;
    };
    const int left = ml + reserve(LeftAxis);
    const int right = mr + reserve(RightAxis);
    return QRect(left, mt, std::max(10, w - left - right), plotHeight);
}

QRectF LineChart::dataRect() const
{
    return layout().data;
}

double LineChart::xToPixel(double x) const
{
    const QRectF d = dataRect();
    const double span = std::max(1, m_pointsPerPage - 1);
    return d.left() + (x - m_viewStart) * d.width() / span;
}

double LineChart::pixelToX(double px) const
{
    const QRectF d = dataRect();
    const double span = std::max(1, m_pointsPerPage - 1);
    return m_viewStart + (px - d.left()) * span / std::max(1.0, d.width());
}

double LineChart::yToPixel(AxisId id, double v) const
{
    const Layout &l = layout();
    const QRectF &d = l.data;
    const auto [lo, hi] = l.range[id];
    const double t = (v - lo) / (hi - lo);
    return m_axes[id].inverted ? d.top() + t * d.height() : d.bottom() - t * d.height();
}

std::optional<std::pair<int, int>> LineChart::hitTest(QPoint p) const
{
    const auto [first, last] = visibleIndexRange();
    for (int s = int(m_series.size()) - 1; s >= 0; --s) {
        const Series &ser = m_series[size_t(s)];
        if (!ser.visible)
            continue;
        const int end = std::min(last, int(ser.y.size()) - 1);
        for (int i = first; i <= end; ++i) {
            const double dx = p.x() - std::round(xToPixel(i));
            const double dy = p.y() - std::round(yToPixel(ser.axis, ser.y[size_t(i)]));
            const int r = markerSize(s, i) + 1;
            if (dx * dx + dy * dy <= r * r)
                return std::make_pair(s, i);
        }
    }
    return std::nullopt;
}

void LineChart::drawSeries(QPainter &p, const Series &s, int first, int last) const
{
    const int n = int(s.y.size());
    if (n == 0 || first > n - 1)
        return;
    const int a = std::max(0, first - 1);             // neighbours outside the page
    const int b = std::min(n - 1, last + 1);          // carry the lines to the edge
    auto pt = [&](int i) { return QPointF(std::round(xToPixel(i)), std::round(yToPixel(s.axis, s.y[size_t(i)]))); };
    p.setPen(QPen(s.color, s.lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (b > a) {
        QPainterPath path(pt(a));
        if (m_smooth) {
            // cardinal spline, tension 0.5, through every point
            for (int i = a; i < b; ++i) {
                const QPointF p0 = pt(std::max(0, i - 1)), p1 = pt(i), p2 = pt(i + 1), p3 = pt(std::min(n - 1, i + 2));
                path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
            }
        } else {
            for (int i = a + 1; i <= b; ++i)
                path.lineTo(pt(i));
        }
        p.drawPath(path);
    }
    p.setPen(QPen(s.color, 1));
    p.setBrush(s.color);
    const int end = std::min(last, n - 1);
    for (int i = first; i <= end; ++i) {
        const int r = markerSize(int(&s - m_series.data()), i);
        const QPointF c = pt(i);
        p.drawEllipse(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r));
    }
}

void LineChart::drawVerticalAxis(QPainter &p, AxisId id, int x) const
{
    const Axis &a = m_axes[id];
    const QRect plot = plotRect();
    const QRectF d = dataRect();
    const QFontMetrics fm(a.font);
    p.setPen(QPen(a.lineColor, a.lineWidth, a.lineStyle, Qt::FlatCap));
    p.drawLine(x, plot.top(), x, plot.bottom());
    const auto [lo, hi] = layout().range[id];
    const double step = niceStep(hi - lo, std::max(2, int(d.height()) / (fm.height() * 2)));
    const int dir = a.rightSide ? 1 : -1;
    const int edge = x + dir * (a.lineWidth / 2 + 1);
    p.setFont(a.font);
    const std::vector<double> major = ticks(lo, hi, step);
    for (double v : major) {
        const int y = int(std::round(yToPixel(id, v)));
        p.setPen(QPen(a.tickColor, 1));
        p.drawLine(edge, y, edge + dir * kTick, y);
        const QString text = numfmt::formatReal(v);
        const int tw = fm.horizontalAdvance(text);
        const int tx = a.rightSide ? edge + kTick + kLabelGap : edge - kTick - kLabelGap - tw;
        p.setPen(a.labelColor);
        p.drawText(QRect(tx, y - fm.height() / 2, tw + 1, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    if (a.minorTicks > 0) {
        p.setPen(QPen(a.minorTickColor, 1));
        const double minor = step / (a.minorTicks + 1);
        for (double v : ticks(lo, hi, minor)) {
            const int y = int(std::round(yToPixel(id, v)));
            p.drawLine(edge, y, edge + dir * (kTick / 2), y);
        }
    }
}

void LineChart::drawBottomAxis(QPainter &p) const
{
    const Axis &a = m_axes[BottomAxis];
    const QRect plot = plotRect();
    const QFontMetrics fm(a.font);
    const auto [first, last] = visibleIndexRange();
    p.setFont(a.font);
    for (int i = first; i <= last; ++i) {
        const int x = int(std::round(xToPixel(i)));
        if (x < plot.left() || x > plot.right())
            continue;
        if (a.grid) {
            p.setPen(QPen(a.gridColor, 1, Qt::DashLine));
            p.drawLine(x, plot.top(), x, plot.bottom());
        }
        p.setPen(QPen(a.tickColor, 1));
        p.drawLine(x, plot.bottom() + 1, x, plot.bottom() + kTick);
        const QString text = QString::number(i);
        const int tw = fm.horizontalAdvance(text);
        p.setPen(a.labelColor);
        p.drawText(QRect(x - tw / 2, plot.bottom() + kTick + kLabelGap, tw + 1, fm.height()), Qt::AlignCenter, text);
    }
    p.setPen(QPen(a.lineColor, a.lineWidth, a.lineStyle, Qt::FlatCap));
    p.drawLine(plot.left(), plot.bottom(), plot.right(), plot.bottom());
}

void LineChart::drawAxes(QPainter &p) const
{
    const QRect plot = plotRect();
    drawBottomAxis(p);
    for (AxisId id : {LeftAxis, RightAxis, CustomAxis0, CustomAxis1}) {
        if (!axisDrawn(id))
            continue;
        const Axis &a = m_axes[id];
        const int base = a.rightSide ? plot.right() : plot.left();
        const int x = (id == CustomAxis0 || id == CustomAxis1) ? base + (a.rightSide ? a.offset : -a.offset) : base;
        drawVerticalAxis(p, id, x);
    }
}

void LineChart::render(QPainter &p) const
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.fillRect(QRect(0, 0, width(), height()), Qt::white);
    const QRect plot = plotRect();
    const auto [first, last] = visibleIndexRange();
    drawAxes(p);
    p.save();
    p.setClipRect(plot.adjusted(0, 0, 1, 1));
    for (const Series &s : m_series)
        if (s.visible)
            drawSeries(p, s, first, last);
    p.restore();
    if (m_cursor && m_mouse && plot.contains(*m_mouse)) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawLine(m_mouse->x(), plot.top(), m_mouse->x(), plot.bottom());
        p.drawLine(plot.left(), m_mouse->y(), plot.right(), m_mouse->y());
    }
}

void LineChart::paintEvent(QPaintEvent *)
{
    m_repaintAsked = false;
    QPainter p(this);
    render(p);
}

QImage LineChart::renderToImage() const
{
    QImage img(size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    render(p);
    return img;
}

void LineChart::mousePressEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    if (const auto hit = hitTest(pos)) {
        emit pointPressed(hit->first, hit->second);
        return; // a press that selects starts no scrolling
    }
    if (e->button() == Qt::LeftButton && plotRect().contains(pos)) {
        m_dragFrom = pos;
        m_dragStart = m_viewStart;
    }
}

void LineChart::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    m_mouse = pos;
    if (m_dragFrom && (e->buttons() & Qt::LeftButton)) {
        const double perPoint = dataRect().width() / std::max(1, m_pointsPerPage - 1);
        m_viewStart = m_dragStart - (pos.x() - m_dragFrom->x()) / std::max(1e-9, perPoint);
        clampView();
        ++m_generation;
    }
    update();
    emit pointerMoved(pos.x(), pos.y(), pixelToX(pos.x()));
}

void LineChart::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    changed();
}

void LineChart::mouseReleaseEvent(QMouseEvent *)
{
    m_dragFrom.reset();
}

void LineChart::wheelEvent(QWheelEvent *e)
{
    e->ignore(); // the wheel does nothing
}

void LineChart::leaveEvent(QEvent *)
{
    m_mouse.reset();
    update();
}
