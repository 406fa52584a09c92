#pragma once

#include <QColor>
#include <QWidget>

// A rectangle with a one-pixel border and no fill, drawn inside its bounds.
// Clicks pass through it to whatever lies below.
class MarkerShape : public QWidget
{
public:
    MarkerShape(const QColor &border, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_border;
};
