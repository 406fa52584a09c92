#include "MessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

bool MessageBoxes::settleUnsavedWork(QWidget *parent, const QString &title, const QString &text,
                                     const std::function<bool()> &save)
{
    switch (askSave(parent, title, text)) {
    case SaveChoice::Save:
        return save();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

void QtMessageBoxes::warning(QWidget *parent, const QString &title, const QString &text)
{
    warningWithAction(parent, title, text, QString());
}

bool QtMessageBoxes::warningWithAction(QWidget *parent, const QString &title, const QString &text, const QString &action)
{
    // On the heap and watched: if its owner goes away while the box is
    // open, the box goes with it and exec() returns, instead of the owner
    // freeing an object that lives on this stack.
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    QPushButton *chosen = action.isEmpty() ? nullptr : box->addButton(action, QMessageBox::AcceptRole);
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
    m_open.append(box);
    box->exec();
    m_open.removeAll(box);
    const bool taken = box && chosen && box->clickedButton() == chosen;
    delete box;
    return taken;
}

void QtMessageBoxes::closeBoxesOf(QWidget *owner)
{
    for (const QPointer<QMessageBox> &box : std::as_const(m_open)) {
        if (box && box->parentWidget() == owner)
            box->done(QMessageBox::Ok);
    }
}

MessageBoxes::SaveChoice QtMessageBoxes::askSave(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    QPushButton *save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(QStringLiteral("破棄"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChoice::Save;
    if (box.clickedButton() == discard)
        return SaveChoice::Discard;
    return SaveChoice::Cancel;
}
