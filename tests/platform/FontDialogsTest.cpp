#include "platform/FontDialogs.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QFontDialog>
#include <QFontInfo>
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
