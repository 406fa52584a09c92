#pragma once

#include "support/FakeLinkPlatform.h"
#include "support/RecordingMessageBoxes.h"
#include "support/ScratchPortChoices.h"
#include "support/ScriptedPortDiscovery.h"
#include "support/WaitFor.h"

#include "core/TitleData.h"
#include "link/LinkEngine.h"
#include "linkui/LinkWindows.h"
#include "linkui/SerForm.h"
#include "linkui/TestSerForm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The editor's side of the link windows: an owner window standing in for
// the editor, the shared title data, fakes in virtual time.
class LinkUiFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        data = std::make_unique<TitleData>();
        data->setDefaults();
        owner = std::make_unique<QWidget>();
        owner->resize(436, 386);
        owner->show();
        startWindows();
    }

    // The link windows as the editor makes them at its start, taking up the
    // port remembered in `portChoices`.
    void startWindows()
    {
        windows = std::make_unique<LinkWindows>(*data, platform, boxes, portDiscovery, portChoices.store, owner.get());
    }

    void TearDown() override
    {
        windows.reset();
        owner.reset();
        flushDeletes();
    }

    // Lets Qt destroy what was deleteLater()ed.
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Advances virtual time until `done` holds, at most `limit` ms.
    bool runUntil(const std::function<bool()> &done, long long limit)
    {
        for (long long waited = 0; !done(); ++waited) {
            if (waited >= limit)
                return false;
            platform.clock.advance(1);
        }
        return true;
    }

    // Port `option` chosen and the communication window shown, as after "OK".
    SerForm &openSerForm(int option = 1)
    {
        windows->usePort(PortChoice::ofOption(option));
        windows->openCommunication();
        return *windows->existingSerForm();
    }

    // The operator picks item `index` of a drop-down list: opens it, moves
    // to the item and presses Enter, as with the keyboard.
    static void choose(QComboBox *list, int index)
    {
        list->showPopup();
        QAbstractItemView *items = list->view();
        items->setCurrentIndex(items->model()->index(index, list->modelColumn(), list->rootModelIndex()));
        QTest::keyClick(items, Qt::Key_Return);
    }

    // Where a control of a window belongs, by object name.
    struct Placement
    {
        const char *name;
        QRect geometry;
    };

    // A window as the operator sees it: its size (when given), the named
    // controls in their places, every shown control inside the one holding
    // it, and no word-wrapped text cut short.
    static void expectLayout(QWidget *window, QSize size, std::initializer_list<Placement> placements)
    {
        if (size.isValid()) {
            EXPECT_EQ(window->size(), size) << qPrintable(window->objectName());
        }
        for (const Placement &placement : placements) {
            auto *control = window->findChild<QWidget *>(QLatin1String(placement.name));
            ASSERT_NE(control, nullptr) << placement.name;
            EXPECT_EQ(control->geometry(), placement.geometry) << placement.name;
        }
        for (QWidget *control : window->findChildren<QWidget *>()) {
            if (!control->isVisibleTo(window) || control->isWindow() || control->geometry().isEmpty())
                continue;
            const std::string name = control->objectName().toStdString();
            EXPECT_TRUE(control->parentWidget()->rect().contains(control->geometry()))
                << name << " reaches out of " << control->parentWidget()->objectName().toStdString();
            const auto *label = qobject_cast<QLabel *>(control);
            if (label && label->wordWrap()) {
                EXPECT_GE(label->height(), label->heightForWidth(label->width())) << name << " cuts its text";
            }
        }
    }

    const DeviceLink &engine() { return windows->existingSerForm()->engine(); }
    FakeSerialPort &port() { return *platform.port; }

    template<typename Widget>
    Widget *control(QWidget *form, const char *name)
    {
        auto *widget = form->findChild<Widget *>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    std::unique_ptr<TitleData> data;
    FakeLinkPlatform platform;
    RecordingMessageBoxes boxes;
    ScriptedPortDiscovery portDiscovery;
    ScratchPortChoices portChoices;
    std::unique_ptr<QWidget> owner;
    std::unique_ptr<LinkWindows> windows;
};
