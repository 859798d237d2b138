#include "journal/form2_text.h"

#include "model/robust_stream.h"
#include "platform/codepage.h"
#include "platform/numbers.h"

#include <cstdint>

namespace {

QString Blanks(int count) { return QString(count, u' '); }
// printf's "%Ns" and "%-Ns": minimum widths, nothing is cut.
QString Right(const QString &text, int width) { return text.rightJustified(width, u' '); }
QString Left(const QString &text, int width) { return text.leftJustified(width, u' '); }

const QString Totals = QStringLiteral("И Т О Г О");
constexpr int TitleLength = 80;

class TForm2Builder
{
public:
    TForm2Builder(const TKerstal &journal, int linesPerPage)
        : m_journal(journal), m_linesPerPage(static_cast<std::uint32_t>(linesPerPage))
    {
    }

    QStringList Build()
    {
        WriteHead();
        std::uint32_t count = 10;
        for (int i = 0; i < m_journal.Count(); ++i) {
            const TRubric &rubric = *m_journal.Items(i);
            // The counts compare as unsigned numbers: a page length below 2
            // wraps round here and never breaks before a title.
            if (++count >= m_linesPerPage - 2) {
                BreakPage();
                count = 11;
            }
            if (WriteTitle(rubric.Name))
                ++count;
            for (int j = 0; j < rubric.Count(); ++j) {
                if (++count > m_linesPerPage) {
                    BreakPage();
                    count = 11;
                }
                WriteRecord(*rubric.Items(j));
            }
            if (WriteTotals(i))
                ++count;
            ++count;
        }
        return m_lines;
    }

private:
    void WriteHead()
    {
        ++m_page;
        m_lines << Blanks(45) + QString::number(m_page) + u' '
                << Blanks(35) + QStringLiteral("ВЕНТИЛЯЦИОННЫЙ ЖУРНАЛ")
                << Blanks(35) + QStringLiteral("Шахта  ") + m_journal.MineName;
        const QString begins = FormatShortDate(m_journal.VJBegins);
        const QString ends = FormatShortDate(m_journal.VJEnds);
        const QString form = QStringLiteral("Форма 2");
        m_lines << (begins == ends ? Blanks(39) + begins + Blanks(128) + form
                                   : Blanks(39) + begins + u'-' + ends + Blanks(124) + form);
        m_lines << QString(220, u'_')
                << Blanks(22) + QStringLiteral("П О С Т У П А Ю Щ А Я   С Т Р У Я") + Blanks(32) + u':' + Blanks(19)
                       + QStringLiteral("И С Х О Д Я Щ А Я   С Т Р У Я") + Blanks(27) + u':' + Blanks(29) + u':'
                       + Blanks(5) + u':' + Blanks(5) + QStringLiteral(":  Замечания   ")
                << QString(163, u'_') + QStringLiteral(":   Содержание в воздухе,%") + Blanks(4) + u':' + Blanks(5)
                       + u':' + Blanks(5) + QStringLiteral(":  главного") + Blanks(4)
                << QStringLiteral("Ном.:") + Blanks(18) + QStringLiteral("Наименование") + Blanks(20)
                       + QStringLiteral(":Сечен.:Скор.:Расход:Темп.:Влаж.:Ном.:") + Blanks(18)
                       + QStringLiteral("Наименование") + Blanks(20) + QStringLiteral(":Сечен.:Скор.:Расход:")
                       + QString(29, u'-') + QStringLiteral(":Темп.:Влаж.:инженера шахты")
                << QStringLiteral("вет.:") + Blanks(22) + QStringLiteral("ветви") + Blanks(23)
                       + QStringLiteral(": кв.м : м/с :м3/мин:грд.С:  %  :вет.:") + Blanks(22)
                       + QStringLiteral("ветви") + Blanks(23)
                       + QStringLiteral(": кв.м : м/с :м3/мин: CH4/H2 :  CO2 :  O2  :  CO  :грд.С:  %  :или нач-ка ВТБ")
                << QString(220, u'-');
    }

    void BreakPage()
    {
        m_lines << QString(QChar(12));
        WriteHead();
    }

    // Titles "group: rest" write the group on a line of its own only when it
    // differs from the last group written. True when two lines were written.
    bool WriteTitle(const QString &name)
    {
        const QString title = name.left(TitleLength);
        const qsizetype colon = title.indexOf(u':');
        if (colon < 0) {
            m_lines << Blanks(24) + title;
            return false;
        }
        const QString group = title.left(colon + 1);
        const QString rest = title.mid(colon + 1);
        if (m_hasGroup && group == m_group) {
            m_lines << Blanks(24) + rest;
            return false;
        }
        m_group = group;
        m_hasGroup = true;
        m_lines << Blanks(24) + group << Blanks(24) + rest;
        return true;
    }

