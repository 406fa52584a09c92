#include "LinkWindows.h"

#include "DialogFrame.h"
#include "SerForm.h"
#include "TestSerForm.h"
#include "TransferHistoryWindow.h"

#include "platform/MessageBoxes.h"

#include "core/TitleData.h"

LinkWindows::LinkWindows(TitleData &data, LinkPlatform &platform, MessageBoxes &messageBoxes, QWidget *owner)
    : QObject(owner), m_data(data), m_platform(platform), m_messageBoxes(messageBoxes), m_owner(owner),
      m_recorder(TransferLog(), QStringLiteral("orvex-editor"), [this](const QString &why) { warnLogUnwritable(why); })
{
}

LinkWindows::~LinkWindows()
{
    // The communication window records a write it cuts off as it goes, so
    // it must go while the recorder is still here.
    delete m_serForm.data();
}

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
        m_serForm = new SerForm(m_data, m_platform, m_messageBoxes, m_recorder, m_owner);
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

void LinkWindows::showHistory()
{
    if (!m_historyWindow) {
        m_historyWindow = new TransferHistoryWindow(m_recorder.log(), m_owner);
        m_historyWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_historyWindow->reload();
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}

TransferHistoryWindow *LinkWindows::historyWindow() const
{
    return m_historyWindow;
}

void LinkWindows::warnLogUnwritable(const QString &why)
{
    // The write has ended and its own messages come first; the box waits
    // until the engine is off the stack.
    QPointer<QWidget> owner = m_owner;
    QMetaObject::invokeMethod(
        this,
        [this, owner, why] {
            m_messageBoxes.warning(owner, QStringLiteral("通信履歴"),
                                   QStringLiteral("通信履歴を記録できません。書き込みには影響ありません。\n") + why);
        },
        Qt::QueuedConnection);
}
