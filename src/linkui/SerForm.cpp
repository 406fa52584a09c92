#include "SerForm.h"

#include "BackgroundFill.h"
#include "DesignFont.h"
#include "DialogFrame.h"
#include "link/LinkPlatform.h"
#include "ProgressMeter.h"
#include "SetForm.h"
#include "Twips.h"

#include "link/history/ChangedChannels.h"
#include "link/EventPump.h"
#include "link/LevelNames.h"
#include "link/LinkEngine.h"
#include "netserial/DeviceLinks.h"
#include "netserial/FarWrites.h"
#include "link/LinkTimer.h"
#include "link/SerialPort.h"
#include "link/history/TransferRecorder.h"
#include "netserial/PortChoice.h"
#include "link/LinkMessages.h"
#include "platform/MessageBoxes.h"
#include "platform/TlsTrustStore.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

constexpr QRgb ActiveChannel = 0xFF8000;
constexpr QRgb LostLamp = 0xFF0000;
constexpr QRgb SignalLamp = 0xFFFFFF;
// Neither: the device has not said yet.
constexpr QRgb UnknownLamp = 0xC0C0C0;

// The platform's pump, telling the window while events run under it.
class CountedPump : public EventPump
{
public:
    CountedPump(EventPump &pump, std::function<void()> enter, std::function<void()> leave)
        : m_pump(pump), m_enter(std::move(enter)), m_leave(std::move(leave))
    {
    }
    void processOnce() override
    {
        m_enter();
        m_pump.processOnce();
        m_leave();
    }

private:
    EventPump &m_pump;
    std::function<void()> m_enter;
    std::function<void()> m_leave;
};

} // namespace

