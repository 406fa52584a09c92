#include "LinkWindows.h"

#include "DialogFrame.h"
#include "SerForm.h"
#include "TestSerForm.h"

#include "core/TitleData.h"

LinkWindows::LinkWindows(TitleData &data, LinkPlatform &platform, MessageBoxes &messageBoxes, QWidget *owner)
    : QObject(owner), m_data(data), m_platform(platform), m_messageBoxes(messageBoxes), m_owner(owner)
{
}

LinkWindows::~LinkWindows() = default;

void LinkWindows::openCommunication()
{
    if (m_data.ComNo == 0)
        showTestSerForm();
    else
        showSerForm();
}

void LinkWindows::choosePort()
{
    showTestSerForm();
}

SerForm &LinkWindows::serForm()
{
    if (!m_serForm) {
        m_serForm = new SerForm(m_data, m_platform, m_messageBoxes, m_owner);
        // A window that unloaded itself is gone for good, even before Qt
        // gets round to deleting it.
        SerForm *form = m_serForm;
        connect(form, &SerForm::unloaded, this, [this, form] {
            if (m_serForm == form)
                m_serForm.clear();
        });
    }
    return *m_serForm;
}

SerForm *LinkWindows::existingSerForm() const
{
    return m_serForm;
}

void LinkWindows::showSerForm()
{
    SerForm &form = serForm();
    form.show();
    form.raise();
    form.activateWindow();
    form.startPolling();
}

void LinkWindows::showTestSerForm()
{
    if (!m_testSerForm) {
        m_testSerForm = new TestSerForm(m_data, [this]() -> SerForm & { return serForm(); }, m_owner);
        connect(m_testSerForm, &TestSerForm::portConfirmed, this, &LinkWindows::showSerForm);
        DialogFrame::centreOverOwner(m_testSerForm);
    }
    m_testSerForm->show();
    m_testSerForm->raise();
    m_testSerForm->activateWindow();
}

TestSerForm *LinkWindows::testSerForm() const
{
    return m_testSerForm;
}
