#pragma once

#include "SerFormUi.h"
#include "SetForm.h"

#include "link/LinkView.h"

#include <QPointer>
#include <QWidget>

#include <memory>

struct TitleData;
class EventPump;
class DeviceLink;
class LinkPlatform;
class LinkPlatform;
class LinkTimer;
class MessageBoxes;
class PortChoice;
class SerialPort;
class TransferRecorder;

// "8CH-Orvex [通信]": the window through which the operator drives the title
// generator. It is a view of the device link engine: the controls call the
// engine's handlers and the engine draws through LinkView. Building the
// window is its load; when the engine gives up (time-out, a port that will
// not open) the window destroys itself and the next showing starts afresh.
//
// Message boxes and the send's event pump run nested event loops, in which
// the engine may give up too. The window then closes its boxes that are
// still open further down the stack and is destroyed only once the last of
// those loops has returned: no code of the window, its engine or its port
// ever runs on after they are gone.
class SerForm : public QWidget, public LinkView
{
    Q_OBJECT
public:
    // Each bulk write's report goes to `recorder`, which outlives the window.
    SerForm(TitleData &data, LinkPlatform &platform, MessageBoxes &messageBoxes, TransferRecorder &recorder,
            QWidget *owner);
    ~SerForm() override;

    const SerFormUi &ui() const { return m_ui; }
    // The link the window drives: an engine on this computer's port, or the
    // far computer's for an ssh:// address.
    const DeviceLink &engine() const { return *m_engine; }
    // The write-settings dialog, while it exists.
    SetForm *setForm() const { return m_setForm; }

    // "Writing on": starts the bulk write of the channels flagged in KakikomiCh.
    void KakikomiOn();
    // Enables the status poll (ChReqTimer); the editor does this after
    // showing the window.
    void startPolling();

    // A port chosen in the port dialog: the open port closes at once, the
    // next operation opens `port`, and until it has answered the window
    // shows nothing it knew of the one before.
    void usePort(const PortChoice &port);
    // After unloaded(): whether it was because the port would not open.
    bool portWouldNotOpen() const;
    // The title changed since the write settings said what changed in it.
    void titleChanged();

    // LinkView
    void setMessage(const QString &text) override;
    void setMeter(const MeterReading &meter) override;
    void setChannelLit(int channel, bool lit) override;
    void setHorizontalPosition(int value) override;
    void setVerticalPosition(int value) override;
    void setBlackLevel(int index) override;
    void setWhiteLevel(int index) override;
    void setVideoLoss(int input, bool lost) override;
    void setWriteEnabled(bool enabled) override;
    void focusWriteButton() override;
    bool isVisible() const override { return QWidget::isVisible(); }
    void showWarning(const QString &title, const QString &text) override;
    void unloadWindow() override;
    void bulkWriteFinished(const TransferRecord &report) override;
    void linkNote(const QString &text) override;
    void statusUnknown() override { showNothingKnown(); }

signals:
    // The window is finished and will be destroyed once control returns to
    // the event loop; its owner must not show it again.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void connectControls();
    void sendChosenLevels();
    void openWriteSettings();
    void offerWhatToSend();
    void hideWindow();
    void stopWhileHidden();
    void showDeviceInUse(const PortChoice &port);
    void showNothingKnown();
    // Around every nested event loop the window or its engine runs.
    void enterNestedLoop();
    void learnFarWrite();
    void leaveNestedLoop();

    TitleData &m_data;
    LinkPlatform &m_platform;
    MessageBoxes &m_messageBoxes;
    TransferRecorder &m_recorder;
    SerFormUi m_ui;
    QPointer<SetForm> m_setForm;

    // The engine goes before the port and timers it uses.
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<LinkTimer> m_chReqTimer;
    std::unique_ptr<LinkTimer> m_rxTimer;
    std::unique_ptr<EventPump> m_pump;
    std::unique_ptr<DeviceLink> m_engine;
    bool m_engineIsFar = false;
    int m_nestedLoops = 0;
    bool m_unloading = false;
};
