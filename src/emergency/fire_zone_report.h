#pragma once
// The data of the fire zone report ("zona_frm.frf"): the record source
// frBranches over the list of the fire window's page, and the values its
// template names. Values come from the tables as the page left them: the
// normal set on the zone-1 page, the emergency set on the others.
#include "emergency/fire_model.h"
#include "report/dataset.h"
#include "report/variant.h"

inline const QString FireZoneTemplate = QStringLiteral("zona_frm.frf");

class TFireZoneReport
{
public:
    // pageCaption: the caption of the page shown; mineTitle: the mine's name.
    TFireZoneReport(const TFireModel &model, const QString &pageCaption, const QString &mineTitle);

    TfrUserDataset frBranches;
    int ReportRow = 0;   // index into the model's Items
    double TotalQ = 0;    // flows of the rows passed, m³/s
    double TotalQMin = 0; // the same in m³/min

    // The value of a template variable; false for a name this report does not know.
    bool GetValue(const QString &name, Variant &value) const;

private:
    const TFireModel &m_model;
    QString m_caption;
    QString m_mineTitle;
};
