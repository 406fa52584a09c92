#include "LinkWindows.h"

#include "DialogFrame.h"
#include "SerForm.h"
#include "TestSerForm.h"
#include "TransferHistoryWindow.h"

#include "platform/MessageBoxes.h"

#include "core/TitleData.h"
#include "link/LinkPlatform.h"
#include "link/LinkTimer.h"
#include "platform/PortChoiceStore.h"

LinkWindows::LinkWindows(TitleData &data, LinkPlatform &platform, MessageBoxes &messageBoxes,
                         PortDiscovery &discovery, PortChoiceStore &choices, QWidget *owner)
    : QObject(owner), m_data(data), m_platform(platform), m_messageBoxes(messageBoxes), m_discovery(discovery),
      m_choices(choices), m_owner(owner),
      m_recorder(TransferLog(), QStringLiteral("orvex-editor"), [this](const QString &why) { warnLogUnwritable(why); })
{
    const PortChoice remembered = m_choices.load();
    if (remembered.option > 0) {
        m_data.ComNo = qint16(remembered.option);
    } else if (!remembered.address.isEmpty()) {
        m_portAddress = remembered.address;
        // Any option number: it only says that a port is chosen.
        m_data.ComNo = 1;
    }
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
        if (!m_portAddress.isEmpty())
            m_serForm->setPortAddress(m_portAddress);
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
        m_testSerForm = new TestSerForm(
            m_data, [this]() -> SerForm & { return serForm(); }, m_discovery, m_platform.createTimer(),
            m_portAddress, m_owner);
        // Opening chose a port already (a remembered USB adapter may now go
        // by its stable name).
        m_portAddress = m_testSerForm->chosenAddress();
        connect(m_testSerForm, &TestSerForm::portChosen, this, [this](const QString &address) {
            m_portAddress = address;
        });
        connect(m_testSerForm, &TestSerForm::portConfirmed, this, [this] {
            rememberPort();
            showSerForm();
        });
        DialogFrame::centreOverOwner(m_testSerForm);
    }
    m_testSerForm->show();
    m_testSerForm->raise();
    m_testSerForm->activateWindow();
}

void LinkWindows::rememberPort()
{
    // Only a port confirmed with "OK" is kept: the one the dialog picks by
    // itself on opening was never the operator's choice.
    PortChoice choice;
    if (m_portAddress.isEmpty())
        choice.option = m_data.ComNo;
    else
        choice.address = m_portAddress;
    m_choices.save(choice);
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
