#pragma once

#include <QWidget>

class KakudaiGrid;

// Draws the 216 dot boxes of a KakudaiGrid, 13 x 13 pixels each on a
// 12-pixel pitch so that neighbours share their one-pixel outline, and
// reports which box a mouse press hit.
class KakudaiDotGrid : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Pitch = 12;
    static constexpr int BoxSize = 13;

    explicit KakudaiDotGrid(const KakudaiGrid &grid, QWidget *parent = nullptr);

    QSize sizeHint() const override;

    // The box under a point of the widget, or -1 outside every box.
    static int boxAt(const QPoint &pos);

signals:
    void dotPressed(int n);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    const KakudaiGrid &m_grid;
};
