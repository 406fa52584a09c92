#include "ProgressMeter.h"

#include "BackgroundFill.h"

#include "core/Twips.h"
#include "link/RoundHalfEven.h"

#include <QLabel>
#include <QPalette>

ProgressMeter::ProgressMeter(QWidget *parent)
    : QFrame(parent), m_line(new QWidget(this)), m_label(new QLabel(QStringLiteral("0%"), this))
{
    setObjectName(QStringLiteral("Meter"));
    m_line->setObjectName(QStringLiteral("MeterLine"));
    m_label->setObjectName(QStringLiteral("MeterLabel"));
    fillBackground(this, QColor(0x808080));
    fillBackground(m_line, QColor(0x000080));

    m_label->setAlignment(Qt::AlignCenter);
    m_label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette text = m_label->palette();
    text.setColor(QPalette::WindowText, palette().color(QPalette::HighlightedText));
    m_label->setPalette(text);
    m_label->raise();
    placeLine();
}

void ProgressMeter::setReading(const MeterReading &reading)
{
    m_thickness = thicknessFor(reading);
    m_label->setText(labelFor(reading));
    placeLine();
}

int ProgressMeter::thicknessFor(const MeterReading &reading)
{
    // One unit per percent, a fiftieth of the box's design width in pixels:
    // at 100 % the half of the line that shows (see placeLine) nearly fills
    // the box, and the last frames of a step, which count past 100, reach a
    // little further. Never thinner than a pixel, so the line is there from
    // the start.
    const int unit = roundHalfEven(Twips::px(WidthTwips) / 50.0);
    return qMax(1, reading.progress() * unit);
}

QString ProgressMeter::labelFor(const MeterReading &reading)
{
    const int percent = reading.percent();
    return percent < 1 ? QStringLiteral("0%") : QStringLiteral("%1%").arg(percent, 2, 10, QLatin1Char('0'));
}

QString ProgressMeter::labelText() const
{
    return m_label->text();
}

void ProgressMeter::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    m_label->setGeometry(rect());
    placeLine();
}

void ProgressMeter::placeLine()
{
    // The line is centred on the box's left edge, so only its right half
    // shows; the box clips the rest.
    m_line->setGeometry(-(m_thickness / 2), 0, m_thickness, height());
}
