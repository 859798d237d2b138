#include "sample_fans.h"

#include "calc/fan_catalogue.h"

#include <QtCore/QDir>

#include <cmath>
#include <initializer_list>
#include <vector>

namespace {

// One characteristic: the flow Qk and pressure Hk that scale the common
// shape, and the flows (as fractions of Qk) of its measured points.
struct TSampleCurve
{
    const char *Name;
    double Qk;
    double Hk;
    std::vector<double> Fractions;
};

struct TSampleType
{
    const char *Name;
    std::vector<TSampleCurve> Curves;
};

// The pressure of a fan against its flow: a low hump at a third of the
// largest flow, then falling to 0.4 of the hump at the largest flow, as the
// stable branch of a real characteristic does.
double Shape(double x) { return 0.85 + 0.9 * x - 1.35 * x * x; }

const std::vector<double> MainFanPoints{0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0};
const std::vector<double> AxialFanPoints{0.25, 0.4, 0.55, 0.7, 0.85, 1.0};
const std::vector<double> CentrifugalFanPoints{0.25, 0.375, 0.5, 0.625, 0.75, 0.875, 1.0};

// The sample mine's main fan carries about 108 m³/s at some 220 mm on its
// third characteristic; its local fans about 5.5 m³/s at some 130 on the
// first (ВМЭ-6) and the second (ВМЦ-8).
const std::vector<TSampleType> SampleTypes{
    {"ВЦД-31,5М",
     {{"Угол -15°", 110, 200, MainFanPoints},
      {"Угол 0°", 130, 238, MainFanPoints},
      {"Угол +15°", 150, 276, MainFanPoints},
      {"Угол +30°", 170, 312, MainFanPoints}}},
    {"ВМЭ-6", {{"Угол 20°", 8, 156, AxialFanPoints}, {"Угол 35°", 9.5, 185, AxialFanPoints}}},
    {"ВМЦ-8",
     {{"Угол 15°", 6.5, 140, CentrifugalFanPoints},
      {"Угол 25°", 7.5, 166, CentrifugalFanPoints},
      {"Угол 35°", 8.8, 195, CentrifugalFanPoints}}},
};

double RoundToUnit(double value, double unit) { return std::nearbyint(value / unit) * unit; }

} // namespace

QStringList WriteSampleFanCatalogue(const QString &folder)
{
    QStringList written;
    for (const TSampleType &type : SampleTypes) {
        std::array<TFanCurve, MaxFanCurves> curves{};
        QStringList names;
        double largestQ = 0, largestH = 0;
        for (std::size_t k = 0; k < type.Curves.size(); ++k) {
            const TSampleCurve &sample = type.Curves[k];
            TFanCurve &curve = curves[k];
            curve.Flag = 1;
            curve.LastIndex = static_cast<int>(sample.Fractions.size()) - 1;
            for (std::size_t j = 0; j < sample.Fractions.size(); ++j) {
                const double x = sample.Fractions[j];
                curve.Q[j] = RoundToUnit(sample.Qk * x, 0.1);
                curve.H[j] = RoundToUnit(sample.Hk * Shape(x), 1);
                largestQ = std::max(largestQ, curve.Q[j]);
                largestH = std::max(largestH, curve.H[j]);
            }
            names << QString::fromUtf8(sample.Name);
        }
        const QString name = QString::fromUtf8(type.Name);
        TFanTypeRecord record;
        PackFanCurves(record, name, curves, names, FanAxisRange(largestQ), FanAxisRange(largestH));
        const QString fileName = QDir(folder).filePath(name + QStringLiteral(".Fan"));
        WriteFanTypeFile(fileName, record);
        written << fileName;
    }
    return written;
}
