#pragma once

#include <QColor>
#include <QWidget>

// The instrument lamp of the status bar: a filled circle.
class Lamp : public QWidget
{
    Q_OBJECT
public:
    explicit Lamp(QWidget *parent = nullptr);
    void setColor(const QColor &color);
    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QColor m_color = Qt::red;
};
