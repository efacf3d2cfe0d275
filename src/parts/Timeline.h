#pragma once
#include "parts/Show.h"

class Demo;
class DemoPart;

// Creates the parts of the show's rows and adds them to the demo in order, with the
// cross-fade transition after the first part.
void addTimeline(Demo* demo);

// Each part's file defines its maker: `DemoPart* newForstaPart()` returns a new ForstaPart.
#define SHOW_DECLARE_MAKER(Class, ...) DemoPart* new##Class();
SHOW_PARTS(SHOW_DECLARE_MAKER, SHOW_SKIP)
#undef SHOW_DECLARE_MAKER
