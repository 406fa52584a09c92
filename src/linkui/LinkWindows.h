#pragma once

#include "link/history/TransferRecorder.h"
#include "netserial/PortChoice.h"

#include <QObject>
#include <QPointer>

struct TitleData;
class LinkPlatform;
class MessageBoxes;
class PortChoiceStore;
class PortDiscovery;
class QWidget;
class SerForm;
class TestSerForm;
class TransferHistoryWindow;

// The editor's way into the device link: owns the lifetimes of the
// communication window and the port dialog, both modeless and owned by the
// editor window, each existing at most once, and the port they use. That
// port is held here and nowhere else, since the communication window is
// rebuilt after a failure: the dialog shows it and changes it through
// usePort(), the window's engine and caption take it from there, ComNo
// follows it. The port confirmed with "OK" is remembered and used at the
// next start without asking.
class LinkWindows : public QObject
{
    Q_OBJECT
public:
    // Takes up the port remembered in `choices`: "データ送受信" then goes
    // straight to the communication window.
    LinkWindows(TitleData &data, LinkPlatform &platform, MessageBoxes &messageBoxes, PortDiscovery &discovery,
                PortChoiceStore &choices, QWidget *owner);
    ~LinkWindows() override;

    // "データ送受信": the communication window, or first the port dialog
    // when no port has been chosen yet.
    void openCommunication();
    // "COMポート設定": the port dialog.
    void choosePort();
    // "通信履歴": the transfer log, newest first.
    void showHistory();
    TransferHistoryWindow *historyWindow() const;

    // Every bulk write of the windows goes into the transfer log through
    // this, and the next write learns from it what the last one completed.
    TransferRecorder &recorder() { return m_recorder; }

    // The communication window, created hidden if it does not exist.
    SerForm &serForm();
    // The windows as they are now; null when not loaded.
    SerForm *existingSerForm() const;
    TestSerForm *testSerForm() const;
    // The port the windows use; nothing until one is chosen.
    const PortChoice &port() const { return m_port; }
    // Uses `choice` from now on: ComNo follows, and the communication window
    // (created hidden if it does not exist) closes its open port and takes
    // the new one at its next operation.
    void usePort(const PortChoice &choice);

    // The title changed: what a dialog said about it may no longer hold.
    void titleChanged();

private:
    void showSerForm();
    void showTestSerForm();
    void holdPort(const PortChoice &choice);
    void rememberPort();
    void portWouldNotOpen();
    void warnLogUnwritable(const QString &why);

    TitleData &m_data;
    LinkPlatform &m_platform;
    MessageBoxes &m_messageBoxes;
    PortDiscovery &m_discovery;
    PortChoiceStore &m_choices;
    QWidget *m_owner;
    PortChoice m_port;
    // The port would not open: "データ送受信" asks again before the window.
    bool m_askForPort = false;
    QPointer<SerForm> m_serForm;
    QPointer<TestSerForm> m_testSerForm;
    QPointer<TransferHistoryWindow> m_historyWindow;
    TransferRecorder m_recorder;
};
