#pragma once
// The scheme colour table: the places a scheme is coloured by, the predefined
// palettes and the names the options window lists them by.
#include "platform/colors.h"

#include <QtCore/QString>

#include <array>

// Places in the scheme colour table.
enum SchemeColorIndex {
    sciBackground,      // "Фон схемы"
    sciBranch,          // "Ветвь"
    sciNode,            // "Узел"
    sciGrid,            // "Сетка"
    sciFire,            // "Пожар"
    sciSmoke,           // "Задымление"
    sciRoute,           // "Маршрут"
    sciRouteInSmoke,    // "Маршрут в дыму"
    sciVGP,             // "ВГП"
    sciVMP,             // "ВМП"
    sciFreshArrow,      // "Свежий воздух (стрелка)"
    sciExhaustArrow,    // "Отработанный воздух (стрелка)"
    sciDoor,            // "Дверь"
    sciNodeLabels,      // "Параметры узлов"
    sciBranchLabels,    // "Параметры ветвей"
    sciFireWaterPipe,   // "Пожарно-оросительный трубопровод"
    sciConveyor,        // "Конвейер"
    sciElectricCables,  // "Электрические кабели"
    sciCompressedAir,   // "Трубопровод со сжатым воздухом"
    sciDegassingPipe,   // "Дегазационный трубопровод"
    SchemeColorCount
};

using TSchemeColors = std::array<TColor, SchemeColorCount>;

// The predefined palettes, in the order the options window offers them.
enum TSchemePalette { spStandard, spBlackAndWhite, SchemePaletteCount };
extern const std::array<TSchemeColors, SchemePaletteCount> DefaultSchemeColors;

// The names the colour page lists, by SchemeColorIndex.
QString SchemeColorName(int index);
