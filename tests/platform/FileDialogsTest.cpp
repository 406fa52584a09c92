#include "platform/FileDialogs.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

TEST(FileDialogs, WindowsFiltersBecomeQtFilters)
{
    EXPECT_EQ(FileDialogs::qtFilter(QStringLiteral("zvx ﾌｧｲﾙ(*.zvx)|*.zvx|")), QStringLiteral("zvx ﾌｧｲﾙ(*.zvx)"));
    EXPECT_EQ(FileDialogs::qtFilter(QStringLiteral("Pictures|*.bmp;*.png|All|*.*")),
              QStringLiteral("Pictures (*.bmp *.png);;All (*.*)"));
    EXPECT_EQ(FileDialogs::qtFilter(QString()), QString());
}

namespace {

// Answers the next modal file dialog with `name` typed into it.
void answerNextFileDialog(const QString &name)
{
    QTimer::singleShot(0, [name] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(name);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

void cancelNextFileDialog()
{
    QTimer::singleShot(0, [] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            dialog->close();
    });
}

} // namespace

TEST(FileDialogs, DialogsAddTheDefaultExtensionOnlyToANameWithoutOne)
{
    QTemporaryDir dir;
    QtFileDialogs dialogs;
    const QString filter = QStringLiteral("zvx ﾌｧｲﾙ(*.zvx)|*.zvx|");
    const QString zvx = QStringLiteral(".zvx");

    // A name with an extension of its own comes back as typed; the caller
    // decides what to add to it.
    answerNextFileDialog(QStringLiteral("TITLE.ZVX"));
    EXPECT_EQ(dialogs.saveFileName(nullptr, QStringLiteral("t"), filter, dir.path(), zvx),
              dir.filePath(QStringLiteral("TITLE.ZVX")));

    // The dialog itself completes a bare name, so it is the completed name
    // whose overwriting it confirms.
    answerNextFileDialog(QStringLiteral("plain"));
    EXPECT_EQ(dialogs.saveFileName(nullptr, QStringLiteral("t"), filter, dir.path(), zvx),
              dir.filePath(QStringLiteral("plain.zvx")));

    cancelNextFileDialog();
    EXPECT_EQ(dialogs.openFileName(nullptr, QStringLiteral("t"), filter, dir.path(), zvx), QString());
}
