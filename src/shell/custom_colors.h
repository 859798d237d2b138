#pragma once
// The 16 custom colours of the colour dialog, kept between runs in the file
// "Custom.set" in the folder the program started in: one colour a line, as
// 0x00BBGGRR in hexadecimal.
#include <QtCore/QString>

#include <array>
#include <cstdint>

constexpr int CustomColorCount = 16;
using TCustomColors = std::array<std::int32_t, CustomColorCount>;

QString CustomColorsFileName(const QString &startFolder);
// Lines that are missing or not a colour leave white in their place.
TCustomColors LoadCustomColors(const QString &fileName);
// Replaces the file whole; false when it could not be written.
bool SaveCustomColors(const QString &fileName, const TCustomColors &colors);
