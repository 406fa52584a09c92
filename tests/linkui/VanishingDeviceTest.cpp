// The device going away at awkward moments: the program survives, shows one
// message per fault, forgets the port and keeps the title.

#include "LinkUiFixture.h"

#include "link/LinkMessages.h"
#include "support/QtPrinters.h"

#include <QPointer>

namespace {

const QString FramingError = QStringLiteral("フレームエラー");
const QString UndefinedError = QStringLiteral("未定義エラー発生");

// What the operator reads when port 1 has gone.
QString portGone()
{
    return LinkMessages::cannotOpen(QStringLiteral("/dev/ttyS0"), OpenFailure::Missing,
                                    QStringLiteral("No such file or directory"));
}

} // namespace

class VanishingDeviceTest : public LinkUiFixture
{
protected:
    void SetUp() override
    {
        LinkUiFixture::SetUp();
        // A title worth keeping: every code on every page.
        for (int page = 0; page < Title::Pages; ++page)
            for (int cell = 0; cell < Title::Cells; ++cell)
                data->DispData(cell, 0, page) = quint8(cell % 26 == 0 ? 0 : 25 * (page % 8) + cell % 26);
        data->DotData[7][3] = PixelCode::white();
        data->ChText[2] = QStringLiteral("Tokyo, Japan");
        title = *data;
        form = &openSerForm();
    }

    // The write of channels 1 and 2, `frames` frames into it.
    void writeFor(int frames)
    {
        data->KakikomiCh.fill(false);
        data->KakikomiCh[0] = data->KakikomiCh[1] = true;
        form->KakikomiOn();
        ASSERT_TRUE(runUntil([&] { return port().written.size() >= frames; }, 10000));
    }

    // After the last box: the window and its engine are destroyed once
    // nothing of them is on the stack, the port is forgotten and the title
    // is what it was.
    void expectUnloadedWithTheTitleKept()
    {
        EXPECT_EQ(windows->existingSerForm(), nullptr);
        EXPECT_EQ(boxes.ownersGoneUnderABox, 0);
        flushDeletes();
        EXPECT_TRUE(form.isNull()) << "the window is unloaded";
        EXPECT_EQ(data->ComNo, 0);
        EXPECT_EQ(data->DotData, title.DotData);
        EXPECT_EQ(data->DispData, title.DispData);
        EXPECT_EQ(data->ChText, title.ChText);
        // Nothing is left running: no frame, no box later on.
        const qsizetype boxCount = boxes.texts.size();
        platform.clock.advance(10000);
        EXPECT_EQ(boxes.texts.size(), boxCount);
    }

    TitleData title;
    QPointer<SerForm> form;
};

TEST_F(VanishingDeviceTest, DuringAWriteOneMessageAndTheWindowUnloads)
{
    writeFor(20);
    port().vanish();
    platform.clock.advance(500);
    EXPECT_EQ(boxes.texts, QStringList{portGone()});
    expectUnloadedWithTheTitleKept();
}

TEST_F(VanishingDeviceTest, DuringAPollOneMessageAndTheWindowUnloads)
{
    ASSERT_TRUE(runUntil([&] { return port().written.size() == 3; }, 3000)); // "VP?" on its way
    port().vanish();
    platform.clock.advance(500);
    EXPECT_EQ(boxes.texts, QStringList{portGone()});
    expectUnloadedWithTheTitleKept();
}

TEST_F(VanishingDeviceTest, WithALineErrorBoxOpenTheBoxIsClosedBeforeTheWindowGoes)
{
    writeFor(10);
    // The operator leaves the line error's box open; meanwhile the cable
    // is pulled and the resend finds no port.
    boxes.whileOpen = [&](int index) {
        if (index != 0)
            return;
        port().vanish();
        platform.clock.advance(500);
        EXPECT_FALSE(form.isNull()) << "destroyed under its own box";
    };
    port().raise(CommEvent::Framing);
    EXPECT_EQ(boxes.texts, (QStringList{FramingError, portGone()}));
    EXPECT_EQ(boxes.closedByOwner, QList<int>{0});
    expectUnloadedWithTheTitleKept();
}

TEST_F(VanishingDeviceTest, TheTimeOutBoxOverALineErrorBoxClosesItBeforeTheWindowGoes)
{
    platform.device->silent = true; // switched off: no reply, the port still opens
    ASSERT_TRUE(runUntil([&] { return port().written.size() == 1; }, 3000));
    boxes.whileOpen = [&](int index) {
        if (index == 0)
            platform.clock.advance(5 * 500); // five time-outs under the line error's box
    };
    port().raise(CommEvent::Unknown);
    EXPECT_EQ(boxes.texts, (QStringList{UndefinedError, LinkMessages::timedOut()}));
    EXPECT_EQ(boxes.closedByOwner, QList<int>{0});
    EXPECT_EQ(boxes.ownersGoneUnderABox, 0);
    EXPECT_EQ(windows->existingSerForm(), nullptr);
    flushDeletes();
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(data->ComNo, 1) << "a time-out keeps the port";
    EXPECT_EQ(data->DispData, title.DispData);
}

TEST_F(VanishingDeviceTest, VanishingWhileTheTimeOutBoxIsOpenAddsNothing)
{
    platform.device->silent = true;
    boxes.whileOpen = [&](int) {
        port().vanish();
        platform.clock.advance(10000);
        EXPECT_FALSE(form.isNull()) << "destroyed under its own box";
    };
    platform.clock.advance(2000 + 5 * 500);
    EXPECT_EQ(boxes.texts, QStringList{LinkMessages::timedOut()});
    EXPECT_TRUE(boxes.closedByOwner.isEmpty()) << "the box was answered before the window went";
    EXPECT_EQ(boxes.ownersGoneUnderABox, 0);
    EXPECT_EQ(windows->existingSerForm(), nullptr);
    flushDeletes();
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(data->DispData, title.DispData);
}
