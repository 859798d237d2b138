#pragma once
// The data of "Управление отчетами" over the network: the node and branch
// sources, one-record sources per branch category that a template nests the
// branch source under, and the values and functions of the network reports.
#include "calc/network_report.h"

#include <array>

// The category of a branch type in the reports: 1 internal leaks, 0
// workings, 14 external leaks, 27 any other type.
int ReportCategory(int branchType);

class TReportManagerData
{
public:
    // Takes the highest numbers and the two flow sums of t as they stand now;
    // the node pressures stay zero until the caller fills Sources.NodePressures.
    explicit TReportManagerData(const TNetworkTables &t);
    TReportManagerData(const TReportManagerData &) = delete;
    TReportManagerData &operator=(const TReportManagerData &) = delete;

    TNetworkReportSources Sources;

    struct TCategorySource
    {
        TfrUserDataset Dataset;
        int Category = 0;
    };
    // udVentLava, udVentVGP, … each delivering one record.
    std::array<TCategorySource, 11> CategorySources;

    double QSupplyShafts = 0; // kind 15
    double QMainFans = 0;     // kind 2

    // The existing branches whose type or report category is c, into the
    // branch list; their count.
    int SelectReportCategory(int c);
    int SelectAllBranches();
    // Sum of values over the existing branches of category c.
    double SumCategory(int c, const TTable<double> &values) const;

    std::vector<TfrDataset *> Datasets();
    // False for a name it does not know; the value then stays.
    bool GetValue(const QString &name, Variant &value) const;
    // False for a function it does not know; the value then stays.
    bool UserFunction(const QString &name, QString &value) const;

private:
    bool InCategory(int b, int c) const;
    const TNetworkTables &m_t;
};
