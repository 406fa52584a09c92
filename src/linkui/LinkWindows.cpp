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
    holdPort(m_choices.load());
}

LinkWindows::~LinkWindows()
{
    // The communication window records a write it cuts off as it goes, so
    // it must go while the recorder is still here; the port dialog reads
    // the port held here.
    delete m_serForm.data();
    delete m_testSerForm.data();
}

void LinkWindows::openCommunication()
{
    if (!m_port.isChosen() || m_askForPort)
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
        if (m_port.isChosen())
            m_serForm->usePort(m_port);
        // A window that unloaded itself is gone for good, even before Qt
        // gets round to deleting it.
        SerForm *form = m_serForm;
        connect(form, &SerForm::unloaded, this, [this, form] {
            if (m_serForm != form)
                return;
            m_serForm.clear();
            if (form->portWouldNotOpen())
                portWouldNotOpen();
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
        // Opening the dialog chooses a port at once (a remembered USB
        // adapter may now go by its stable name).
        m_testSerForm = new TestSerForm([this] { return m_port; }, m_discovery, m_platform.createTimer(), m_owner);
        connect(m_testSerForm, &TestSerForm::portChosen, this, &LinkWindows::usePort);
        m_testSerForm->Form_Load();
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

void LinkWindows::usePort(const PortChoice &choice)
{
    holdPort(choice);
    m_askForPort = false;
    if (m_port.isChosen())
        serForm().usePort(m_port);
}

void LinkWindows::holdPort(const PortChoice &choice)
{
    // The one writer of ComNo: it follows the port held here.
    m_port = choice;
    m_data.ComNo = m_port.comNo();
}

void LinkWindows::rememberPort()
{
    // Only a port confirmed with "OK" is kept: the one the dialog picks by
    // itself on opening was never the operator's choice.
    m_choices.save(m_port);
}

void LinkWindows::portWouldNotOpen()
{
    // The next "データ送受信" asks for a port. An option is dropped, so the
    // dialog starts from Com1 again; an address stays chosen in the dialog,
    // where it can be used again once its device is back. A dialog open now
    // keeps showing what it shows, and its "OK" uses just that.
    if (m_port.isOption() && !m_testSerForm)
        holdPort(PortChoice());
    m_askForPort = true;
}

void LinkWindows::titleChanged()
{
    if (m_serForm)
        m_serForm->titleChanged();
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
        DialogFrame::centreOverOwner(m_historyWindow);
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
