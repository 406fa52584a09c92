#include "FontDialogs.h"

#include <QFontDialog>

std::optional<QFont> QtFontDialogs::chooseFont(QWidget *parent, const QFont &initial, const QString &title)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent, title);
    if (!ok)
        return std::nullopt;
    return font;
}
