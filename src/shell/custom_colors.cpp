#include "shell/custom_colors.h"

#include "model/helpers.h"

#include <QtCore/QFile>
#include <QtCore/QSaveFile>

namespace {
constexpr std::int32_t White = 0xFFFFFF;
}

QString CustomColorsFileName(const QString &startFolder)
{
    return AddTrailingSlash(startFolder) + QStringLiteral("Custom.set");
}

TCustomColors LoadCustomColors(const QString &fileName)
{
    TCustomColors colors;
    colors.fill(White);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return colors;
    for (int i = 0; i < CustomColorCount && !file.atEnd(); ++i) {
        const QByteArray line = file.readLine(64).trimmed();
        bool ok = false;
        const uint value = line.toUInt(&ok, 0);
        if (ok && value <= 0xFFFFFF)
            colors[i] = static_cast<std::int32_t>(value);
    }
    return colors;
}

bool SaveCustomColors(const QString &fileName, const TCustomColors &colors)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    for (const std::int32_t c : colors)
        file.write(QByteArray("0x") + QByteArray::number(c & 0xFFFFFF, 16).toUpper().rightJustified(6, '0') + '\n');
    return file.commit();
}
