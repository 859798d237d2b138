#include "shell/foreign_files.h"

#include "shell/documents.h"

#include "model/number_parser.h"
#include "model/robust_stream.h"
#include "platform/codepage.h"
#include "platform/exceptions.h"
#include "platform/numbers.h"
#include "platform/prompt.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>

#include <cmath>
#include <limits>

namespace {

// A text file of another program read line by line, its fields separated by
// blanks and tabs, numbers with a point whatever the locale. Blank lines are
// passed over, as free-format reading does.
class TFieldLines
{
public:
    explicit TFieldLines(const QString &fileName) : m_fileName(fileName)
    {
        TRobustFileStream s(fileName, TRobustFileStream::fmOpenRead);
        QByteArray text = s.ReadBytes(s.Size());
        // DOS programs may close a text file with Ctrl+Z.
        const qsizetype end = text.indexOf('\x1A');
        if (end >= 0)
            text.truncate(end);
        m_lines = text.split('\n');
    }

    int LineNo() const { return m_index + 1; }
    const QByteArray &Line() const { return m_line; }

    // The next line that holds more than blanks; false at the end.
    bool Next()
    {
        while (++m_index < m_lines.size()) {
            m_line = m_lines[m_index];
            if (m_line.endsWith('\r'))
                m_line.chop(1);
            m_fields = m_line.simplified().split(' ');
            if (!m_line.trimmed().isEmpty())
                return true;
        }
        m_line.clear();
        m_fields.clear();
        return false;
    }

    // Fields of the current line; the line's own text from a given column.
    qsizetype FieldCount() const { return m_fields.size(); }
    QByteArray Field(qsizetype field) const { return m_fields.value(field); }
    void SetFieldsFrom(qsizetype column)
    {
        const QByteArray rest = m_line.mid(column).simplified();
        m_fields = rest.isEmpty() ? QList<QByteArray>() : rest.split(' ');
    }
    void Require(qsizetype count) const
    {
        if (m_fields.size() < count)
            Fail(QStringLiteral("в строке недостаточно чисел"));
    }

