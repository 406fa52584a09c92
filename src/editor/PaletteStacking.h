#pragma once

#include <QObject>

class QAction;
class QWidget;

// Which of the two stacked frames of the editor window is in front: the
// screen frame as designed, or the palette frame, held there by
// "文字パレット" (the item checked) or brought forward while the keyboard
// focus is on one of the palette's buttons. Either way the frame in front is
// the one the focus is in: a focus nobody can see helps no one, and keys
// typed into a covered control act where nobody looks.
class PaletteStacking : public QObject
{
public:
    // A frame and the control that takes the focus when the frame comes
    // forward for the operator.
    struct Frame
    {
        QWidget &frame;
        QWidget &entry;
    };

    // The two frames share a parent; the palette frame lies within the
    // screen frame's area.
    PaletteStacking(QWidget &window, Frame screen, Frame palette, QAction &paletteAction);

    // "文字パレット": the palette frame held in front, or back behind the
    // screen. The focus goes with the frame.
    void show(bool shown);
    bool isShown() const;

    // The operator leaves the window from a palette button that is in front
    // only for the focus ("拡大編集" opens another window): the focus goes
    // back to the screen frame, which is in front again when he returns.
    void returnFocusToScreen();

private:
    void followFocus(QWidget *now);
    void bringPaletteForward();
    void sendPaletteBack();
    // Whether `widget` of the screen frame lies under the palette frame.
    bool isCoveredByPalette(const QWidget *widget) const;

    QWidget &m_window;
    Frame m_screen;
    Frame m_palette;
    QAction &m_paletteAction;
    bool m_forFocus = false; // in front for the focus, not the menu
};
