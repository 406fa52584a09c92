#include "MessageBoxes.h"

#include <QMessageBox>

void QtMessageBoxes::warning(QWidget *parent, const QString &title, const QString &text)
{
    // On the heap and watched: if its owner goes away while the box is
    // open, the box goes with it and exec() returns, instead of the owner
    // freeing an object that lives on this stack.
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    m_open.append(box);
    box->exec();
    m_open.removeAll(box);
    delete box;
}

void QtMessageBoxes::closeBoxesOf(QWidget *owner)
{
    for (const QPointer<QMessageBox> &box : std::as_const(m_open)) {
        if (box && box->parentWidget() == owner)
            box->done(QMessageBox::Ok);
    }
}
