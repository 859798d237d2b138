#include "model/scheme_colors.h"

const std::array<TSchemeColors, SchemePaletteCount> DefaultSchemeColors = {{
    {0xC0C0C0, 0xFF0000, 0xFFFF00, 0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000, 0x808000,
     0x0000FF, 0xFF0000, 0x000000, 0x00FFFF, 0xFFFF00, 0x0000FF, 0x000000, 0xFF00FF, 0xFFFFFF, 0x00FFFF},
    {0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF,
     0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0x000000},
}};

namespace {

const char *const ColorNames[SchemeColorCount] = {
    "Фон схемы",
    "Ветвь",
    "Узел",
    "Сетка",
    "Пожар",
    "Задымление",
    "Маршрут",
    "Маршрут в дыму",
    "ВГП",
    "ВМП",
    "Свежий воздух (стрелка)",
    "Отработанный воздух (стрелка)",
    "Дверь",
    "Параметры узлов",
    "Параметры ветвей",
    "Пожарно-оросительный трубопровод",
    "Конвейер",
    "Электрические кабели",
    "Трубопровод со сжатым воздухом",
    "Дегазационный трубопровод",
};

} // namespace

QString SchemeColorName(int index)
{
    return index >= 0 && index < SchemeColorCount ? QString::fromUtf8(ColorNames[index]) : QString();
}
