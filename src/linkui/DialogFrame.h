#pragma once

class QWidget;

// How the link's windows are framed and placed. Both small dialogs are
// fixed-size dialog windows owned by another window, with only a close box
// (no minimise, maximise or taskbar entry), placed centred over their owner.
// No window of the link is ever larger than the screen it opens on.
namespace DialogFrame {

void apply(QWidget *dialog, int clientWidthTwips, int clientHeightTwips);
void centreOverOwner(QWidget *dialog);
// Shrinks `window` to the available area of its owner's screen (or its
// own), leaving room for a title bar while the window manager's frame is
// not known yet.
void fitToScreen(QWidget *window);

} // namespace DialogFrame
