#include "demo_journal.h"

#include "report/formats.h"

#include <stdexcept>

TJournalNetwork JournalNetworkOf(const TNetworkTables &t)
{
    TJournalNetwork net;
    net.ValidItemIndex = [](int n) { return ValidItemIndex(n); };
    net.GetBranchInfoBlock = [&t] {
        return TJournalBranchTables{&t.BranchNo[1], &t.BranchQ[1], &t.BranchStartTemp[1], &t.BranchArea[1]};
    };
    net.GetBranchName = [&t](int n) { return GetBranchName(t, n); };
    return net;
}

namespace {

class TDemoJournalBuilder
{
public:
    TDemoJournalBuilder(TKerstal &journal, const TNetworkTables &t) : m_journal(journal), m_t(t) {}

    void Rubric(const QString &name, TRubricType type, const QString &remarks = QString())
    {
        m_rubric = m_journal.Add(std::make_unique<TRubric>(&m_journal, false));
        m_rubric->Name = name;
        m_rubric->RubricType = type;
        m_rubric->Remarks = remarks;
    }

    // A record between the named intake and exhaust branches (empty: none);
    // humidity in % and the gas texts of the exhaust as a measurer writes them.
    TRubricRecord &Record(const QString &intake, const QString &exhaust, double inHumidity = 0,
                          double outHumidity = 0, const QStringList &gases = {})
    {
        TRubricRecord *r = m_rubric->Add(std::make_unique<TRubricRecord>(m_rubric));
        r->InBranch.Number = Find(intake);
        r->OutBranch.Number = Find(exhaust);
        r->InBranch.Waternity = inHumidity;
        r->OutBranch.Waternity = outHumidity;
        QString *texts[] = {&r->OutBranch.CH4, &r->OutBranch.CO2, &r->OutBranch.O2, &r->OutBranch.CO};
        for (int i = 0; i < gases.size() && i < 4; ++i)
            *texts[i] = gases[i];
        return *r;
    }

private:
    std::int16_t Find(const QString &name) const
    {
        if (name.isEmpty())
            return 0;
        for (int n = 1; n <= MaxBranchNo(m_t); ++n)
            if (BranchExist(m_t, n) && m_t.BranchName[n] == name)
                return static_cast<std::int16_t>(n);
        throw std::logic_error("the sample mine has no branch " + name.toStdString());
    }

    TKerstal &m_journal;
    const TNetworkTables &m_t;
    TRubric *m_rubric = nullptr;
};

} // namespace

void MakeDemoJournal(TKerstal &journal, const TNetworkTables &t)
{
    journal.MineName = QStringLiteral("«Демонстрационная»");
    journal.MineRemarks = QStringLiteral("Замеры участка ВТБ, горизонт -350 м");
    journal.VGPCount = 2;
    journal.VJBegins = EncodeDate(2026, 3, 2) + EncodeTime(8, 30, 0);
    journal.VJEnds = EncodeDate(2026, 3, 27) + EncodeTime(14, 15, 0);

    TDemoJournalBuilder b(journal, t);
    const QStringList clean{QStringLiteral("0,05"), QStringLiteral("0,1"), QStringLiteral("20,8"), QString()};
    b.Rubric(QStringLiteral("Стволы: поступающая шахты"), rtMineIntake, QStringLiteral("Замер у сопряжений со стволами"));
    b.Record(QStringLiteral("Скиповой ствол"), QString(), 78);
    b.Record(QStringLiteral("Клетевой ствол"), QStringLiteral("Вентиляционный ствол"), 76, 95, clean);

    b.Rubric(QStringLiteral("Стволы: главный вентилятор №1"), rtOuterLeakage);
    b.Record(QStringLiteral("Канал главного вентилятора"), QString());
    b.Record(QStringLiteral("Подсос через надшахтное здание"), QString());
    b.Rubric(QStringLiteral("Стволы: главный вентилятор №2 (резервный)"), rtOuterLeakage,
             QStringLiteral("Резервный агрегат, замер при переключении"));
    b.Record(QStringLiteral("Канал главного вентилятора"), QString());

    for (int k = 1; k <= 3; ++k) {
        const QString n = QString::number(k);
        b.Rubric(QStringLiteral("Горизонт -350 м: лава ") + n, rtOrdinary);
        b.Record(QStringLiteral("Конвейерный штрек лавы ") + n, QStringLiteral("Вентиляционный штрек лавы ") + n,
                 80, 96, {QStringLiteral("0,6"), QStringLiteral("0,3"), QStringLiteral("20,3"), QStringLiteral("0,0008")});
        b.Record(QStringLiteral("Лава ") + n, QStringLiteral("Регулятор лавы ") + n, 88, 97,
                 {QStringLiteral("0,7"), QStringLiteral("0,35"), QStringLiteral("20,2"), QString()});
    }
    b.Rubric(QStringLiteral("Горизонт -350 м: подготовительные забои"), rtOrdinary);
    b.Record(QStringLiteral("Ходок к ВМП-1"), QStringLiteral("Вентиляционный ходок забоя 1"), 82, 94,
             {QStringLiteral("0,4"), QStringLiteral("0,2"), QStringLiteral("20,5"), QString()});
    b.Record(QStringLiteral("Ходок к ВМП-2"), QStringLiteral("Вентиляционный ходок забоя 2"), 81, 93,
             {QStringLiteral("0,3/0,01"), QStringLiteral("0,2"), QStringLiteral("20,5"), QString()});

    b.Rubric(QStringLiteral("Камеры"), rtNoTotals, QStringLiteral("Обособленное проветривание"));
    b.Record(QStringLiteral("Камера ЦПП"), QStringLiteral("Регулятор камеры ЦПП"), 70, 72);
    b.Record(QStringLiteral("Насосная камера"), QStringLiteral("Регулятор насосной камеры"), 90, 91);

    b.Rubric(QStringLiteral("Внутренние утечки"), rtInnerLeakage);
    b.Record(QStringLiteral("Вентиляционные двери околоствольного двора"), QString());
    b.Record(QStringLiteral("Перемычка в сбойке №1"), QString());
    b.Record(QStringLiteral("Вентиляционные двери в сбойке №2"), QString());
    b.Record(QStringLiteral("Вентиляционные двери в сбойке №3"), QString());
    // A door built after the scheme was drawn: the refresh reports it.
    TRubricRecord &added = b.Record(QString(), QString());
    added.InBranch.Number = DemoMissingBranch;
    added.InBranch.Name = QStringLiteral("Двери в сбойке №5 (нет на схеме)");
    added.InBranch.Sec = 9.5;
    added.InBranch.Out = 40;
    added.InBranch.Speed = 0.07;

    RefreshFromNetwork(journal, JournalNetworkOf(t));
    // Humidity and gases are measured, not computed; the refresh kept them.
    journal.Modified = true;
}
