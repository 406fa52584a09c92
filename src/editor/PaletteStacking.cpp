#include "PaletteStacking.h"

#include <QAction>
#include <QApplication>
#include <QWidget>

PaletteStacking::PaletteStacking(QWidget &window, QWidget &screenFrame, QWidget &paletteFrame,
                                 QAction &paletteAction)
    : m_window(window), m_screenFrame(screenFrame), m_paletteFrame(paletteFrame), m_paletteAction(paletteAction)
{
    // Owned apart from the window's widgets, so the connection is gone before
    // the window's own destruction moves the focus.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { followFocus(now); });
}

void PaletteStacking::show(bool shown)
{
    if (m_paletteAction.isChecked() != shown)
        m_paletteAction.setChecked(shown);
    m_forFocus = false;
    if (shown)
        bringPaletteForward();
    else
        m_screenFrame.raise();
}

bool PaletteStacking::isShown() const
{
    return m_paletteAction.isChecked();
}

void PaletteStacking::followFocus(QWidget *now)
{
    // Forward while one of the palette's buttons has the focus, back once the
    // focus leaves it, unless the operator asked for the palette.
    if (!now || now->window() != &m_window)
        return;
    const bool inPalette = m_paletteFrame.isAncestorOf(now);
    if (inPalette && !isShown() && !m_forFocus) {
        m_forFocus = true;
        bringPaletteForward();
    } else if (!inPalette && m_forFocus) {
        m_forFocus = false;
        if (!isShown())
            m_screenFrame.raise();
    }
}

void PaletteStacking::bringPaletteForward()
{
    // Designed to be covered, so it never needed a background of its own.
    m_paletteFrame.setAutoFillBackground(true);
    m_paletteFrame.raise();
}
