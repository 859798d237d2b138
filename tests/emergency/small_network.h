#pragma once
// Small hand-made networks for the fire tests: nodes and branches by number,
// with the values the fire model reads.
#include "model/network.h"

#include <initializer_list>
#include <memory>

struct TSmallNetwork
{
    std::unique_ptr<TNetworkTables> Tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *Tables;

    TSmallNetwork()
    {
        ClearAllItems(t);
    }

    void Node(int n, bool surface = false, double altitude = AltitudeNotGiven)
    {
        CreateNode(t, n);
        t.NodeIsSurface[n] = surface;
        t.NodeAltitude[n] = altitude;
    }

    // A branch from node a to node b with flow q, 100 m long and 10 m² in section.
    void Branch(int n, int a, int b, double q = 0, double r = 0.01, double h = 0)
    {
        for (int node : {a, b})
            if (!NodeExist(t, node))
                Node(node);
        CreateBranch(t, n);
        t.BranchStartNode[n] = static_cast<std::int16_t>(a);
        t.BranchEndNode[n] = static_cast<std::int16_t>(b);
        t.BranchQ[n] = q;
        t.BranchR[n] = r;
        t.BranchAuxDepression[n] = h;
        t.BranchLength[n] = 100;
        t.BranchArea[n] = 10;
        t.BranchAngle[n] = AngleNotGiven;
        t.BranchStartTemp[n] = 20;
    }
};
