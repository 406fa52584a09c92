#pragma once

#include "document/TitleFileNames.h"

#include <QList>

// What an undo step reports once it has put stored values into the title
// data, when it is first done, undone and redone alike. The document
// listens and passes each report on to its views: nothing on screen follows
// the stores by itself, so each step names exactly what it changed.
class StepListener
{
public:
    virtual ~StepListener() = default;

    // The patterns of `codes` changed.
    virtual void patternsPut(const QList<int> &codes) = 0;
    // Layer 0 of `cells` of `page` changed.
    virtual void cellsPut(int page, const QList<int> &cells) = 0;
    // The stored text of `block` changed.
    virtual void blockTextPut(int block) = 0;
    // Layer 0 of several whole pages changed in one go.
    virtual void pagesPut(const QList<int> &pages) = 0;
    // The whole title changed, and with it the file it belongs to.
    virtual void titlePut(const TitleFileNames &file) = 0;
};
