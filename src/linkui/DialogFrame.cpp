#include "DialogFrame.h"

#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

// Where a window of the link may be: the screen its owner is on, before the
// window itself has been shown anywhere.
QRect availableArea(const QWidget *window)
{
    const QWidget *anchor = window->parentWidget() ? window->parentWidget()->window() : window;
    const QScreen *screen = anchor->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// What the window manager adds around `window`: known once it is shown,
// until then room for a title bar and borders.
QSize frameAround(const QWidget *window)
{
    const QSize frame = window->frameSize() - window->size();
    if (window->isVisible())
        return frame;
    return frame.expandedTo(QSize(8, window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8));
}

} // namespace

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
    QRect placed(QPoint(0, 0), dialog->size() + frameAround(dialog));
    placed.moveCenter(area.center());
    // An owner near the screen's edge must not push the dialog off screen,
    // where its buttons could not be reached.
    const QRect available = availableArea(dialog);
    if (!available.isEmpty()) {
        placed.moveLeft(qBound(available.left(), placed.left(), qMax(available.left(), available.right() - placed.width() + 1)));
        placed.moveTop(qBound(available.top(), placed.top(), qMax(available.top(), available.bottom() - placed.height() + 1)));
    }
    dialog->move(placed.topLeft());
}

void fitToScreen(QWidget *window)
{
    const QRect available = availableArea(window);
    if (available.isEmpty())
        return;
    window->resize(window->size().boundedTo(available.size() - frameAround(window)));
}

} // namespace DialogFrame
