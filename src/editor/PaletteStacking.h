#pragma once

#include <QObject>

class QAction;
class QWidget;

// Which of the two stacked frames of the editor window is in front: the
// screen frame as designed, or the palette frame, brought forward by
// "文字パレット" or while the keyboard focus is on one of the palette's
// buttons (a focus nobody can see helps no one).
class PaletteStacking : public QObject
{
public:
    PaletteStacking(QWidget &window, QWidget &screenFrame, QWidget &paletteFrame, QAction &paletteAction);

    // "文字パレット": the palette frame in front, or back behind the screen.
    void show(bool shown);
    bool isShown() const;

private:
    void followFocus(QWidget *now);
    void bringPaletteForward();

    QWidget &m_window;
    QWidget &m_screenFrame;
    QWidget &m_paletteFrame;
    QAction &m_paletteAction;
    bool m_forFocus = false; // in front for the focus, not the menu
};
