#pragma once

#include "core/TitleData.h"

#include <QImage>
#include <QWidget>

#include <array>

// The 13 x 30 cells of one screen page, painted by one widget. Each cell
// holds its own copy of a tile image and shows it unscaled from its top-left
// corner, cut to the cell: the 12 x 18 dots and the tile's background pixel
// on the right and below as the gap to the next cell. A press or double-click
// anywhere on a cell reports that cell, with any mouse button.
class ScreenGrid : public QWidget
{
    Q_OBJECT

public:
    // Cell 0 stands at (2, 2); cells follow 13 pixels apart along a row and
    // 19 pixels apart down a column.
    static constexpr int Origin = 2;
    static constexpr int PitchX = Title::CharWidth + 1;
    static constexpr int PitchY = Title::CharHeight + 1;

    explicit ScreenGrid(QWidget *parent);

    // Where cell 0..389 stands, in this widget's coordinates.
    static QRect cellRect(int cell);
    // The cell under `pos`, or -1 between and outside the cells.
    static int cellAt(const QPoint &pos);

    // The cell keeps `image` as it is now: later drawing on the tile does
    // not reach the cell until it is given the image again.
    void setCellImage(int cell, const QImage &image);
    const QImage &cellImage(int cell) const { return m_images[cell]; }

signals:
    void pressed(int cell);
    void doubleClicked(int cell);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // The cell under the mouse, with the event accepted only on a cell.
    static int acceptCell(QMouseEvent *event);

    std::array<QImage, Title::Cells> m_images;
};
