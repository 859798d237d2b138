#include "emergency/stability_report.h"

#include <QtCore/QStringList>

TStabilityReport::TStabilityReport(const TNetworkTables &t, const TDescendingStability &study)
    : m_t(t), m_descending(&study), m_items(study.Items)
{
    InitDataset();
}

TStabilityReport::TStabilityReport(const TNetworkTables &t, const TAscendingStability &study, int fireTime)
    : m_t(t), m_ascending(&study), m_fireTime(fireTime)
{
    InitDataset();
}

void TStabilityReport::InitDataset()
{
    udStability.Name = QStringLiteral("udStability");
    udStability.OnFirst = [this](TfrComponent *) { Row = 1; };
    udStability.OnNext = [this](TfrComponent *) { ++Row; };
    udStability.OnCheckEOF = [this](TfrComponent *, bool &eof) { eof = eof || Count() < Row; };
}

int TStabilityReport::CurrentBranch() const
{
    return Row >= 1 && Row <= Count() ? Items()[static_cast<std::size_t>(Row - 1)] : 0;
}

bool TStabilityReport::GetValue(const QString &name, Variant &value) const
{
    const int b = CurrentBranch();
    const TNetworkTables &t = m_t;
    const auto function = [this, &value](const QString &f) {
        QString text;
        UserFunction(f, text);
        value = text;
    };
    if (name == QStringLiteral("Нпп"))
        value = Row;
    else if (name == QStringLiteral("НазвВетви"))
        value = GetBranchName(t, b);
    else if (name == QStringLiteral("НомерВетви"))
        value = b;
    else if (name == QStringLiteral("НачУзел"))
        value = int(t.BranchStartNode[b]);
    else if (name == QStringLiteral("КонУзел"))
        value = int(t.BranchEndNode[b]);
    else if (name == QStringLiteral("ПозПЛА"))
        value = int(t.BranchPLAPosition[b]);
    else if (name == QStringLiteral("РасхВозд"))
        value = t.BranchQ[b];
    else if (name == QStringLiteral("ДлинВетви"))
        value = int(t.BranchLength[b]);
    else if (name == QStringLiteral("УгНакл") || name == QStringLiteral("СкорВозд"))
        function(name);
    else if (name == QStringLiteral("ПлощСечен"))
        value = t.BranchArea[b];
    else if (name == QStringLiteral("МаксТДепр"))
        value = m_descending ? m_descending->MaxThermalDepression[b] : m_ascending->MaxThermalDepression[b];
    else if (name == QStringLiteral("Закл")) {
        if (m_descending)
            value = m_descending->Verdict[b];
        else
            function(name);
    } else if (name == QStringLiteral("ВремяРасч")) {
        if (m_descending)
            value = QString();
        else
            value = m_fireTime;
    } else if (m_descending) {
        if (name == QStringLiteral("ТемпПарал")) {
            const double temp = m_descending->ParallelTemperature[b];
            value = temp > TempNotGiven ? StabilityNumberText(temp) : QString();
        } else if (name == QStringLiteral("КритДепрБМер"))
            value = m_descending->CriticalDepression[b];
        else if (name == QStringLiteral("КритДепрСМер"))
            value = m_descending->RaisedCriticalDepression[b];
        else if (name == QStringLiteral("ВремяОпр"))
            value = m_descending->ReversalMinute[b];
        else
            return false;
    } else if (name == QStringLiteral("МестаОпрНомВет") || name == QStringLiteral("МестаОпрНУзКУз")
               || name == QStringLiteral("МестаОпрНазвВет"))
        function(name);
    else
        return false;
    return true;
}

void TStabilityReport::UserFunction(const QString &name, QString &value) const
{
    const int b = CurrentBranch();
    if (name == QStringLiteral("УгНакл")) {
        value = StabilitySlopeText(m_t, b);
        return;
    }
    if (name == QStringLiteral("СкорВозд")) {
        value = StabilitySpeedText(m_t, b);
        return;
    }
    if (!m_ascending)
        return;
    value.clear();
    static const std::vector<int> none;
    const std::vector<int> &places =
        Row >= 1 && Row <= static_cast<int>(m_ascending->ReversalPlaces.size())
            ? m_ascending->ReversalPlaces[static_cast<std::size_t>(Row - 1)]
            : none;
    QStringList parts;
    if (name == QStringLiteral("МестаОпрНомВет")) {
        for (const int k : places)
            parts << QString::number(k);
    } else if (name == QStringLiteral("МестаОпрНУзКУз")) {
        for (const int k : places)
            parts << QString::number(m_t.BranchStartNode[k]) + u'-' + QString::number(m_t.BranchEndNode[k]);
    } else if (name == QStringLiteral("МестаОпрНазвВет")) {
        for (const int k : places)
            parts << GetBranchName(m_t, k);
    } else if (name == QStringLiteral("Закл")) {
        value = places.empty() ? QStringLiteral(" Устойчиво") : QStringLiteral(" Не устойчиво");
        return;
    } else {
        return;
    }
    value = parts.join(QStringLiteral(", "));
}
