#pragma once

class QWidget;

// The frame both small dialogs of the link use: a fixed-size dialog window
// owned by another window, with only a close box (no minimise, maximise or
// taskbar entry), placed centred over its owner.
namespace DialogFrame {

void apply(QWidget *dialog, int clientWidthTwips, int clientHeightTwips);
void centreOverOwner(QWidget *dialog);

} // namespace DialogFrame
