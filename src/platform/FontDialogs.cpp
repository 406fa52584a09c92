#include "FontDialogs.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>

std::optional<QFont> QtFontDialogs::chooseFont(QWidget *parent, const QFont &initial, const QString &title)
{
    // The dialog can only select families the font database lists. A family
    // that is there only through a substitution would leave it on some
    // unrelated default, and OK would then change the font unasked; start it
    // on the family that really draws the text instead.
    QFont start(initial);
    if (!QFontDatabase::hasFamily(initial.family()))
        start.setFamily(QFontInfo(initial).family());
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, start, parent, title);
    if (!ok)
        return std::nullopt;
    return font;
}
