#pragma once

#include "CharacterLayout.h"
#include "TitleData.h"

#include <QImage>
#include <QRgb>
#include <QString>

#include <vector>

// Character patterns read from a picture, ready to replace those of
// `firstCode` on; or why the picture cannot be read.
struct PatternImport
{
    int firstCode = 0;
    std::vector<CharPattern> patterns;
    QString error; // for the operator; empty when the patterns are good

    bool ok() const { return error.isEmpty(); }
};

// Turns pictures drawn in a paint program, or written by CharacterImage,
// back into character patterns.
namespace CharacterImport {

// The pixel code whose colour lies nearest to `pixel`. A pixel that is not
// fully opaque is first laid over the transparent grey, so alpha 0 is
// always transparent and half-transparent edges fall to what they cover.
PixelCode nearestCode(QRgb pixel);

// Reads a picture laid out as `layout`, at its size or at a whole multiple
// of it (each dot then a square of pixels, taken at their mean colour).
// The patterns start as copies of those in `data`, so dots 216..255, which
// no picture shows, keep their values. A picture of another size gives an
// error naming the sizes that would be read.
PatternImport read(const QImage &image, const TitleData &data, const CharacterLayout &layout);

// Stores `patterns` as the characters of `firstCode` on.
void apply(TitleData &data, int firstCode, const std::vector<CharPattern> &patterns);

} // namespace CharacterImport
