#include "calc/fan_catalogue.h"

#include "model/robust_stream.h"
#include "platform/codepage.h"
#include "platform/guard.h"
#include "platform/prompt.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QtEndian>

#include <cmath>

namespace {

// Offsets of the record's fields.
constexpr int OffTypeName = 0;
constexpr int OffLastCurve = 24;
constexpr int OffCurveFlags = 28;
constexpr int OffCurveNames = 44;
constexpr int CurveNameSize = FanCurveNameCapacity + 1;
constexpr int OffLastPoint = 220;
constexpr int OffPointQ = 284;
constexpr int OffQAxisMax = 4284;
constexpr int OffPointH = 4292;
constexpr int OffHAxisMax = 8292;
static_assert(OffCurveNames + MaxFanCurves * CurveNameSize == OffLastPoint);
static_assert(OffPointQ + FanPointPoolSize * 8 == OffQAxisMax);
static_assert(OffHAxisMax + 8 == FanTypeRecordSize);

void PutString(char *at, const QString &text, int capacity)
{
    const QByteArray bytes = EncodeCp1251(text.left(capacity));
    at[0] = static_cast<char>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), at + 1);
}

QString GetString(const char *at, int capacity)
{
    const int length = std::min<int>(static_cast<unsigned char>(at[0]), capacity);
    return DecodeCp1251(at + 1, length);
}

const QString ErrorCaption = QStringLiteral("Ошибка");

void ShowFileError(const Exception &e)
{
    ShowMessageBox(e.Message(), LookupText(ErrorCaption), mb::Ok | mb::IconError);
}

QString ShownName(const QString &fileName) { return QDir::toNativeSeparators(fileName); }

} // namespace

void ClearFanRecord(TFanTypeRecord &record) { record = TFanTypeRecord{}; }

QByteArray EncodeFanTypeRecord(const TFanTypeRecord &record)
{
    QByteArray bytes(FanTypeRecordSize, '\0');
    char *data = bytes.data();
    PutString(data + OffTypeName, record.TypeName, FanTypeNameCapacity);
    qToLittleEndian(record.LastCurve, data + OffLastCurve);
    for (int k = 0; k < MaxFanCurves; ++k) {
        data[OffCurveFlags + k] = static_cast<char>(record.CurveFlags[k]);
        PutString(data + OffCurveNames + k * CurveNameSize, record.CurveNames[k], FanCurveNameCapacity);
        qToLittleEndian(record.LastPoint[k], data + OffLastPoint + 4 * k);
    }
    for (int i = 0; i < FanPointPoolSize; ++i) {
        qToLittleEndian(record.PointQ[i], data + OffPointQ + 8 * i);
        qToLittleEndian(record.PointH[i], data + OffPointH + 8 * i);
    }
    qToLittleEndian(record.QAxisMax, data + OffQAxisMax);
    qToLittleEndian(record.HAxisMax, data + OffHAxisMax);
    return bytes;
}

QString DecodeFanTypeRecord(const QByteArray &bytes, TFanTypeRecord &record)
{
    if (bytes.size() < FanTypeRecordSize)
        return QStringLiteral("Файл короче %1 байт").arg(FanTypeRecordSize);
    const char *data = bytes.constData();
    TFanTypeRecord read;
    read.TypeName = GetString(data + OffTypeName, FanTypeNameCapacity);
    read.LastCurve = qFromLittleEndian<std::int32_t>(data + OffLastCurve);
    if (read.LastCurve < -1 || read.LastCurve >= MaxFanCurves)
        return QStringLiteral("Неверное число характеристик: %1").arg(read.LastCurve + 1);
    int points = 0;
    for (int k = 0; k < MaxFanCurves; ++k) {
        read.CurveFlags[k] = static_cast<std::uint8_t>(data[OffCurveFlags + k]);
        read.CurveNames[k] = GetString(data + OffCurveNames + k * CurveNameSize, FanCurveNameCapacity);
        read.LastPoint[k] = qFromLittleEndian<std::int32_t>(data + OffLastPoint + 4 * k);
        if (k > read.LastCurve)
            continue;
        if (read.LastPoint[k] < -1 || read.LastPoint[k] > MaxCurvePointIndex)
            return QStringLiteral("Неверное число точек характеристики %1: %2").arg(k + 1).arg(read.LastPoint[k] + 1);
        points += read.LastPoint[k] + 1;
    }
    if (points > FanPointPoolSize)
        return QStringLiteral("Точек больше %1: %2").arg(FanPointPoolSize).arg(points);
    for (int i = 0; i < FanPointPoolSize; ++i) {
        read.PointQ[i] = qFromLittleEndian<double>(data + OffPointQ + 8 * i);
        read.PointH[i] = qFromLittleEndian<double>(data + OffPointH + 8 * i);
        if (i < points && !(std::isfinite(read.PointQ[i]) && std::isfinite(read.PointH[i])))
            return QStringLiteral("Точка %1 не задана числом").arg(i + 1);
    }
    read.QAxisMax = qFromLittleEndian<double>(data + OffQAxisMax);
    read.HAxisMax = qFromLittleEndian<double>(data + OffHAxisMax);
    if (!std::isfinite(read.QAxisMax) || !std::isfinite(read.HAxisMax))
        return QStringLiteral("Масштаб осей не задан числом");
    record = read;
    return {};
}

