#include "model/helpers.h"

#include "platform/codepage.h"
#include "platform/numbers.h"
#include "platform/prompt.h"

#include <cmath>

QString UpperCaseAscii(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return result;
}

QString StripSpaces(const QString &text)
{
    QString result = text;
    result.remove(u' ');
    return result;
}

QString ReplaceFileNameChars(const QString &text, QChar replacement)
{
    static const QString forbidden = QStringLiteral("\"*/:<>?\\|");
    QString result = text;
    for (QChar &c : result)
        if (forbidden.contains(c))
            c = replacement;
    return result;
}

QString AddTrailingSlash(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder;
    return folder + u'/';
}

QString ExtractFolder(const QString &path)
{
    const qsizetype i = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return i < 0 ? QString() : path.left(i + 1);
}

QByteArray OemToAnsiText(const QByteArray &text) { return OemToAnsiBytes(text); }
QByteArray AnsiToOemText(const QByteArray &text) { return AnsiToOemBytes(text); }

bool PointInRect(TPoint p, const TRect &r)
{
    return r.Left <= p.X && p.X <= r.Right && r.Top <= p.Y && p.Y <= r.Bottom;
}

std::int64_t SquaredDistance(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2)
{
    return (x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1);
}

TRect InflateRectBy(int dx, int dy, const TRect &r)
{
    return {r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy};
}

TRect WidenRect(const TRect &r, double factor)
{
    return InflateRectBy(static_cast<int>(Round(r.Width() * factor)), static_cast<int>(Round(r.Height() * factor)), r);
}

TPoint NearestRectCorner(int x, int y, int width, int height, TPoint p)
{
    const int right = Shifted(x, width), bottom = Shifted(y, height);
    const TPoint corners[] = {{x, y}, {right, y}, {x, bottom}, {right, bottom}};
    TPoint best = corners[0];
    std::int64_t bestDistance = SquaredDistance(best.X, best.Y, p.X, p.Y);
    for (const TPoint &c : corners) {
        const std::int64_t d = SquaredDistance(c.X, c.Y, p.X, p.Y);
        if (d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
}

bool SegmentDistance2(TPoint p1, TPoint p2, TPoint p3, double &distance)
{
    const auto d13 = static_cast<double>(SquaredDistance(p1.X, p1.Y, p3.X, p3.Y));
    const auto d12 = static_cast<double>(SquaredDistance(p1.X, p1.Y, p2.X, p2.Y));
    const auto d23 = static_cast<double>(SquaredDistance(p2.X, p2.Y, p3.X, p3.Y));
    if (d12 == 0) {
        distance = 0;
        return false;
    }
    const double s = d13 + d12 - d23;
    distance = d13 - s * s / (4 * d12);
    return d13 + d12 >= d23 && d13 <= d12 + d23;
}

TPoint FootOnLine(TDoublePoint p1, TDoublePoint p2, TDoublePoint p3)
{
    const auto sq = [](TDoublePoint a, TDoublePoint b) { return (b.X - a.X) * (b.X - a.X) + (b.Y - a.Y) * (b.Y - a.Y); };
    const double d12 = sq(p1, p2);
    const double d13 = sq(p1, p3);
    const double d23 = sq(p2, p3);
    const double length = std::sqrt(d12);
    const double s = std::fabs(d12 + d13 - d23) / (2 * length);
    return {static_cast<int>(Round(p1.X + (p2.X - p1.X) * s / length)),
            static_cast<int>(Round(p1.Y + (p2.Y - p1.Y) * s / length))};
}

double PercentDifference(double base, double value)
{
    if (base != 0) {
        const double result = (value - base) / base * 100;
        if (std::isfinite(result))
            return result;
    }
    if (std::fabs(value - base) < 0.0001 || (std::fabs(base) < 0.001 && std::fabs(value) < 0.001))
        return 0;
    if (std::fabs(base) < 0.01 || std::fabs(value) < 0.01)
        return 100;
    return 0;
}

double SnapToStep(double value, double step)
{
    const double q = value / step;
    const double r = step * (q - std::trunc(q));
    return r < step / 2 ? value - r : value - r + step;
}

QString CommaToPoint(const QString &text)
{
    QString result = text;
    result.replace(u',', u'.');
    return result;
}

QString FormatFixedStr(double x, int width, int decimals)
{
    return FormatWD(x, width, decimals, u'.');
}

bool StrInD(const QString &text, double &value, double min, double max, int width, int decimals)
{
    double number = 0;
    // "nan" and "inf" read as numbers but are no values a dialog can take.
    if (!TryStrToFloat(CommaToPoint(text), number) || !std::isfinite(number)) {
        ShowMessageBox(QStringLiteral("Число ==> ") + text + QStringLiteral(" набрано с ошибками !\r"),
                       QStringLiteral("Предупреждение"), mb::Ok | mb::IconWarning);
        return false;
    }
    if (number < min || number > max) {
        ShowMessageBox(QStringLiteral("Число вне допустимого диапазона: \r") + FormatFixedStr(min, width, decimals)
                           + QStringLiteral(" ... ") + FormatFixedStr(max, width, decimals) + QStringLiteral(" !"),
                       QStringLiteral("Предупреждение"), mb::Ok | mb::IconWarning);
        return false;
    }
    value = number;
    return true;
}
