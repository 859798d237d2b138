#include "emergency/fire_detection_report.h"

#include "model/branch_values.h"
#include "platform/numbers.h"

TFireDetectionReport::TFireDetectionReport(const TNetworkTables &t, TDetectionResults results)
    : Sources(t), Arrivals(TableSize), Items(TableSize), m_results(std::move(results))
{
    m_results.resize(TableSize);

    frudTNF.Name = QStringLiteral("frudTNF");
    const auto takeNode = [this](int n) {
        Sources.CurrentNode = n;
        Sources.CurrentBranch = ValidItemIndex(n) ? Arrivals[static_cast<std::size_t>(n)].Branch : 0;
    };
    frudTNF.OnFirst = [this, takeNode](TfrComponent *) { takeNode(NextArrivalNode(0)); };
    frudTNF.OnNext = [this, takeNode](TfrComponent *) { takeNode(NextArrivalNode(Sources.CurrentNode)); };
    frudTNF.OnCheckEOF = [this](TfrComponent *, bool &eof) { eof = eof || Sources.CurrentNode > Sources.MaxNode; };

    udBrnTFr.Name = QStringLiteral("udBrnTFr");
    const auto takeItem = [this](int index) {
        SmokeItemIndex = index;
        Sources.CurrentBranch = CurrentItem().Branch;
    };
    udBrnTFr.OnFirst = [takeItem](TfrComponent *) { takeItem(1); };
    udBrnTFr.OnNext = [this, takeItem](TfrComponent *) { takeItem(SmokeItemIndex + 1); };
    udBrnTFr.OnCheckEOF = [this](TfrComponent *, bool &eof) { eof = eof || SmokeItemIndex > SmokeItemCount; };

    udAllBrnFire.Name = QStringLiteral("udAllBrnFire");
    udAllBrnFire.OnFirst = [this](TfrComponent *) { Sources.CurrentBranch = NextFireBranch(0); };
    udAllBrnFire.OnNext = [this](TfrComponent *) { Sources.CurrentBranch = NextFireBranch(Sources.CurrentBranch); };
    udAllBrnFire.OnCheckEOF = [this](TfrComponent *, bool &eof) {
        eof = eof || Sources.CurrentBranch > Sources.MaxBranch;
    };
}

std::vector<TfrDataset *> TFireDetectionReport::Datasets()
{
    std::vector<TfrDataset *> list = Sources.Datasets();
    list.insert(list.end(), {&frudTNF, &udBrnTFr, &udAllBrnFire});
    return list;
}

const TDetectionRecord &TFireDetectionReport::Record(int b) const
{
    return m_results[ValidItemIndex(b) ? static_cast<std::size_t>(b) : 0];
}

const TSmokeItem &TFireDetectionReport::CurrentItem() const
{
    const int i = SmokeItemIndex;
    return Items[i >= 1 && i < static_cast<int>(Items.size()) ? static_cast<std::size_t>(i) : 0];
}

int TFireDetectionReport::NextArrivalNode(int n) const
{
    do
        ++n;
    while (n <= Sources.MaxNode && Arrivals[static_cast<std::size_t>(n)].Node != n);
    return n;
}

int TFireDetectionReport::NextFireBranch(int b) const
{
    do
        ++b;
    while (b <= Sources.MaxBranch && m_results[static_cast<std::size_t>(b)].FireBranch != b);
    return b;
}

bool TFireDetectionReport::GetValue(const QString &name, Variant &value) const
{
    const TNetworkTables &t = Sources.Tables();
    const int b = ValidItemIndex(Sources.CurrentBranch) ? Sources.CurrentBranch : 0;
    if (name == QStringLiteral("Узел1")) {
        value = Sources.CurrentNode;
        return true;
    }
    if (name == QStringLiteral("Депр")) {
        value = BranchDepression(t, b);
        return true;
    }
    if (name == QStringLiteral("Qтреб")) {
        value = t.BranchRequiredFlow[b];
        return true;
    }
    if (name == QStringLiteral("ПризнДГС")) {
        value = int(t.BranchDGSMark[b]);
        return true;
    }
    QString text;
    if (UserFunction(name, text)) {
        value = text;
        return true;
    }
    return Sources.GetValue(name, value);
}

bool TFireDetectionReport::UserFunction(const QString &name, QString &value) const
{
    const TNetworkTables &t = Sources.Tables();
    const int n = Sources.CurrentNode;
    const TSmokeItem &item = CurrentItem();
    const TDetectionRecord &record = Record(Sources.CurrentBranch);
    const int detect = ValidItemIndex(record.DetectBranch) ? record.DetectBranch : 0;
    if (name == QStringLiteral("Время1"))
        value = QString::number(ValidItemIndex(n) ? Round(Arrivals[static_cast<std::size_t>(n)].Time) : 0);
    else if (name == QStringLiteral("УзН"))
        value = QString::number(item.UpNode);
    else if (name == QStringLiteral("УзК"))
        value = QString::number(item.DownNode);
    else if (name == QStringLiteral("ВремяН"))
        value = QString::number(item.UpTime);
    else if (name == QStringLiteral("ВремяВ"))
        value = QString::number(item.ThroughTime);
    else if (name == QStringLiteral("ВремяК"))
        value = QString::number(item.DownTime);
    else if (name == QStringLiteral("НомВетвДым"))
        value = QString::number(record.DetectBranch);
    else if (name == QStringLiteral("НазвВетвДым"))
        value = GetBranchName(t, detect);
    else if (name == QStringLiteral("НУВетвДым"))
        value = QString::number(t.BranchStartNode[detect]);
    else if (name == QStringLiteral("КУВетвДым"))
        value = QString::number(t.BranchEndNode[detect]);
    else if (name == QStringLiteral("ВрНВетвДым"))
        value = QString::number(record.DetectUpTime);
    else if (name == QStringLiteral("ВрКВетвДым"))
        value = QString::number(record.DetectDownTime);
    else
        return false;
    return true;
}
