#include "platform/MessageBoxes.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

// A box's owner going away while the box is open: the box ends with it and
// the call that opened it returns, whether the owner closed its boxes first
// or simply went.
TEST(QtMessageBoxes, ABoxEndsWhenItsOwnerGoes)
{
    QtMessageBoxes boxes;
    for (const bool closeFirst : {true, false}) {
        auto owner = std::make_unique<QWidget>();
        owner->show();
        QPointer<QWidget> watched = owner.get();
        bool sawBox = false;
        QTimer::singleShot(0, [&] {
            sawBox = !owner->findChildren<QMessageBox *>().isEmpty();
            if (closeFirst)
                boxes.closeBoxesOf(owner.get());
            else
                owner.reset();
        });
        boxes.warning(owner.get(), QStringLiteral("通信エラー"), QStringLiteral("フレームエラー"));
        EXPECT_TRUE(sawBox) << closeFirst;
        EXPECT_EQ(watched.isNull(), !closeFirst);
        if (owner) {
            EXPECT_TRUE(owner->findChildren<QMessageBox *>().isEmpty()) << "the box is gone once answered";
        }
    }
}

TEST(QtMessageBoxes, ClosingOneOwnersBoxesLeavesOthersOpen)
{
    QtMessageBoxes boxes;
    QWidget first, second;
    first.show();
    second.show();
    QStringList order;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            boxes.closeBoxesOf(&first);
            QTimer::singleShot(0, [&] { boxes.closeBoxesOf(&second); });
        });
        boxes.warning(&second, QStringLiteral("b"), QStringLiteral("inner"));
        order << QStringLiteral("inner");
    });
    boxes.warning(&first, QStringLiteral("a"), QStringLiteral("outer"));
    order << QStringLiteral("outer");
    EXPECT_EQ(order, (QStringList{"inner", "outer"}));
}
