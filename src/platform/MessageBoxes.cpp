#include "MessageBoxes.h"

#include <QMessageBox>

void QtMessageBoxes::warning(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, text);
}
