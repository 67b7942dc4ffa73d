#pragma once

#include <QMarginsF>
#include <QObject>

// The page-setup dialog P_S: A4, millimetres, the four print margins in
// hundredths of a millimetre, minimum margins 0, orientation not offered.
// It holds the margins between reading and writing the settings.
class PageSetup : public QObject
{
    Q_OBJECT
public:
    explicit PageSetup(QObject *parent = nullptr);

    int marginLeft = 1000;
    int marginTop = 1000;
    int marginRight = 1000;
    int marginBottom = 1000;
};