    // A whole number; values beyond int are given as int's limits, so that
    // the range tests of the callers refuse them.
    int Int(qsizetype field) const
    {
        bool ok = false;
        const qlonglong v = m_fields.value(field).toLongLong(&ok, 10);
        if (!ok)
            BadNumber(field);
        return static_cast<int>(std::clamp<qlonglong>(v, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
    }
    double Real(qsizetype field) const
    {
        bool ok = false;
        const double v = m_fields.value(field).toDouble(&ok);
        if (!ok || !std::isfinite(v))
            BadNumber(field);
        return v;
    }

    [[noreturn]] void Fail(const QString &what, int line = 0) const
    {
        throw Exception(QStringLiteral("Ошибка чтения файла \"%1\", строка %2: %3")
                            .arg(m_fileName)
                            .arg(line > 0 ? line : LineNo())
                            .arg(what));
    }

private:
    [[noreturn]] void BadNumber(qsizetype field) const
    {
        Fail(QStringLiteral("\"%1\" не является числом").arg(QString::fromLatin1(m_fields.value(field))));
    }

    QString m_fileName;
    QList<QByteArray> m_lines;
    qsizetype m_index = -1;
    QByteArray m_line;
    QList<QByteArray> m_fields;
};

// A reader that stops half-way leaves its branches drawable.
template <typename Read>
void KeepDrawableOnFailure(TNetworkTables &t, Read read)
{
    try {
        read();
    } catch (...) {
        RebuildAllEdgeTurns(t);
        throw;
    }
}

// ---- РЕВОД ------------------------------------------------------------------

void ReadRevodTitles(const QString &fileName, TRevodTitles &titles)
{
    TRobustFileStream s(fileName, TRobustFileStream::fmOpenRead);
    const QList<QByteArray> lines = s.ReadBytes(s.Size()).split('\n');
    QString *fields[] = {&titles.Program, &titles.Mine, &titles.Variant};
    for (int i = 0; i < 3 && i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        *fields[i] = DecodeCp866(line);
    }
}

void ReadRevodBranches(TNetworkTables &t, const QString &fileName)
{
    TFieldLines in(fileName);
    while (in.Next()) {
        // Only the first five fields count; a line too short for a branch
        // carries no rule and is passed over.
        if (in.FieldCount() < 4)
            continue;
        const int b = in.Int(0), s = in.Int(1), e = in.Int(2);
        const double r = in.Real(3);
        const double area = in.FieldCount() >= 5 ? in.Real(4) : 0.0;
        if (!ValidItemIndex(b) || !ValidItemIndex(s) || !ValidItemIndex(e))
            continue;
        t.BranchNo[b] = static_cast<std::int16_t>(b);
        t.NodeNo[s] = static_cast<std::int16_t>(s);
        t.NodeNo[e] = static_cast<std::int16_t>(e);
        t.BranchStartNode[b] = static_cast<std::int16_t>(s);
        t.BranchEndNode[b] = static_cast<std::int16_t>(e);
        t.BranchR[b] = std::min(r, 900000.0);
        t.BranchArea[b] = area;
    }
}

void ReadRevodFans(TNetworkTables &t, const QString &fileName)
{
    TFieldLines in(fileName);
    while (in.Next()) {
        in.Require(4);
        const int b = in.Int(0);
        in.Int(1);
        const double depression = in.Real(2), r = in.Real(3);
        if (!ValidItemIndex(b))
            continue;
        t.BranchNo[b] = static_cast<std::int16_t>(b);
        t.BranchAuxDepression[b] = depression;
        t.BranchR[b] = std::fabs(r);
    }
}

void ReadRevodAddedResistances(TNetworkTables &t, const QString &fileName)
{
    TFieldLines in(fileName);
    while (in.Next()) {
        // The code takes the first four characters, whatever they are.
        in.SetFieldsFrom(4);
        in.Require(2);
        const int b = in.Int(0);
        const double r = in.Real(1);
        if (!ValidItemIndex(b))
            continue;
        t.BranchNo[b] = static_cast<std::int16_t>(b);
        t.BranchR[b] += r;
    }
}

void ReadRevodNodes(TNetworkTables &t, const QString &fileName)
{
    TFieldLines in(fileName);
    while (in.Next()) {
        in.Require(3);
        const int n = in.Int(0);
        const double altitude = in.Real(1), temperature = in.Real(2);
        if (!ValidItemIndex(n))
            continue;
        t.NodeNo[n] = static_cast<std::int16_t>(n);
        t.NodeAltitude[n] = static_cast<double>(Round(altitude));
        for (int b = 1; b <= MaxItems; ++b) {
            if (t.BranchStartNode[b] == n)
                t.BranchStartTemp[b] = temperature;
            if (t.BranchEndNode[b] == n)
                t.BranchEndTemp[b] = temperature;
        }
    }
}

void ReadRevodSurface(TNetworkTables &t, const QString &fileName)
{
    TFieldLines in(fileName);
    while (in.Next()) {
        SetParseText(QString::fromLatin1(in.Line()));
        int first = 0, last = 0;
        try {
            while (ParseNextRange(first, last))
                for (int n = std::max(first, 1); n <= std::min(last, MaxItems); ++n) {
                    t.NodeNo[n] = static_cast<std::int16_t>(n);
                    t.NodeIsSurface[n] = 1;
                }
        } catch (const EConvertError &e) {
            in.Fail(e.Message());
        }
    }
}

// ---- VENT -------------------------------------------------------------------

bool VentFanCode(int code) { return std::abs(code) % 10 == 6; }

// The format has no nodes of its own: each end node a branch names is made,
// numbered only, at (0, 0); node 1 stands for the surface.
void MakeVentNode(TNetworkTables &t, int n)
{
    if (NodeExist(t, n))
        return;
    t.NodeNo[n] = static_cast<std::int16_t>(n);
    if (n == 1)
        t.NodeIsSurface[n] = 1;
}

void ReadVentBranchLines(TNetworkTables &t, const QString &spName)
{
    TFieldLines in(spName);
    while (in.Next()) {
        in.Require(11);
        const int n = in.Int(0), first = in.Int(1), second = in.Int(2);
        const double r = in.Real(3);
        const int code = in.Int(4);
        const double q = in.Real(5), h = in.Real(6), alpha10 = in.Real(7);
        const int length = in.Int(8);
        const double area = in.Real(9), required = in.Real(10);
        const bool valid = ValidItemIndex(n) && ValidItemIndex(first) && ValidItemIndex(second);

        if (!VentFanCode(code)) {
            if (!valid)
                continue;
            if (BranchPresent(t, n)) {
                ShowMessageBox(QStringLiteral("Ветвь №%1 уже встречалась в файле %2. ").arg(n).arg(spName) + u'\r'
                                   + QStringLiteral("Будут приняты новые данные для этой ветви."),
                               QString(), mb::Ok);
                DestroyBranch(t, n);
            }
            CreateBranch(t, n);
            t.BranchStartNode[n] = static_cast<std::int16_t>(first);
            t.BranchEndNode[n] = static_cast<std::int16_t>(second);
            t.BranchR[n] = std::fabs(r);
            t.BranchDGSMark[n] = static_cast<std::int16_t>(code);
            t.BranchQ[n] = q;
            t.BranchGivenDepression[n] = h;
            t.BranchAlpha[n] = alpha10 / 10;
            t.BranchLength[n] = static_cast<std::int16_t>(length);
            t.BranchArea[n] = area;
            t.BranchRequiredFlow[n] = required;
            MakeVentNode(t, first);
            MakeVentNode(t, second);
            continue;
        }

        // A fan: its own resistance and end node come on the companion line.
        const int fanLine = in.LineNo();
        if (!in.Next())
            in.Fail(QStringLiteral("нет строки, парной к строке вентилятора"), fanLine);
        in.Require(11);
        // The companion joins the fan's intermediate node (the fan line's
        // second node) to the fan's end, written either way round.
        const int end = in.Int(1) != second && in.Int(2) == second ? in.Int(1) : in.Int(2);
        const double fanR = in.Real(3);
        for (int field = 4; field < 11; ++field)
            in.Real(field);
        if (!ValidItemIndex(n) || !ValidItemIndex(first) || !ValidItemIndex(end))
            continue;
        CreateBranch(t, n);
        t.BranchStartNode[n] = static_cast<std::int16_t>(first);
        t.BranchType[n] = first == 1 ? 2 : 8;
        t.BranchAuxDepression[n] = std::fabs(r);
        t.BranchDGSMark[n] = static_cast<std::int16_t>(code);
        t.BranchQ[n] = q;
        t.BranchGivenDepression[n] = std::fabs(h);
        t.BranchAlpha[n] = alpha10 / 10;
        t.BranchLength[n] = static_cast<std::int16_t>(length);
        t.BranchArea[n] = area;
        t.BranchEndNode[n] = static_cast<std::int16_t>(end);
        t.BranchR[n] = std::fabs(fanR);
        MakeVentNode(t, first);
        MakeVentNode(t, end);
    }
}

// One written line: "%4d %4d %4d %10.5f %4d %6.2f %6.2f %6.1f %4d %6.1f %6.2f".
// QString::asprintf writes a point whatever the locale.
QByteArray VentLine(int n, int first, int second, double r, int code, double q, double h, double alpha10,
                    int length, double area, double required)
{
    return QString::asprintf("%4d %4d %4d %10.5f %4d %6.2f %6.2f %6.1f %4d %6.1f %6.2f\r\n", n, first, second, r,
                             code, q, h, alpha10, length, area, required)
        .toLatin1();
}

} // namespace

QString FindFileNoCase(const QString &folder, const QString &name)
{
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    if (QFileInfo(dir.filePath(name)).isFile())
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

TRevodTitles ImportRevodFiles(TNetworkTables &t, const QString &chosenFile)
{
    const QString folder = QFileInfo(chosenFile).path();
    const auto file = [&](const char *name) { return FindFileNoCase(folder, QString::fromLatin1(name)); };
    const QString mineName = file("MineName.DAT"), mvs = file("MVS.DAT"), vent = file("Vent.DAT"),
                  ventSor = file("VentSor.DAT"), uzel = file("Uzel.DAT"), uzPov = file("UzPov.DAT");
    const bool anyOther = !vent.isEmpty() || !uzel.isEmpty() || !file("VMP.DAT").isEmpty()
                          || !file("Otvod.DAT").isEmpty() || !file("Depres.DAT").isEmpty();
    TRevodTitles titles;
    if (mvs.isEmpty() || !anyOther) {
        ShowMessageBox(QStringLiteral("В папке ") + QDir::toNativeSeparators(folder) + QDir::separator()
                           + QStringLiteral(" отсутствует минимально необходимый")
                           + QStringLiteral(" набор файлов для импорта (MVS.DAT и один из Vent.DAT или VMP.DAT, Otvod.DAT,")
                           + QStringLiteral(" Depres.DAT, Uzel.DAT)"),
                       QString(), mb::Ok);
        return titles;
    }
    KeepDrawableOnFailure(t, [&] {
        if (!mineName.isEmpty())
            ReadRevodTitles(mineName, titles);
        ReadRevodBranches(t, mvs);
        if (!vent.isEmpty())
            ReadRevodFans(t, vent);
        if (!ventSor.isEmpty())
            ReadRevodAddedResistances(t, ventSor);
        if (!uzel.isEmpty())
            ReadRevodNodes(t, uzel);
        if (!uzPov.isEmpty())
            ReadRevodSurface(t, uzPov);
    });
    RebuildAllEdgeTurns(t);
    return titles;
}

QString VentNamesFileFor(const QString &spName)
{
    const QFileInfo info(spName);
    QString name = info.fileName();
    const qsizetype at = name.indexOf(QStringLiteral(".sp"), 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    name.replace(at, 3, QStringLiteral(".bn"));
    return FindFileNoCase(info.path(), name);
}

bool ReadVentBranches(TNetworkTables &t, const QString &spName)
{
    ReadVentBranchLines(t, spName);
    return true;
}

void ReadVentNames(TNetworkTables &t, const QString &bnName)
{
    TFieldLines in(bnName);
    while (in.Next()) {
        const int n = in.Int(0);
        // The text after the number; the name stands between its first two
        // asterisks.
        const QByteArray line = in.Line();
        const qsizetype number = line.indexOf(in.Field(0));
        QString text = DecodeCp866(line.mid(number + in.Field(0).size()));
        text.remove(0, text.indexOf(u'*') + 1);
        const qsizetype close = text.indexOf(u'*');
        if (close >= 0)
            text.truncate(close);
        if (!ValidItemIndex(n))
            continue;
        if (BranchPresent(t, n))
            t.BranchName[n] = text;
        else
            ShowMessageBox(QStringLiteral("Для ветви #%1 (%2) в файле *.sp? нет соответствующей записи").arg(n).arg(text),
                           QString(), mb::Ok);
    }
}

void ImportVentFiles(TNetworkTables &t, const QString &spName)
{
    KeepDrawableOnFailure(t, [&] { ReadVentBranches(t, spName); });
    RebuildAllEdgeTurns(t);
    const QString names = VentNamesFileFor(spName);
    if (!names.isEmpty())
        ReadVentNames(t, names);
}

void WriteVentFiles(const TNetworkTables &t, const QString &spName)
{
    TRobustFileStream out(spName, TRobustFileStream::fmCreate);
    int i = MaxBranchNo(t) + 1;
    int j = MaxNodeNo(t) + 1;
    const auto surfaceOr = [&t](int node) {
        return ValidItemIndex(node) && t.NodeIsSurface[node] ? 1 : node;
    };
    for (int k = 1; k <= MaxItems; ++k) {
        if (!BranchPresent(t, k))
            continue;
        const int code = t.BranchDGSMark[k];
        if (VentFanCode(code)) {
            // The fan runs from its start node to the intermediate node j; the
            // companion carries its resistance from its end node to j.
            out.WriteBytes(VentLine(k, surfaceOr(t.BranchStartNode[k]), j, -t.BranchAuxDepression[k], code,
                                    t.BranchQ[k], -t.BranchGivenDepression[k], t.BranchAlpha[k] * 10, t.BranchLength[k],
                                    t.BranchArea[k], t.BranchRequiredFlow[k]));
            out.WriteBytes(VentLine(i, surfaceOr(t.BranchEndNode[k]), j, t.BranchR[k], code / 10 * 10 + 4,
                                    t.BranchQ[k], t.BranchGivenDepression[k], t.BranchAlpha[k] * 10, t.BranchLength[k],
                                    t.BranchArea[k], t.BranchRequiredFlow[k]));
            ++i;
            ++j;
        } else {
            out.WriteBytes(VentLine(k, surfaceOr(t.BranchStartNode[k]), surfaceOr(t.BranchEndNode[k]), t.BranchR[k],
                                    code, t.BranchQ[k], t.BranchGivenDepression[k], t.BranchAlpha[k] * 10,
                                    t.BranchLength[k], t.BranchArea[k], t.BranchRequiredFlow[k]));
        }
    }
    out.Commit();
}

void WriteVentNames(const TNetworkTables &t, const QString &bnName)
{
    TRobustFileStream out(bnName, TRobustFileStream::fmCreate);
    for (int k = 1; k <= MaxItems; ++k) {
        if (!BranchPresent(t, k) || t.BranchName[k].isEmpty())
            continue;
        out.WriteBytes(QStringLiteral("%1").arg(k, 5).toLatin1() + "  *" + EncodeCp866(t.BranchName[k]) + "*\r\n");
    }
    out.Commit();
}

void InstallForeignFormats(TMineDocument &document, TNetworkTables &t)
{
    document.Import = [&document, &t](TOpenFilter filter, const QString &fileName) {
        switch (filter) {
        case ofKladon:
            document.SetFileName(QDir(QFileInfo(fileName).path()).filePath(ImportKladonFiles(t, fileName)));
            break;
        case ofRevod:
            ImportRevodFiles(t, fileName);
            break;
        case ofVent:
            ImportVentFiles(t, fileName);
            break;
        default:
            break;
        }
    };
    document.ExportVent = [&t](const QString &spName, const QString &bnName) {
        WriteVentFiles(t, spName);
        WriteVentNames(t, bnName);
    };
}
