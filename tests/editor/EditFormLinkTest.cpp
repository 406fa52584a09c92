#include "EditFormFixture.h"

#include "support/ScratchPortChoices.h"
#include "support/ScriptedPortDiscovery.h"
#include "support/FakeLinkPlatform.h"
#include "linkui/LinkWindows.h"
#include "linkui/SerForm.h"
#include "linkui/TestSerForm.h"

#include <QAction>
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
    data->ComNo = 2;
    ui().DataCom->trigger();
    SerForm *window = form->link()->existingSerForm();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("8CH-Orvex [通信] - /dev/ttyS1"));
    EXPECT_EQ(form->link()->testSerForm(), nullptr);
}
