#include "scheme/point_geometry.h"

#include <gtest/gtest.h>

#include <numbers>

TEST(PointGeometry, MidPointsAndDistances)
{
    EXPECT_EQ(MidPoint({-3, 0}, {0, 0}), (TPoint{-1, 0}));
    EXPECT_EQ(MidPoint({3, 5}, {0, 0}), (TPoint{1, 2}));
    EXPECT_EQ(TruncatedDistance({0, 0}, {3, 4}), 5);
    EXPECT_EQ(TruncatedDistance({0, 0}, {1, 1}), 1);
    EXPECT_EQ(LargerInt(2, 2), 2);
    EXPECT_EQ(SmallerInt(3, -1), -1);
    EXPECT_EQ(SignOf(0), 1);
    EXPECT_EQ(SignOf(-0.5), -1);
}

TEST(PointGeometry, AnglesFollowPixelSpace)
{
    const long double pi = std::numbers::pi_v<long double>;
    EXPECT_NEAR(SegmentSlopeAngle({0, 0}, {0, 5}), pi / 2, 1e-15);
    EXPECT_NEAR(SegmentSlopeAngle({0, 5}, {0, 0}), -pi / 2, 1e-15);
    EXPECT_NEAR(SegmentSlopeAngle({0, 0}, {10, 10}), -pi / 4, 1e-15);
    EXPECT_NEAR(DirectionAngle({0, 0}, {10, 0}), pi, 1e-15);
    EXPECT_NEAR(DirectionAngle({10, 0}, {0, 0}), 0, 1e-15);
    EXPECT_NEAR(DirectionAngle({0, 10}, {0, 0}), pi / 2, 1e-15);
    EXPECT_NEAR(DirectionAngle({0, 0}, {0, 10}), 3 * pi / 2, 1e-15);
    EXPECT_EQ(OffsetPolar({10, 10}, 5, 0), (TPoint{5, 10}));
    EXPECT_EQ(OffsetPolar({10, 10}, 5, pi), (TPoint{15, 10}));
    // len units from a towards b.
    EXPECT_EQ(OffsetPolar({0, 0}, 4, DirectionAngle({0, 0}, {0, 10})), (TPoint{0, 4}));
    EXPECT_EQ(OffsetPolar2({0, 0}, 3, 2, DirectionAngle({0, 0}, {10, 0}), DirectionAngle({0, 0}, {0, 10})),
              (TPoint{3, 2}));
}
