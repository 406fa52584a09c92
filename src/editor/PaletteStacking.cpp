#include "PaletteStacking.h"

#include <QAction>
#include <QApplication>
#include <QWidget>

PaletteStacking::PaletteStacking(QWidget &window, Frame screen, Frame palette, QAction &paletteAction)
    : m_window(window), m_screen(screen), m_palette(palette), m_paletteAction(paletteAction)
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
    QWidget *focus = m_window.focusWidget();
    if (shown) {
        bringPaletteForward();
        if (focus && isCoveredByPalette(focus))
            m_palette.entry.setFocus(Qt::OtherFocusReason);
    } else {
        sendPaletteBack();
        if (focus && m_palette.frame.isAncestorOf(focus))
            m_screen.entry.setFocus(Qt::OtherFocusReason);
    }
}

bool PaletteStacking::isShown() const
{
    return m_paletteAction.isChecked();
}

void PaletteStacking::returnFocusToScreen()
{
    QWidget *focus = m_window.focusWidget();
    if (m_forFocus && focus && m_palette.frame.isAncestorOf(focus))
        m_screen.entry.setFocus(Qt::OtherFocusReason);
}

void PaletteStacking::followFocus(QWidget *now)
{
    // The menu bar takes the focus while it is worked with the keyboard;
    // only the two frames decide which of them is in front.
    if (!now || now->window() != &m_window)
        return;
    if (m_palette.frame.isAncestorOf(now)) {
        if (!isShown() && !m_forFocus) {
            m_forFocus = true;
            bringPaletteForward();
        }
    } else if (m_screen.frame.isAncestorOf(now)) {
        if (m_forFocus) {
            m_forFocus = false;
            sendPaletteBack();
        } else if (isShown() && isCoveredByPalette(now)) {
            // Held in front from the menu, the palette gives way to what it
            // covers, and the item's check goes with it.
            show(false);
        }
    }
}

void PaletteStacking::bringPaletteForward()
{
    // Designed to be covered, so it never needed a background of its own.
    m_palette.frame.setAutoFillBackground(true);
    m_palette.frame.raise();
}

void PaletteStacking::sendPaletteBack()
{
    m_screen.frame.raise();
}

bool PaletteStacking::isCoveredByPalette(const QWidget *widget) const
{
    if (!m_screen.frame.isAncestorOf(widget))
        return false;
    QWidget *parent = m_palette.frame.parentWidget();
    const QRect place(widget->mapTo(parent, QPoint(0, 0)), widget->size());
    return place.intersects(m_palette.frame.geometry());
}
