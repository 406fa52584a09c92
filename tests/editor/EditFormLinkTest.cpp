#include "EditFormFixture.h"

#include "support/ScratchPortChoices.h"
#include "support/ScriptedPortDiscovery.h"
#include "support/FakeLinkPlatform.h"
#include "linkui/LinkWindows.h"
#include "linkui/SerForm.h"
#include "linkui/SetForm.h"
#include "linkui/TestSerForm.h"
#include "linkui/TransferHistoryWindow.h"
#include "link/history/TransferLog.h"

#include <QFile>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QCoreApplication>
#include <QEvent>

// The communication menu reaches the link windows through the editor.
class EditFormLink : public EditFormFixture
{
protected:
    void SetUp() override
    {
        EditFormFixture::SetUp();
        form->attachLink(platform, portDiscovery, portChoices.store);
        form->show();
    }
    void TearDown() override
    {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    FakeLinkPlatform platform;
    ScriptedPortDiscovery portDiscovery;
    ScratchPortChoices portChoices;
};

TEST_F(EditFormLink, FirstDataComAsksForAPortThenPortSetReopensTheDialog)
{
    ASSERT_NE(form->link(), nullptr);
    ui().DataCom->trigger();
    TestSerForm *dialog = form->link()->testSerForm();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->parentWidget(), form.get());
    EXPECT_EQ(data->ComNo, 1);
    EXPECT_EQ(form->link()->existingSerForm() == nullptr || !form->link()->existingSerForm()->isVisible(), true);

    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ui().PortSet->trigger();
    ASSERT_NE(form->link()->testSerForm(), nullptr);
    EXPECT_TRUE(form->link()->testSerForm()->isVisible());
}

TEST_F(EditFormLink, DataComWithAPortChosenShowsTheCommunicationWindow)
{
    form->link()->usePort(PortChoice::ofOption(2));
    ui().DataCom->trigger();
    SerForm *window = form->link()->existingSerForm();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("8CH-Orvex [通信] - /dev/ttyS1"));
    EXPECT_EQ(form->link()->testSerForm(), nullptr);
}

// "変更分のみ選択" names the channels changed at the press; an edit after it
// must not leave that claim standing in the still open dialog.
TEST_F(EditFormLink, AnEditTakesBackTheNoteOnTheChangedChannels)
{
    form->link()->usePort(PortChoice::ofOption(1));
    ui().DataCom->trigger();
    SerForm *window = form->link()->existingSerForm();
    window->ui().WriteButton->click();
    SetForm *settings = window->setForm();
    settings->changedButton->click();
    ASSERT_TRUE(settings->changedNote->text().contains(QStringLiteral("変更されたチャンネル")));

    CharPattern pattern = data->DotData[27];
    pattern[0] = PixelCode::white();
    form->document().replacePattern(27, pattern, QStringLiteral("dot")); // a character of CH2
    EXPECT_FALSE(settings->changedNote->text().contains(QStringLiteral("変更されたチャンネル")));
    EXPECT_TRUE(settings->isVisible());
}

// The program ending mid-write: the write is in the log as abandoned, with
// the title's file and the note that the title had unsaved edits (the file
// does not hold what was sent), and "通信履歴" is reached from the menu.
TEST_F(EditFormLink, AWriteCutOffByTheProgramEndingIsRecordedWithTheTitlesFileAndItsUnsavedEdits)
{
    QFile::remove(TransferLog().path());
    const QString file = path(QStringLiteral("cameras.zvx"));
    fileDialogs.answers = {file};
    ASSERT_TRUE(form->saveFileAs());
    CharPattern white;
    white.fill(PixelCode::white());
    form->document().replacePattern(1, white, QStringLiteral("保存"));
    form->link()->usePort(PortChoice::ofOption(1));
    ui().DataCom->trigger();
    data->KakikomiCh.fill(true);
    form->link()->existingSerForm()->KakikomiOn();
    for (int ms = 0; ms < 5000 && platform.port->written.size() < 60; ++ms)
        platform.clock.advance(1);
    ASSERT_GE(platform.port->written.size(), 60);

    form.reset();
    const TransferLog::Contents log = TransferLog().read();
    ASSERT_EQ(log.records.size(), 1);
    EXPECT_EQ(log.records[0].outcome, WriteOutcome::Abandoned);
    EXPECT_EQ(log.records[0].completedChannels(), QList<int>{1});
    EXPECT_EQ(log.records[0].file, file);
    EXPECT_TRUE(log.records[0].modified);
}

TEST_F(EditFormLink, TheHistoryIsInTheCommunicationMenu)
{
    ui().historyAction->trigger();
    ASSERT_NE(form->link()->historyWindow(), nullptr);
    EXPECT_TRUE(form->link()->historyWindow()->isVisible());
}