void ReadFanTypeFile(const QString &fileName, TFanTypeRecord &record)
{
    try {
        TRobustFileStream s(fileName, TRobustFileStream::fmOpenRead);
        const QByteArray bytes = s.ReadBytes(std::min<qint64>(s.Size(), FanTypeRecordSize));
        const QString damage = DecodeFanTypeRecord(bytes, record);
        if (!damage.isEmpty())
            throw Exception(damage);
    } catch (const Exception &e) {
        throw Exception(QStringLiteral("Ошибка чтения файла \"%1\". %2").arg(ShownName(fileName), e.Message()));
    }
}

void WriteFanTypeFile(const QString &fileName, const TFanTypeRecord &record)
{
    try {
        TRobustFileStream s(fileName, TRobustFileStream::fmCreate);
        s.WriteBytes(EncodeFanTypeRecord(record));
        s.Commit();
    } catch (const Exception &e) {
        throw Exception(QStringLiteral("Ошибка записи файла \"%1\". %2").arg(ShownName(fileName), e.Message()));
    }
}

bool PackFanCurves(TFanTypeRecord &record, const QString &typeName,
                   const std::array<TFanCurve, MaxFanCurves> &curves, const QStringList &curveNames, double qFull,
                   double hFull)
{
    record = TFanTypeRecord{};
    record.TypeName = typeName.left(FanTypeNameCapacity);
    record.LastCurve = -1;
    int pool = 0;
    for (int i = 0; i < MaxFanCurves; ++i) {
        const TFanCurve &curve = curves[i];
        const int last = std::min(curve.LastIndex, MaxCurvePointIndex);
        // The pool holds 500 points; the editor's 16 × 15 never fill it.
        if (last < 1 || pool + last + 1 > FanPointPoolSize)
            continue;
        const int k = ++record.LastCurve;
        record.CurveFlags[k] = curve.Flag;
        record.CurveNames[k] = curveNames.value(i).left(FanCurveNameCapacity);
        record.LastPoint[k] = last;
        for (int j = 0; j <= last; ++j, ++pool) {
            record.PointQ[pool] = curve.Q[j];
            record.PointH[pool] = curve.H[j];
        }
    }
    record.HAxisMax = hFull;
    record.QAxisMax = qFull;
    return record.LastCurve >= 0;
}

double FanAxisRange(double largest) { return (std::floor(largest / 5) * 5 + 5) * 1.1; }

QString NewFanTypeEntry(int fileCount)
{
    return QStringLiteral("B") + LookupText(QStringLiteral("Новый №")) + QStringLiteral(" %1").arg(fileCount + 1);
}

QString NewFanCurveEntry(int number)
{
    return QStringLiteral("Х") + LookupText(QStringLiteral("Новая №")) + QStringLiteral(" %1").arg(number);
}

bool IsRefusedNameChar(QChar c)
{
    static const QString forbidden = QStringLiteral("!\"*./:?[]\\^`{}");
    if (forbidden.contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7F)
        return true;
    // Characters 1251 lacks come back as '?', which is refused itself.
    return DecodeCp1251(EncodeCp1251(QString(c))) != QString(c);
}

QString TFanCatalogue::TypeFileName(const QString &typeName) const
{
    const QDir dir(Folder);
    const QString wanted = typeName + QStringLiteral(".Fan");
    // Compared one by one: a name may hold characters that a pattern would read.
    const QStringList present = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : present)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    return dir.filePath(wanted);
}

