#pragma once

// The drawing switches of scheme.ini ([test] and [draw]): each lets one step
// of the drawing be turned off.
struct TDrawSwitches
{
    bool Sheet = true;
    bool Text = true;
    bool Branch = true;
    bool BSymb = true;
    bool Node = true;
    bool Grid = true;
    bool Fans = true;
    bool Vmps = true;
    bool Door = true;
    bool Arrow = true;
    bool NBall = true;
    bool BBall = true;
    bool Pla = true;
    bool Phones = true;
    int ArrowDraw = 1;   // arrow size multiplier on the screen
    int ArrowPrint = 3;  // and on paper
};

