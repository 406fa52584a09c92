#include "DialogFrame.h"

#include "Twips.h"

#include <QScreen>
#include <QWidget>

namespace DialogFrame {

void apply(QWidget *dialog, int clientWidthTwips, int clientHeightTwips)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFixedSize(Twips::px(clientWidthTwips), Twips::px(clientHeightTwips));
    // The close box destroys the dialog; its owner keeps only a guarded pointer.
    dialog->setAttribute(Qt::WA_DeleteOnClose);
}

void centreOverOwner(QWidget *dialog)
{
    const QWidget *owner = dialog->parentWidget();
    if (!owner)
        return;
    const QWidget *ownerWindow = owner->window();
    QRect area = ownerWindow->isVisible() ? ownerWindow->frameGeometry() : ownerWindow->geometry();
    QRect placed(QPoint(0, 0), dialog->frameSize());
    placed.moveCenter(area.center());
    // An owner near the screen's edge must not push the dialog off screen,
    // where its buttons could not be reached.
    if (const QScreen *screen = ownerWindow->screen()) {
        const QRect available = screen->availableGeometry();
        placed.moveLeft(qBound(available.left(), placed.left(), qMax(available.left(), available.right() - placed.width() + 1)));
        placed.moveTop(qBound(available.top(), placed.top(), qMax(available.top(), available.bottom() - placed.height() + 1)));
    }
    dialog->move(placed.topLeft());
}

} // namespace DialogFrame
