#pragma once
// Presenting sets of branches: the columns a branch list can show, with their
// captions and cell texts.
#include "model/network.h"

#include <QtCore/QString>

#include <cstdint>

// A 16-bit set of columns; bit k chooses column k.
using TBranchColumns = std::uint16_t;
constexpr int BranchColumnCount = 16;

enum TColumnAlignment { caLeft, caCentre, caRight };

// Caption and alignment of column k (0 to 15).
QString BranchColumnCaption(int k);
TColumnAlignment BranchColumnAlignment(int k);
// The text of column k for branch n.
QString BranchColumnText(const TNetworkTables &t, int k, int n);
