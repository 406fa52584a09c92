#include "ProgressMeter.h"

#include "BackgroundFill.h"

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
    m_thickness = qMax(1, reading.thickness);
    m_label->setText(reading.label);
    placeLine();
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
