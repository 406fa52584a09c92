#pragma once

#include <QImage>

// The colour-bar test pattern a monitor shows while a camera sends bars:
// seven bars at 75 % over the top three quarters and a near-black band below.
// Transparent dots of a title let it through, so pictures of a page drawn
// over it look like the screen the operator will see.
namespace ColourBars {

// Fills the whole of `image` with the pattern, scaled to its size.
void draw(QImage &image);

} // namespace ColourBars
