#pragma once
// The sample mine that a new user opens first, read into test tables with
// its normal air distribution solved.
#include "calc/solver.h"
#include "model/scheme_file.h"

#include <gtest/gtest.h>

inline const QString SampleMinePath = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine");

inline void LoadSampleMine(TNetworkTables &t)
{
    ClearAllItems(t);
    TSchemeDocument doc;
    ReadMineFile(SampleMinePath, t, doc);
    ASSERT_TRUE(CalcAir(nullptr, t));
}
