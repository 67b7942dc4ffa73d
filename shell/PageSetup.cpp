#include "PageSetup.h"

PageSetup::PageSetup(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("P_S"));
}
