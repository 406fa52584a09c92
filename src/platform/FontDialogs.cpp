#include "FontDialogs.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QListView>
#include <QPointer>
#include <QSet>
#include <QStringListModel>

namespace {

QString bareFamily(const QString &family)
{
    const qsizetype foundry = family.indexOf(QStringLiteral(" ["));
    return foundry < 0 || !family.endsWith(QLatin1Char(']')) ? family : family.left(foundry);
}

// Replaces the list's contents by the distinct faces and selects again the
// face that was selected, so the dialog's style and size lists follow it.
void dropRepeatedFamilies(QListView *view)
{
    auto *model = qobject_cast<QStringListModel *>(view->model());
    if (!model)
        return;
    const QStringList families = model->stringList();
    const QStringList distinct = QtFontDialogs::distinctFamilies(families);
    if (distinct.size() == families.size())
        return;
    const QString selected = bareFamily(view->currentIndex().data().toString());
    model->setStringList(distinct);
    const qsizetype row = distinct.indexOf(selected);
    if (row >= 0)
        view->setCurrentIndex(model->index(int(row)));
}

} // namespace

QStringList QtFontDialogs::distinctFamilies(const QStringList &families)
{
    QStringList distinct;
    QSet<QString> seen;
    for (const QString &family : families) {
        const QString bare = bareFamily(family);
        if (!seen.contains(bare)) {
            seen.insert(bare);
            distinct.append(bare);
        }
    }
    return distinct;
}

void QtFontDialogs::listFamiliesOnce(QFontDialog &dialog)
{
    // The dialog builds its family list first, then the style and size lists.
    const QList<QListView *> lists = dialog.findChildren<QListView *>();
    if (lists.isEmpty())
        return;
    QListView *families = lists.constFirst();
    dropRepeatedFamilies(families);
    // A change of writing system fills the list anew and then selects a row
    // of its own list; tidy up only once it has done so.
    QPointer<QListView> view(families);
    QObject::connect(families->model(), &QAbstractItemModel::modelReset, &dialog, [view] {
        QMetaObject::invokeMethod(
            view,
            [view] {
                if (view)
                    dropRepeatedFamilies(view);
            },
            Qt::QueuedConnection);
    });
}

std::optional<QFont> QtFontDialogs::chooseFont(QWidget *parent, const QFont &initial, const QString &title)
{
    // The dialog can only select families the font database lists. A family
    // that is there only through a substitution would leave it on some
    // unrelated default, and OK would then change the font unasked; start it
    // on the family that really draws the text instead.
    QFont start(initial);
    if (!QFontDatabase::hasFamily(initial.family()))
        start.setFamily(QFontInfo(initial).family());
    QFontDialog dialog(parent);
    dialog.setCurrentFont(start);
    dialog.setWindowTitle(title);
    listFamiliesOnce(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}