    void WriteRecord(const TRubricRecord &record)
    {
        const TBranchRecord &in = record.InBranch;
        const TExtendedBranchRecord &out = record.OutBranch;
        const QStringList parts{
            Right(FormatNumber(in), 3), Left(in.Name, 52), Right(FormatSec(in), 4), Right(FormatSpeed(in), 6),
            Right(FormatOut(in), 7), Right(FormatTemperature(in), 4), Right(FormatWaternity(in), 5)};
        const QStringList outParts{
            Right(FormatNumber(out), 4), Left(out.Name, 51), Right(FormatSec(out), 4), Right(FormatSpeed(out), 6),
            Right(FormatOut(out), 7), Right(out.CH4, 7), Right(out.CO2, 8), Right(out.O2, 4), Right(out.CO, 6),
            Right(FormatTemperature(out), 5), Right(FormatWaternity(out), 5)};
        m_lines << parts.join(u' ') + outParts.join(u' ');
    }

    static QString LeakageLine(std::int64_t total, double percent, const QString &of)
    {
        return Blanks(54) + Totals + Blanks(4) + Right(QString::number(total), 9) + QStringLiteral("  или ")
               + FormatWD(percent, 6, 1) + of;
    }

    // True when a second line was written.
    bool WriteTotals(int index)
    {
        const TRubric &rubric = *m_journal.Items(index);
        const std::int64_t in = rubric.InTotal();
        const std::int64_t out = rubric.OutTotal();
        switch (rubric.RubricType) {
        case rtOrdinary:
        case rtMineIntake:
            if (in == 0)
                m_lines << Blanks(142) + Totals + Blanks(3) + Right(QString::number(out), 9);
            else if (out == 0)
                m_lines << Blanks(54) + Totals + Blanks(4) + Right(QString::number(in), 9);
            else
                m_lines << Blanks(54) + Totals + Blanks(4) + Right(QString::number(in), 9) + Blanks(66) + Totals
                               + Blanks(3) + Right(QString::number(out), 9);
            return false;
        case rtNoTotals:
            m_lines << Blanks(4);
            return false;
        case rtOuterLeakage: {
            const QString of = QStringLiteral(" % от подачи ВГП");
            const double percent = m_journal.LeakagePercent(index);
            m_lines << LeakageLine(in, percent, of);
            m_outerIn += in;
            m_outerSupply += rubric.MainFanSupply();
            ++m_outerCount;
            if (m_journal.VGPCount > 1 && m_outerCount == m_journal.VGPCount) {
                m_lines << LeakageLine(m_outerIn, m_outerSupply == 0 ? percent : Percent(m_outerIn, m_outerSupply), of);
                return true;
            }
            return false;
        }
        case rtInnerLeakage:
            m_lines << LeakageLine(in, m_journal.LeakagePercent(index),
                                   QStringLiteral(" % от общей поступающей в шахту"));
            return false;
        default:
            // A type that no dialog offers writes no totals.
            return false;
        }
    }

    const TKerstal &m_journal;
    const std::uint32_t m_linesPerPage;
    QStringList m_lines;
    int m_page = 0;
    QString m_group;
    bool m_hasGroup = false;
    std::int64_t m_outerIn = 0;
    std::int64_t m_outerSupply = 0;
    int m_outerCount = 0;
};

} // namespace

QStringList BuildForm2Lines(const TKerstal &journal, int linesPerPage)
{
    return TForm2Builder(journal, linesPerPage).Build();
}

QString BuildForm2Text(const TKerstal &journal, int linesPerPage)
{
    QString text;
    for (const QString &line : BuildForm2Lines(journal, linesPerPage))
        text += line + QStringLiteral("\r\n");
    return text;
}

void ExportForm2Text(const TKerstal &journal, const QString &path, bool dos, int linesPerPage)
{
    const QByteArray ansi = EncodeCp1251(BuildForm2Text(journal, linesPerPage));
    try {
        TRobustFileStream s(path, TRobustFileStream::fmCreate);
        s.WriteBytes(dos ? AnsiToOemBytes(ansi) : ansi);
        s.Commit();
    } catch (const EOutOfDiskSpace &e) {
        throw Exception(QStringLiteral("Не удается записать файл \"%1\". %2").arg(path, e.Message()));
    }
}