TFanCatalogue::TLoadResult TFanCatalogue::ScanFanTypes()
{
    TypeList = {NoFanTypeEntry};
    const QDir dir(Folder);
    const QStringList files = dir.entryList({QStringLiteral("*.Fan")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    FileCount = static_cast<int>(files.size());
    for (const QString &file : files)
        TypeList << file.left(file.size() - 4);
    if (FileCount == 0) {
        TypeIndex = 0;
        ShowMessageBox(LookupText(QStringLiteral("В базе нет ветиляторов !")) + u'\r' + LookupText(QStringLiteral("Путь "))
                           + Folder + u'\r' + LookupText(QStringLiteral("Не приводит к цели !")),
                       ApplicationTitle, mb::Ok | mb::IconInformation);
        return lrNoType;
    }
    if (FileCount < MaxFanTypeFiles)
        TypeList << NewFanTypeEntry(FileCount);
    TypeIndex = 0;
    for (int i = 0; i < TypeList.size(); ++i)
        if (TypeList[i] == TypeName)
            TypeIndex = i;
    const TLoadResult result = LoadFanType();
    if (result == lrFailed)
        TypeIndex = 0;
    return result;
}

TFanCatalogue::TLoadResult TFanCatalogue::LoadFanType()
{
    // The new-type entry has no file; the editor starts a new type for it.
    if (TypeIndex <= 0 || TypeIndex > FileCount)
        return lrNoType;
    TFanTypeRecord read;
    try {
        ReadFanTypeFile(TypeFileName(ChosenTypeText()), read);
    } catch (const Exception &e) {
        ShowFileError(e);
        return lrFailed;
    }
    Record = read;
    for (TFanCurve &curve : Curves)
        ClearFanCurve(curve);
    m_plot.QFormat = m_plot.HFormat = TAxisLabelFormat{5, 1};
    LastCurve = Record.LastCurve;
    CurveList.clear();
    double largestQ = 0, largestH = 0;
    int pool = 0;
    for (int k = 0; k <= LastCurve; ++k) {
        CurveList << Record.CurveNames[k];
        TFanCurve &curve = Curves[k];
        curve.LastIndex = Record.LastPoint[k];
        curve.Flag = Record.CurveFlags[k];
        for (int j = 0; j <= curve.LastIndex; ++j, ++pool) {
            curve.Q[j] = Record.PointQ[pool];
            curve.H[j] = Record.PointH[pool];
            largestQ = std::max(largestQ, curve.Q[j]);
            largestH = std::max(largestH, curve.H[j]);
        }
    }
    const double qFull = Record.QAxisMax > 0 ? Record.QAxisMax : FanAxisRange(largestQ);
    const double hFull = Record.HAxisMax > 0 ? Record.HAxisMax : FanAxisRange(largestH);
    SetFullRanges(m_plot, qFull, hFull);
    if (LastCurve < MaxFanCurves - 1)
        CurveList << NewFanCurveEntry(LastCurve + 2);
    return lrLoaded;
}

int TFanCatalogue::PackFanType()
{
    return PackFanCurves(Record, ChosenTypeText(), Curves, CurveList, m_plot.QFull, m_plot.HFull) ? 0 : 1;
}

bool TFanCatalogue::WriteFanType()
{
    try {
        WriteFanTypeFile(TypeFileName(ChosenTypeText()), Record);
    } catch (const Exception &e) {
        ShowFileError(e);
        return false;
    }
    ScanFanTypes();
    return true;
}

bool TFanCatalogue::DeleteFanType()
{
    const QString name = ChosenTypeText();
    if (ShowMessageBox(LookupText(QStringLiteral("Удалить Вентилятор")) + u' ' + name + QStringLiteral(" ?"),
                       LookupText(QStringLiteral("Подтверждение")), mb::YesNo | mb::IconQuestion)
        != idYes)
        return false;
    Beep();
    const QString fileName = TypeFileName(name);
    QFile file(fileName);
    if (!file.remove()) {
        ShowMessageBox(QStringLiteral("Не удается удалить файл \"%1\". %2").arg(ShownName(fileName), file.errorString()),
                       LookupText(ErrorCaption), mb::Ok | mb::IconError);
        return false;
    }
    TypeIndex = 0;
    TypeName = NoFanTypeEntry;
    ScanFanTypes();
    return true;
}
