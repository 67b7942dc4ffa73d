#include "BuildFlavour.h"

BuildFlavour BuildFlavour::travik()
{
    return {QStringLiteral("travik"), QStringLiteral(u"Версия 2.00"), QStringLiteral(u"Основная/Сравниваемая"),
            170, Map::GeneratedPage};
}

BuildFlavour BuildFlavour::travikGmap()
{
    return {QStringLiteral("travik-gmap"), QStringLiteral(u"Версия 1.00"), QStringLiteral(u"Сравнение"), 90,
            Map::MapComponent};
}
