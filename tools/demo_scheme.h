#pragma once
// The sample mine that a new user opens first: two intake shafts and a return
// shaft with the main fan, a shaft yard with chambers, main intake and return
// drifts joined by doors, three longwall panels and two development faces
// with local fans.
#include "model/scheme_file.h"

// Fills reset tables and a new document with the sample mine, its air
// distribution computed.
void MakeDemoScheme(TNetworkTables &t, TSchemeDocument &doc);

// The view the sample opens with: labels still readable, the mine from its
// shafts on the left to its return shaft on the right, and from the collar of
// the return shaft at the top to the longwalls, in a window of ordinary size.
TSchemeView DemoSchemeView();
