#include "emergency/fire_load.h"

#include "model/robust_stream.h"
#include "platform/numbers.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>

#include <cmath>
#include <limits>
#include <numbers>

TFireLoadRec FireLoadRec;
QString FireLoadFolder;

void SetFireLoadDefaults(TFireLoadRec &rec)
{
    rec = TFireLoadRec{};
    rec.Variant = flBeltAndLagging;
    rec.BeltType = 0;
    rec.FrameSpacing = 1;
    rec.WidthIndex = 10;
    rec.Cables = 0;
    rec.Ladders = 1;
    rec.Bars = 0;
    rec.Coal = 1;
    rec.CableCounts = {5, 2, 0, 1, 3};
    rec.BurnTime = 90;
    rec.FrontTime = 50.0;
    rec.FrontSpeed = 1.0;
    rec.HeatCoeff = 0.01;
}

bool FileCanOpen(const QString &name)
{
    if (name.isEmpty())
        return false;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    file.close();
    return file.error() == QFileDevice::NoError;
}

void LoadFireLoad(const QString &folder, TFireLoadRec &rec)
{
    const QString name = folder + FireLoadFileName;
    if (!QFileInfo::exists(name)) {
        SetFireLoadDefaults(rec);
        return;
    }
    try {
        if (!FileCanOpen(name))
            throw Exception(QStringLiteral("Файл не удается открыть"));
        TRobustFileStream s(name, TRobustFileStream::fmOpenRead);
        TFireLoadRec read;
        read.Variant = s.ReadValue<std::int32_t>();
        read.BeltType = s.ReadValue<std::int32_t>();
        read.FrameSpacing = s.ReadValue<std::int32_t>();
        read.WidthIndex = s.ReadValue<std::int32_t>();
        read.Cables = s.ReadValue<std::uint8_t>();
        read.Ladders = s.ReadValue<std::uint8_t>();
        read.Bars = s.ReadValue<std::uint8_t>();
        read.Coal = s.ReadValue<std::uint8_t>();
        for (auto &count : read.CableCounts)
            count = s.ReadValue<std::int32_t>();
        read.BurnTime = s.ReadValue<std::int32_t>();
        s.ReadValue<std::int32_t>(); // padding
        read.FrontTime = s.ReadValue<double>();
        read.FrontSpeed = s.ReadValue<double>();
        read.HeatCoeff = s.ReadValue<double>();
        rec = read;
    } catch (const Exception &e) {
        throw Exception(QStringLiteral("Ошибка чтения файла \"%1\". %2")
                            .arg(QDir::toNativeSeparators(name), e.Message()));
    }
}

void SaveFireLoad(const QString &folder, const TFireLoadRec &rec)
{
    const QString name = folder + FireLoadFileName;
    try {
        TRobustFileStream s(name, TRobustFileStream::fmCreate);
        s.WriteValue(rec.Variant);
        s.WriteValue(rec.BeltType);
        s.WriteValue(rec.FrameSpacing);
        s.WriteValue(rec.WidthIndex);
        s.WriteValue(rec.Cables);
        s.WriteValue(rec.Ladders);
        s.WriteValue(rec.Bars);
        s.WriteValue(rec.Coal);
        for (auto count : rec.CableCounts)
            s.WriteValue(count);
        s.WriteValue(rec.BurnTime);
        s.WriteValue<std::int32_t>(0);
        s.WriteValue(rec.FrontTime);
        s.WriteValue(rec.FrontSpeed);
        s.WriteValue(rec.HeatCoeff);
        s.Commit();
    } catch (const Exception &e) {
        throw Exception(QStringLiteral("Ошибка записи файла \"%1\". %2")
                            .arg(QDir::toNativeSeparators(name), e.Message()));
    }
}

void CalcFireLoad(TFireLoadRec &rec, double q, double s)
{
    double v = s > 0 ? std::fabs(q / s) : 0;
    if (v < 0.01)
        v = 0.01;
    const double vc = std::clamp(v, 1.0, 3.0);
    const int widthIndex = std::clamp<int>(rec.WidthIndex, 0, BeltWidthCount - 1);
    const double w = BeltWidths[widthIndex];

    const double a = 3.3 * std::sqrt(std::max(s, 0.0));
    const double b = 0.002 * w;
    const double c = (0.045 - 0.015 * rec.BeltType) * w;
    const double d = 22 * a;
    const double e = rec.FrameSpacing == 0 ? 2 * d : 1.5 * d;

    const auto &p = rec.CableCounts;
    const double f = rec.Cables ? 1.5 * p[0] + 2 * p[1] + 2.1 * p[2] + 2.4 * p[3] + 2.7 * p[4] : 0;
    const double g = rec.Ladders ? 13 : 0;
    const double h = rec.Bars ? 2.5 : 0;
    const double i = rec.Coal ? 5 : 0;

    double m = f + g + h + i;
    double n = 4 * (g + h) + 10 * f + 8 * i;
    double k = 1;
    double area = a;
    switch (rec.Variant) {
    case flBelt:
        rec.FrontTime = 40 * vc + 80;
        m += c;
        n += 10 * c;
        k = (0.37 * (c + f) + 0.21 * (g + h) + 0.26 * i) / m;
        area = b;
        break;
    case flBeltAndLagging:
        rec.FrontTime = 20 * vc + 20;
        m += c + d;
        n += 10 * c + 4 * d;
        k = (0.37 * (c + f) + 0.21 * (g + h + d) + 0.26 * i) / m;
        area = b + a;
        break;
    case flLagging:
        rec.FrontTime = 45 * vc + 15;
        m += d;
        n += 4 * d;
        k = (0.21 * (g + h + d) + 0.37 * f + 0.26 * i) / m;
        break;
    case flSupport:
        rec.FrontTime = 20 * vc + 20;
        m += e;
        n += 4 * e;
        k = (0.21 * (g + h + e) + 0.37 * f + 0.26 * i) / m;
        break;
    default:
        break;
    }

    // Without a cross-section or anything to burn the formulas divide by
    // zero; such a working has no fire to spread.
    const double burn = m / k / 60;
    if (s <= 0 || !(m > 0) || !(k > 0) || !(n > 0) || !std::isfinite(burn)) {
        rec.BurnTime = 0;
        rec.FrontSpeed = 0;
        rec.HeatCoeff = 0;
        return;
    }
    rec.BurnTime = static_cast<std::int32_t>(
        Round(std::min(burn, static_cast<double>(std::numeric_limits<std::int32_t>::max()))));
    rec.HeatCoeff = (0.0151 / v + 0.0121) / std::sqrt(s) * area / (2 * std::sqrt(std::numbers::pi * s));
    rec.FrontSpeed = std::fabs(60 * v * s / n);
}

bool FireFront(const TFireLoadRec &rec, int l, double &xE, double &xF, double n)
{
    const double b = rec.FrontTime;
    const double v = rec.FrontSpeed;
    const double d = rec.BurnTime;
    xF = v * (std::sqrt(n * n + b * b) - b);
    if (n <= d)
        xE = xF;
    else
        xE = xF - v * (std::sqrt((d - n) * (d - n) + b * b) - b);
    return l < xF;
}
