#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

// A line chart of series over the point index: a filled-circle marker on every
// point, a bottom axis with one label per point, left and right axes and two
// extra vertical axes placed outward from the plot edge, paging by points,
// horizontal scrolling by dragging, a crosshair, straight or smoothed lines.
// Painting and hit testing look only at the points of the visible page.
class LineChart : public QWidget
{
    Q_OBJECT
public:
    enum AxisId { BottomAxis, LeftAxis, RightAxis, CustomAxis0, CustomAxis1, AxisCount };
    static constexpr int kDefaultMarker = 5;

    struct Series {
        QString title;
        QColor color;
        int lineWidth = 1;
        AxisId axis = LeftAxis;
        bool visible = true;
        std::vector<double> y;        // x is the index
        std::vector<int> markerSizes; // overrides, up to the highest index ever set
    };

    struct Axis {
        bool rightSide = false;
        bool inverted = false;
        QColor lineColor = Qt::black;
        int lineWidth = 1;
        Qt::PenStyle lineStyle = Qt::SolidLine;
        QColor labelColor = Qt::black;
        QColor tickColor = Qt::black;
        int minorTicks = 0;
        QColor minorTickColor = Qt::black;
        bool grid = false;
        QColor gridColor = QColor(192, 192, 192);
        int offset = 0; // pixels outward from the plot edge
        QFont font;
    };

    explicit LineChart(QWidget *parent = nullptr);

    int addSeries(const QString &title, const QColor &color, int lineWidth, AxisId axis);
    int seriesCount() const { return int(m_series.size()); }
    const Series &series(int s) const { return m_series[size_t(s)]; }
    int count(int s) const { return int(m_series[size_t(s)].y.size()); }
    double value(int s, int index) const { return m_series[size_t(s)].y[size_t(index)]; }
    void append(int s, double y);
    void clear(int s);
    void setSeriesVisible(int s, bool visible);
    bool isSeriesVisible(int s) const { return m_series[size_t(s)].visible; }
    void setSeriesAxis(int s, AxisId axis);
    void setSeriesColor(int s, const QColor &color);

    void setMarkerSize(int s, int index, int halfSize);
    int markerSize(int s, int index) const;
    int markerSizeCount(int s) const { return int(m_series[size_t(s)].markerSizes.size()); }

    Axis &axis(AxisId id) { return m_axes[id]; }
    const Axis &axis(AxisId id) const { return m_axes[id]; }
    void setAxisOffset(AxisId id, int pixels);
    // An axis is drawn while a visible series is bound to it, or when no series is visible.
    bool axisDrawn(AxisId id) const;

    void setMarginsPercent(int left, int top, int right, int bottom);
    int marginLeft() const { return m_margins[0]; }
    int marginTop() const { return m_margins[1]; }
    int marginRight() const { return m_margins[2]; }
    int marginBottom() const { return m_margins[3]; }

    void setPointsPerPage(int n);
    int pointsPerPage() const { return m_pointsPerPage; }
    // Pages count from 1; the last page has the scale of a full one.
    void setPage(int page);
    int page() const { return m_page; }
    int pageCount() const;
    // Back to the automatic ranges of the current page: scrolling undone.
    void undoZoom();
    double viewStart() const { return m_viewStart; }
    void scrollBy(double points);

    void setSmooth(bool smooth);
    bool smooth() const { return m_smooth; }
    void setCursorEnabled(bool enabled);
    bool cursorEnabled() const { return m_cursor; }

    // Geometry of the current view, in widget pixels.
    QRect plotRect() const;
    QRectF dataRect() const;
    std::pair<double, double> axisRange(AxisId id) const;
    double xToPixel(double x) const;
    double pixelToX(double px) const;
    double yToPixel(AxisId id, double v) const;
    std::optional<std::pair<int, int>> hitTest(QPoint p) const;

    // The chart at its on-screen size, on white.
    QImage renderToImage() const;
    void render(QPainter &p) const;

signals:
    void pointPressed(int series, int index);
    void pointerMoved(int x, int y, double xValue);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void leaveEvent(QEvent *e) override;

private:
    struct Layout {
        QRect plot;
        QRectF data;
        std::pair<double, double> range[AxisCount];
    };
    // Geometry and ranges, computed once per change rather than per point.
    const Layout &layout() const;
    void changed();
    QRect computePlotRect() const;
    std::pair<int, int> visibleIndexRange() const; // first, last (inclusive), may be empty
    std::pair<double, double> computeRange(AxisId id) const;
    int maxPointCount() const;
    void drawSeries(QPainter &p, const Series &s, int first, int last) const;
    void drawAxes(QPainter &p) const;
    void drawVerticalAxis(QPainter &p, AxisId id, int x) const;
    void drawBottomAxis(QPainter &p) const;
    void clampView();

    std::vector<Series> m_series;
    Axis m_axes[AxisCount];
    int m_margins[4] = {4, 2, 4, 0};
    int m_pointsPerPage = 10;
    int m_page = 1;
    double m_viewStart = 0;
    bool m_smooth = false;
    bool m_cursor = true;
    std::optional<QPoint> m_mouse;
    std::optional<QPoint> m_dragFrom;
    double m_dragStart = 0;
    int m_generation = 0;
    bool m_repaintAsked = false;
    mutable int m_layoutGeneration = -1;
    mutable QSize m_layoutSize;
    mutable Layout m_layout;
};
