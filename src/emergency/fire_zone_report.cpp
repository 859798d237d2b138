#include "emergency/fire_zone_report.h"

#include <cmath>

TFireZoneReport::TFireZoneReport(const TFireModel &model, const QString &pageCaption, const QString &mineTitle)
    : m_model(model), m_caption(pageCaption), m_mineTitle(mineTitle)
{
    frBranches.Name = QStringLiteral("frBranches");
    frBranches.OnFirst = [this](TfrComponent *) {
        ReportRow = 0;
        TotalQ = 0;
        TotalQMin = 0;
    };
    frBranches.OnNext = [this](TfrComponent *) {
        const auto &items = m_model.Items;
        if (ReportRow >= 0 && ReportRow < static_cast<int>(items.size())) {
            const double q = m_model.Tables().BranchQ[items[ReportRow]];
            TotalQ += q;
            TotalQMin += q * 60;
        }
        ++ReportRow;
    };
    frBranches.OnCheckEOF = [this](TfrComponent *, bool &eof) {
        eof = ReportRow >= MaxItems || ReportRow >= static_cast<int>(m_model.Items.size());
    };
}

bool TFireZoneReport::GetValue(const QString &name, Variant &value) const
{
    const TNetworkTables &t = m_model.Tables();
    if (name == QStringLiteral("НазвШахты")) {
        value = m_mineTitle;
        return true;
    }
    if (name == QStringLiteral("Заголовок")) {
        value = m_caption + QStringLiteral(". Пожар в ветви: ") + GetBranchName(t, m_model.FireBranch);
        return true;
    }
    if (name == QStringLiteral("ВСек")) {
        value = TotalQ;
        return true;
    }
    if (name == QStringLiteral("ВМин")) {
        value = TotalQMin;
        return true;
    }
    const auto &items = m_model.Items;
    const int b = ReportRow >= 0 && ReportRow < static_cast<int>(items.size()) ? items[ReportRow] : 0;
    const double q = t.BranchQ[b];
    const double r = t.BranchR[b];
    const double h = t.BranchAuxDepression[b];
    if (name == QStringLiteral("НазвВыработки"))
        value = GetBranchName(t, b);
    else if (name == QStringLiteral("НачУзел"))
        value = int(t.BranchStartNode[b]);
    else if (name == QStringLiteral("КонУзел"))
        value = int(t.BranchEndNode[b]);
    else if (name == QStringLiteral("РасходВСек"))
        value = q;
    else if (name == QStringLiteral("РасходВМин"))
        value = q * 60;
    else if (name == QStringLiteral("Сопр"))
        value = r;
    else if (name == QStringLiteral("Депрессия"))
        value = std::fabs(std::fabs(h) - q * q * r);
    else if (name == QStringLiteral("ДопДепрессия"))
        value = h;
    else
        return false;
    return true;
}
