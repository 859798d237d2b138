// What accepting the options window, or fitting the sheet, does to the sheet.
#include "shell/options_apply.h"

#include <gtest/gtest.h>

TEST(SheetToScheme, GrowsBothSizesWhenEitherIsShort)
{
    // The scheme 99..901 × 99..501 widened by 1 % ends at (909, 505).
    const TRect bounds{99, 99, 901, 501};
    const struct
    {
        std::int32_t Width, Height;
        bool Changed;
        std::int32_t NewWidth, NewHeight;
    } cases[] = {
        {909, 505, false, 909, 505},   // exactly the minimum sheet
        {3000, 2000, false, 3000, 2000}, // a larger sheet never shrinks
        {500, 2000, true, 909, 505},   // too narrow: even the larger height is taken
        {2000, 504, true, 909, 505},   // one unit too low
    };
    for (const auto &c : cases) {
        std::int32_t w = c.Width, h = c.Height;
        EXPECT_EQ(FitSheetToScheme(w, h, bounds), c.Changed) << c.Width << "x" << c.Height;
        EXPECT_EQ(w, c.NewWidth);
        EXPECT_EQ(h, c.NewHeight);
    }
}
