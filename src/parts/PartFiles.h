#pragma once
#include "parts/Show.h"

class Bitmap;
class DemoPart;
class VEX_ImageFactory;

// A part loads the files its row of the show lists (parts/Show.h), by their place in the
// row's list, so path and size are written once. The row is the first of the part's
// class: rows of one class list the same files.
// A class without a row or an index past its list is a fault of the program: it says so on
// standard error and aborts.
const show::DataFile& rowFile(const DemoPart& part, int index);

// The row's picture `index` as the parts load pictures: a new bitmap at the row's size,
// read at that size, not scaled.
Bitmap* loadRowPicture(VEX_ImageFactory& factory, const DemoPart& part, int index);
// The same for a picture the part only reads (VEX_ImageFactory::loadShared).
const Bitmap* loadSharedRowPicture(VEX_ImageFactory& factory, const DemoPart& part, int index);
