#include "shell/custom_colors.h"

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

TEST(CustomColors, RoundTripAndDamagedFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = CustomColorsFileName(dir.path());
    EXPECT_TRUE(file.endsWith("/Custom.set"));

    TCustomColors missing = LoadCustomColors(file);
    EXPECT_EQ(missing[0], 0xFFFFFF);
    EXPECT_EQ(missing[15], 0xFFFFFF);

    TCustomColors colors;
    for (int i = 0; i < CustomColorCount; ++i)
        colors[i] = i * 0x010203;
    ASSERT_TRUE(SaveCustomColors(file, colors));
    EXPECT_EQ(LoadCustomColors(file), colors);

    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("0x0000FF\nred\n0x1000000\n");
    f.close();
    const TCustomColors damaged = LoadCustomColors(file);
    EXPECT_EQ(damaged[0], 0x0000FF);
    EXPECT_EQ(damaged[1], 0xFFFFFF);
    EXPECT_EQ(damaged[2], 0xFFFFFF);
    EXPECT_EQ(damaged[3], 0xFFFFFF);
}
