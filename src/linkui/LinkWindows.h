#pragma once

#include "link/history/TransferRecorder.h"

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
// editor window, each existing at most once, and the port they use: ComNo
// for one of the eight options, or an address kept here, beside it, since
// the communication window is rebuilt after a failure. The port confirmed
// with "OK" is remembered and used at the next start without asking.
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
    // The address in use instead of one of the eight options; empty when
    // one of those is.
    const QString &portAddress() const { return m_portAddress; }

private:
    void showSerForm();
    void showTestSerForm();
    void rememberPort();
    void warnLogUnwritable(const QString &why);

    TitleData &m_data;
    LinkPlatform &m_platform;
    MessageBoxes &m_messageBoxes;
    PortDiscovery &m_discovery;
    PortChoiceStore &m_choices;
    QWidget *m_owner;
    QString m_portAddress;
    QPointer<SerForm> m_serForm;
    QPointer<TestSerForm> m_testSerForm;
    QPointer<TransferHistoryWindow> m_historyWindow;
    TransferRecorder m_recorder;
};
