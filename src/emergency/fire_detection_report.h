#pragma once
// The data of the fire-detection report manager: the network's node and
// branch sources, the detection record of every computed fire branch
// (udAllBrnFire), and the sources and functions over the smoke trace of one
// fire. Nothing fills that trace in this program, so frudTNF and udBrnTFr
// give no records and the functions over it give 0.
#include "calc/network_report.h"
#include "emergency/fire_detection.h"

class TFireDetectionReport
{
public:
    // results: one record per branch number, as CalcFireDetectionTimes left them.
    TFireDetectionReport(const TNetworkTables &t, TDetectionResults results);
    TFireDetectionReport(const TFireDetectionReport &) = delete;
    TFireDetectionReport &operator=(const TFireDetectionReport &) = delete;

    TNetworkReportSources Sources;
    TfrUserDataset frudTNF;      // nodes the smoke reached
    TfrUserDataset udBrnTFr;     // the smoke items of one fire
    TfrUserDataset udAllBrnFire; // every computed fire branch

    int SmokeItemIndex = 0; // 1-based
    int SmokeItemCount = 0;
    TNodeArrivals Arrivals;
    TSmokeItems Items;
    const TDetectionResults &Results() const { return m_results; }

    // Every data set, to register with the engine.
    std::vector<TfrDataset *> Datasets();
    bool GetValue(const QString &name, Variant &value) const;
    // False for a function it does not know; the value then stays.
    bool UserFunction(const QString &name, QString &value) const;

private:
    const TDetectionRecord &Record(int b) const;
    const TSmokeItem &CurrentItem() const;
    int NextArrivalNode(int n) const;
    int NextFireBranch(int b) const;

    TDetectionResults m_results;
};
