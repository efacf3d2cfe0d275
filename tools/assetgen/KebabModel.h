#pragma once
#include "LwobWriter.h"

// A kebab on a spit: a lathed, bumpy cone of meat around the y axis and a thin spit
// through it, all triangles. Every triangle's corners a, b, c are ordered so that
// (b - a) x (c - a) points out of the object (clockwise seen from outside, as LightWave
// orders its polygons). Surface 1 is the meat, with a planar image texture definition
// naming "data/kebab/kebabtxt.pxc"; surface 2 is the spit.
LwobModel buildKebabModel();