SerForm::SerForm(TitleData &data, LinkPlatform &platform, MessageBoxes &messageBoxes, TransferRecorder &recorder,
                 QWidget *owner)
    : QWidget(owner, Qt::Window), m_data(data), m_platform(platform), m_messageBoxes(messageBoxes), m_recorder(recorder),
      m_port(platform.createPort()),
      m_chReqTimer(platform.createTimer()), m_rxTimer(platform.createTimer())
{
    setObjectName(QStringLiteral("SerForm"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(Twips::px(5220), Twips::px(5580));
    applyDesignFont(this);
    m_ui.setupUi(this);

    m_pump = std::make_unique<CountedPump>(
        platform.eventPump(), [this] { enterNestedLoop(); }, [this] { leaveNestedLoop(); });
    m_engine = DeviceLinks::make(m_data, QString(), m_platform, *m_port, *m_chReqTimer, *m_rxTimer, *m_pump, *this);
    connectControls();
    Form_Load();
    showDeviceInUse(PortChoice());
    showNothingKnown();
}

SerForm::~SerForm()
{
    // Child widgets outlive this part of the object; their last focus and
    // change events must not reach an engine that is gone.
    m_ui.BlackLevel->removeEventFilter(this);
    m_ui.WhiteLevel->removeEventFilter(this);
    m_ui.BlackLevel->disconnect(this);
    m_ui.WhiteLevel->disconnect(this);
    // A write cut off by the window going (the program ending) is still
    // recorded, as abandoned.
    m_engine->abandonOperation();
    m_engine.reset();
}

void SerForm::connectControls()
{
    for (int i = 0; i < 8; ++i)
        connect(m_ui.ChSelect[i], &QPushButton::clicked, this, [this, i] { m_engine->selectChannel(i); });
    for (int i = 0; i < 4; ++i)
        connect(m_ui.arrowButtons[i], &QPushButton::clicked, this, [this, i] { m_engine->moveOverlay(OverlayDirection(i)); });
    for (QComboBox *level : {m_ui.BlackLevel, m_ui.WhiteLevel}) {
        // The operator's pick, even of the level already shown (which sends
        // it again); a poll reply setting a level is no pick.
        connect(level, &QComboBox::activated, this, [this](int index) {
            if (index >= 0)
                sendChosenLevels();
        });
        level->installEventFilter(this);
    }
    connect(m_ui.WriteButton, &QToolButton::clicked, this, &SerForm::openWriteSettings);
    connect(m_ui.closeButton, &QPushButton::clicked, this, &SerForm::hideWindow);
}

void SerForm::Form_Load()
{
    // The engine has configured the port and reset its state; the level
    // lists come last so their first selection reaches it while the window
    // is still hidden, which sends nothing.
    for (QComboBox *level : {m_ui.BlackLevel, m_ui.WhiteLevel}) {
        const QSignalBlocker quiet(level);
        level->clear();
    }
    {
        const QSignalBlocker quietBlack(m_ui.BlackLevel);
        const QSignalBlocker quietWhite(m_ui.WhiteLevel);
        m_ui.BlackLevel->addItems(LevelNames::black());
        m_ui.WhiteLevel->addItems(LevelNames::white());
        m_ui.BlackLevel->setCurrentIndex(-1);
        m_ui.WhiteLevel->setCurrentIndex(-1);
    }
    m_ui.BlackLevel->setCurrentIndex(0);
    m_ui.WhiteLevel->setCurrentIndex(0);
}

void SerForm::sendChosenLevels()
{
    m_engine->setLevels(qMax(0, m_ui.BlackLevel->currentIndex()), qMax(0, m_ui.WhiteLevel->currentIndex()));
}

void SerForm::openWriteSettings()
{
    if (!m_setForm) {
        m_setForm = new SetForm(m_data, this);
        connect(m_setForm, &SetForm::writeRequested, this, &SerForm::KakikomiOn);
        m_setForm->offerChangedChannels([this] {
            return ChangedChannels::toSend(
                ChangedChannels::compare(m_data, m_recorder.log().read().records, m_engine->portAddress()));
        });
    }
    if (!m_setForm->isVisible()) {
        offerWhatToSend();
        DialogFrame::centreOverOwner(m_setForm);
    }
    m_setForm->show();
    m_setForm->raise();
    m_setForm->activateWindow();
}

// After a write to this port that broke off, the dialog opens on what is
// left to send; a write to another port leaves this unit's channels alone.
void SerForm::offerWhatToSend()
{
    const std::optional<TransferRecord> last = m_recorder.lastTo(m_engine->portAddress());
    if (last && last->outcome != WriteOutcome::Done && last->outcome != WriteOutcome::Refused)
        m_setForm->offerResume(*last);
    else
        m_setForm->clearResume();
}

void SerForm::hideWindow()
{
    hide();
    stopWhileHidden();
}

void SerForm::closeEvent(QCloseEvent *event)
{
    // The close box only hides the window, like "閉じる".
    if (!m_unloading)
        stopWhileHidden();
    event->accept();
}

void SerForm::stopWhileHidden()
{
    // Owned windows stay up when their owner hides; a write started from
    // the dialog now would do nothing, because a hidden window runs nothing.
    if (m_setForm)
        m_setForm->hide();
    m_engine->abandonOperation();
}

bool SerForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui.BlackLevel || watched == m_ui.WhiteLevel) {
        if (event->type() == QEvent::FocusIn) {
            m_engine->setLevelListFocus(true);
        } else if (event->type() == QEvent::FocusOut) {
            // Opening the drop-down list is still choosing.
            if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
                m_engine->setLevelListFocus(false);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SerForm::KakikomiOn()
{
    if (m_unloading)
        return;
    m_recorder.writeStarting();
    m_engine->KakikomiOn();
}

void SerForm::startPolling()
{
    m_engine->startPolling();
}

void SerForm::usePort(const PortChoice &port)
{
    const bool far = !port.isOption() && DeviceLinks::isFar(port.address());
    if (far || far != m_engineIsFar) {
        // Another kind of link: where the engine runs changes, so the
        // window's link is made anew (the poll goes on with the new one).
        const bool polling = m_engineIsFar || m_chReqTimer->isEnabled();
        m_engine->abandonOperation();
        m_engine = DeviceLinks::make(m_data, far ? port.address() : QString(), m_platform, *m_port, *m_chReqTimer,
                                     *m_rxTimer, *m_pump, *this);
        m_engineIsFar = far;
        if (far)
            learnFarWrite();
        if (polling && isVisible())
            m_engine->startPolling();
    }
    if (m_engine->portOpen())
        m_engine->closePort();
    if (port.isOption())
        m_engine->setCommPort(port.option());
    else if (!far)
        m_engine->setPortAddress(port.address());
    showDeviceInUse(port);
    showNothingKnown();
    // The dialog open now was filled for the port before.
    if (m_setForm && m_setForm->isVisible())
        offerWhatToSend();
}

void SerForm::learnFarWrite()
{
    // A far write whose end this computer never saw: the far computer says
    // what it did before the write settings offer what is left.
    const auto broken = FarWrites::unsettled(m_recorder.log().read().records, m_engine->portAddress());
    if (!broken)
        return;
    m_engine->recallWrite(broken->id, [this, broken = *broken](const std::optional<TransferRecord> &record) {
        FarWrites::settle(m_recorder.log(), broken, record);
    });
}

bool SerForm::portWouldNotOpen() const
{
    return m_port->openFailure() != OpenFailure::None;
}

void SerForm::titleChanged()
{
    if (m_setForm)
        m_setForm->titleChanged();
}

void SerForm::showDeviceInUse(const PortChoice &port)
{
    // The device goes after the caption, as the editor puts its file there:
    // with a USB adapter, a server and the simulator to choose from, the
    // operator must see which one this window talks to.
    const QString device = port.device();
    setWindowTitle(device.isEmpty() ? QStringLiteral("8CH-Orvex [通信]")
                                    : QStringLiteral("8CH-Orvex [通信] - %1").arg(device));
}

void SerForm::showNothingKnown()
{
    // Lamps of another unit, or of none, would be read as this one's.
    for (int i = 0; i < 8; ++i) {
        setChannelLit(i, false);
        fillBackground(m_ui.VideoLoss[i], QColor(UnknownLamp));
    }
}

// --- LinkView ------------------------------------------------------------------

void SerForm::setMessage(const QString &text)
{
    m_ui.MessageLabel->setText(text);
    m_ui.MessageLabel->setToolTip(QString());
}

void SerForm::linkNote(const QString &text)
{
    // After the message it adds to; what the label cannot show whole is in
    // its tooltip.
    QLabel *label = m_ui.MessageLabel;
    const QString shown = label->toolTip().isEmpty() ? label->text() : label->toolTip();
    const QString joined = shown.isEmpty() ? text : shown + QStringLiteral("　") + text;
    label->setToolTip(joined);
    label->setText(label->fontMetrics().elidedText(joined, Qt::ElideRight, label->width()));
}

void SerForm::setMeter(const MeterReading &meter)
{
    m_ui.Meter->setReading(meter);
}

void SerForm::setChannelLit(int channel, bool lit)
{
    if (channel < 0 || channel >= 8)
        return;
    QPushButton *button = m_ui.ChSelect[channel];
    // Styles shade a button's palette colour into a gradient; the operator
    // looks for the device's own orange, so the lit button is filled flat.
    // (The sheet goes first: removing it restores the palette it found.)
    button->setStyleSheet(lit ? QStringLiteral("QPushButton { background-color: #%1; border: 1px solid #808080; "
                                               "border-radius: 2px; }")
                                    .arg(ActiveChannel, 6, 16, QLatin1Char('0'))
                              : QString());
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, lit ? QColor(ActiveChannel) : this->palette().color(QPalette::Button));
    button->setPalette(palette);
}

void SerForm::setHorizontalPosition(int value)
{
    m_ui.HposiLabel->setText(QString::number(value));
}

void SerForm::setVerticalPosition(int value)
{
    m_ui.VposiLabel->setText(QString::number(value));
}

void SerForm::setBlackLevel(int index)
{
    m_ui.BlackLevel->setCurrentIndex(index);
}

void SerForm::setWhiteLevel(int index)
{
    m_ui.WhiteLevel->setCurrentIndex(index);
}

void SerForm::setVideoLoss(int input, bool lost)
{
    if (input < 0 || input >= 8)
        return;
    fillBackground(m_ui.VideoLoss[input], QColor(lost ? LostLamp : SignalLamp));
}

void SerForm::setWriteEnabled(bool enabled)
{
    m_ui.WriteButton->setEnabled(enabled);
}

void SerForm::focusWriteButton()
{
    // A hidden window cannot take the focus; that is no error.
    if (QWidget::isVisible())
        m_ui.WriteButton->setFocus(Qt::OtherFocusReason);
}

void SerForm::showWarning(const QString &title, const QString &text)
{
    // A window on its way out has said its last word.
    if (m_unloading)
        return;
    // A server's certificate nobody trusts yet: the operator may trust it
    // here, once, having seen its fingerprint, as an SSH client asks.
    const QString certificate = m_port->unknownCertificate();
    enterNestedLoop();
    if (certificate.isEmpty()) {
        m_messageBoxes.warning(this, title, text);
    } else if (m_messageBoxes.warningWithAction(this, title, text + QStringLiteral("\r\n\r\n") + LinkMessages::trustQuestion(),
                                                LinkMessages::trustButton())) {
        const QString problem = TlsTrustStore::pin(m_port->devicePath(), certificate);
        if (!problem.isEmpty())
            m_messageBoxes.warning(this, title, problem);
    }
    leaveNestedLoop();
}

void SerForm::unloadWindow()
{
    if (m_unloading)
        return;
    m_unloading = true;
    emit unloaded();
    if (m_setForm)
        m_setForm->hide();
    hide();
    if (m_nestedLoops > 0) {
        // Boxes of this window lower down the stack end now; the last
        // nested loop to return destroys the window.
        m_messageBoxes.closeBoxesOf(this);
        return;
    }
    // The engine is still on the stack: destroy everything once it returns.
    deleteLater();
}

void SerForm::bulkWriteFinished(const TransferRecord &report)
{
    m_recorder.record(report);
}

void SerForm::enterNestedLoop()
{
    ++m_nestedLoops;
}

void SerForm::leaveNestedLoop()
{
    if (--m_nestedLoops == 0 && m_unloading)
        deleteLater();
}
