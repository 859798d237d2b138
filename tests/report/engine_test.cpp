#include "report/engine.h"
#include <gtest/gtest.h>
TEST(Smoke, Starts) { TfrEngineScope scope; EXPECT_EQ(Engine().FunctionLibraryRegistry.size(), 1u); }
