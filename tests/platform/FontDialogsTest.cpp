#include "platform/FontDialogs.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QFontDialog>
#include <QFontInfo>
#include <QListView>
#include <QSet>
#include <QStringListModel>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Presses OK (or closes) the next modal font dialog without touching it.
void answerNextFontDialog(bool accept)
{
    QTimer::singleShot(0, [accept] {
        auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (accept)
            QMetaObject::invokeMethod(dialog, "accept");
        else
            dialog->close();
    });
}

} // namespace

TEST(FontDialogs, UntouchedOkKeepsTheFaceThatDrawsASubstitutedFamily)
{
    QFont::insertSubstitution(QStringLiteral("Orvex Absent Face"), QStringLiteral("IPAPGothic"));
    QFont initial(QStringLiteral("Orvex Absent Face"));
    initial.setPointSize(14);
    ASSERT_EQ(QFontInfo(initial).family(), QStringLiteral("IPAPGothic"));
    QtFontDialogs dialogs;

    answerNextFontDialog(true);
    const std::optional<QFont> chosen = dialogs.chooseFont(nullptr, initial, QStringLiteral("t"));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(chosen->pointSize(), 14);

    answerNextFontDialog(false);
    EXPECT_FALSE(dialogs.chooseFont(nullptr, initial, QStringLiteral("t")).has_value());
}

TEST(FontDialogs, FacesInstalledByMoreThanOneFoundryAreListedOnce)
{
    EXPECT_EQ(QtFontDialogs::distinctFamilies({QStringLiteral("Nimbus Sans [urw]"), QStringLiteral("IPAGothic"),
                                               QStringLiteral("Nimbus Sans [UKWN]"), QStringLiteral("Nimbus Sans [URW ]"),
                                               QStringLiteral("Odd [name")}),
              QStringList({QStringLiteral("Nimbus Sans"), QStringLiteral("IPAGothic"), QStringLiteral("Odd [name")}));

    QFontDialog dialog;
    QFont start(QStringLiteral("IPAGothic"));
    start.setPointSize(12);
    dialog.setCurrentFont(start);
    QtFontDialogs::listFamiliesOnce(dialog);
    auto *families = dialog.findChildren<QListView *>().constFirst();
    const QStringList listed = qobject_cast<QStringListModel *>(families->model())->stringList();
    EXPECT_EQ(listed.size(), QSet<QString>(listed.cbegin(), listed.cend()).size());
    EXPECT_EQ(families->currentIndex().data().toString(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(dialog.currentFont().family(), QStringLiteral("IPAGothic"));
}
