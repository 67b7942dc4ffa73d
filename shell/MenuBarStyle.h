#pragma once

#include <QProxyStyle>

// Draws a menu-bar item's small picture and its caption side by side (the
// stock styles show only the picture when an item has one).
class MenuBarStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;
};
