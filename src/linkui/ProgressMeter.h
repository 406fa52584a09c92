#pragma once

#include "link/LinkView.h"

#include <QFrame>

class QLabel;

// The grey meter box of the communication window: a dark blue line grows
// from its left edge and a centred label reads the percentage.
class ProgressMeter : public QFrame
{
    Q_OBJECT
public:
    // The box's width as the window is designed, in twips.
    static constexpr int WidthTwips = 4785;

    explicit ProgressMeter(QWidget *parent = nullptr);

    void setReading(const MeterReading &reading);

    int lineThickness() const { return m_thickness; }
    QString labelText() const;
    QWidget *line() const { return m_line; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeLine();
    static int thicknessFor(const MeterReading &reading);
    static QString labelFor(const MeterReading &reading);

    QWidget *m_line;  // MeterLine
    QLabel *m_label;  // MeterLabel
    int m_thickness = 1;
};
