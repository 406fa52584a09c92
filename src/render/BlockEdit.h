#pragma once

#include "core/TitleData.h"

// Whole-block operations on the 25 characters from topCode on, treating the
// block as one 300 x 18 strip.
namespace BlockEdit {

// Every transparent dot next to a white dot (above, below, left, right;
// across the edges between neighbouring characters of the block, but not
// past the block's ends) turns black. White dots never change, so running it
// twice gives the same result as once.
void edge(TitleData &data, int topCode);

// White and black swap; transparent dots and dots with any other code stay.
void invert(TitleData &data, int topCode);

} // namespace BlockEdit
