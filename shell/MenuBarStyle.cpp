#include "MenuBarStyle.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

namespace {
constexpr int kIconGap = 4;
}

void MenuBarStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                               const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element != CE_MenuBarItem || !item || item->icon.isNull() || item->text.isEmpty()) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const int side = pixelMetric(PM_SmallIconSize, option, widget);
    QStyleOptionMenuItem textOnly(*item);
    textOnly.icon = QIcon();
    textOnly.rect.adjust(side + kIconGap, 0, 0, 0);
    // the background over the whole item, then the caption right of the picture
    QStyleOptionMenuItem background(*item);
    background.icon = QIcon();
    background.text.clear();
    QProxyStyle::drawControl(element, &background, painter, widget);
    QProxyStyle::drawControl(element, &textOnly, painter, widget);
    const QRect iconRect(item->rect.left() + 4, item->rect.center().y() - side / 2, side, side);
    item->icon.paint(painter, iconRect);
}

QSize MenuBarStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                     const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (type != CT_MenuBarItem || !item || item->icon.isNull() || item->text.isEmpty())
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    const QSize textSize = item->fontMetrics.size(Qt::TextShowMnemonic, item->text);
    QSize s = QProxyStyle::sizeFromContents(type, option, textSize, widget);
    s.rwidth() += pixelMetric(PM_SmallIconSize, option, widget) + kIconGap + 4;
    return s;
}
