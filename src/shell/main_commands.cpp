#include "shell/main_commands.h"

#include "model/helpers.h"
#include "platform/prompt.h"

#include <QtCore/QDir>

bool AnyBranchHasLabelBits(const TNetworkTables &t, std::int32_t mask)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (t.BranchNo[n] == n && (t.BranchLabelFlags[n] & mask) == mask)
            return true;
    return false;
}

void SetBranchLabelBits(TNetworkTables &t, std::int32_t bits, bool on)
{
    if (bits == 0)
        return;
    for (int n = 1; n <= MaxItems; ++n) {
        if (!BranchExist(t, n))
            continue;
        std::int32_t flags = static_cast<std::uint16_t>(t.BranchLabelFlags[n]);
        flags = on ? (flags | bits) : (flags & ~bits);
        t.BranchLabelFlags[n] = static_cast<std::int16_t>(flags);
    }
}

int SelectedBranchesLength(const TNetworkTables &t)
{
    int sum = 0;
    for (int n = 1; n <= MaxItems; ++n)
        if (IsBranchSelected(t, n))
            sum += t.BranchLength[n];
    return sum;
}

TMessage PathLengthMessage(const TNetworkTables &t)
{
    const int count = SelectedBranchCount(t);
    if (count > 0)
        return {LookupText(QStringLiteral("Сумма длин %1 выбранных ветвей %2 м."))
                    .arg(count).arg(SelectedBranchesLength(t)),
                LookupText(QStringLiteral("Длина пути")), mb::Ok | mb::IconInformation};
    return {LookupText(QStringLiteral(
                "Для подсчета суммарной длины выработок необходимо сначала с помощью инструментов "
                "\"Выделить ветви\" или \"Поиск\" выбрать (удерживая нажатой клавишу <Ctrl>) "
                "интересующие вас  "))
                + LookupText(QStringLiteral(
                    "ветви и после этого еще раз выбрать из меню \"Задачи/Длина пути...\"")),
            LookupText(QStringLiteral("Не выбрано ни одной ветви")), mb::Ok | mb::IconWarning};
}

void TakeQHRBaseline(TNetworkTables &t)
{
    for (int n = 1; n <= MaxItems; ++n) {
        if (!BranchExist(t, n))
            continue;
        t.BranchQBaseline[n] = t.BranchQ[n];
        t.BranchHBaseline[n] = BranchDepression(t, n);
        t.BranchRBaseline[n] = t.BranchR[n];
    }
}

void SetStandardColors(const TNetworkTables &t, TBranchColors &colors, std::int32_t branchColor)
{
    for (int n = 1; n <= MaxItems; ++n)
        colors[n] = IsBranchSelected(t, n) ? SelectionColor : branchColor;
}

void FillPLAColors(const TNetworkTables &t, TBranchColors &colors)
{
    for (int n = 1; n <= MaxItems; ++n)
        colors[n] = t.BranchPLAColor[n];
}

void FillLayerColors(const TNetworkTables &t, const std::vector<std::int32_t> &layerColors,
                     TBranchColors &colors)
{
    const std::size_t count = layerColors.size();
    for (int n = 1; n <= MaxItems; ++n) {
        if (IsBranchSelected(t, n))
            colors[n] = SelectionColor;
        else if (count > 0)
            colors[n] = layerColors[t.BranchLayer[n] < count ? t.BranchLayer[n] : 0];
    }
}

int ReversalZoneCount(const TNetworkTables &t)
{
    int count = 0;
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchExist(t, n) && IsReversalZone(t, n))
            ++count;
    return count;
}

QString PLADocumentFolder(const QString &plaFolder, const QString &mineName)
{
    return AddTrailingSlash(plaFolder) + mineName + u'/';
}

QString PLADocumentMask(int position)
{
    return QString::asprintf("%.3d*.*", position);
}

QStringList FindPLADocuments(const QString &plaFolder, const QString &mineName, int position)
{
    const QDir dir(PLADocumentFolder(plaFolder, mineName));
    return dir.entryList({PLADocumentMask(position)}, QDir::Files | QDir::Hidden | QDir::System,
                         QDir::Name);
}

TMessage NoPLADocumentsMessage(const QString &plaFolder, int position)
{
    const QString lf = QStringLiteral("\n");
    const QString cr = QStringLiteral("\r");
    const QString text =
        LookupText(QStringLiteral("В папке \"%1\", указанной как папка с файлами текста ПЛА (см."))
        + LookupText(QStringLiteral("меню \"Настройки/Расположение/Папки/ПЛА\") "))
        + LookupText(QStringLiteral("не найдено ни одного файла для позиции %2.")) + lf + lf
        + LookupText(QStringLiteral("Возможные причины этого:")) + cr + cr
        + LookupText(QStringLiteral("1. Неверно указан путь к папке с файлами ПЛА.")) + lf
        + LookupText(QStringLiteral("(см. меню \"Настройки/Расположение.../Папки/ПЛА\")")) + lf + lf
        + LookupText(QStringLiteral("2. Название файла для этой позиции не соответствует заданному шаблону.")) + lf
        + LookupText(QStringLiteral("(см. меню \"Настройки/Поддержка ПЛА...\")")) + lf + lf
        + LookupText(QStringLiteral("3. Для позиции %2 не создано ни одного файла.")) + lf
        + LookupText(QStringLiteral("(создайте файл с соответствующим названием)"));
    return {text.arg(plaFolder, QString::number(position)), LookupText(QStringLiteral("Не найдено файлов ПЛА")),
            mb::Ok | mb::IconWarning};
}
