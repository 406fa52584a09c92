#pragma once

#include <QList>
#include <QString>

// The file a title belongs to: where "保存" writes, and whether it has
// been used yet (an empty `last` makes "保存" ask for a name).
struct TitleFileNames
{
    QString data;
    QString last;

    bool operator==(const TitleFileNames &) const = default;
};

// What an undo step asks the window to bring up to date after it has put
// stored values into the title data. Nothing on screen follows the stores by
// itself, so each step names exactly what it changed.
class TitleView
{
public:
    virtual ~TitleView() = default;

    // The patterns of `codes` changed: their tiles and the cells that show
    // them.
    virtual void showPatterns(const QList<int> &codes) = 0;
    // Layer 0 of `cells` of `page` changed.
    virtual void showCells(int page, const QList<int> &cells) = 0;
    // The stored text of `block` changed.
    virtual void showBlockText(int block) = 0;
    // The whole title changed, and with it the file it belongs to.
    virtual void showTitle(const TitleFileNames &file) = 0;
};
