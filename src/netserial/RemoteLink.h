#pragma once

#include "FarProtocol.h"

#include "link/DeviceLink.h"

#include <QHash>

#include <memory>

class FarChannel;
class LinkTimer;
class LinkView;
struct TitleData;

// The device link of a unit whose engine runs on a far computer beside it
// (an ssh:// address): every operation goes to the far side as a request,
// and everything the far engine shows comes back to this link's view, so
// the window, the tool and the site drive it as they drive a LinkEngine.
// A write crosses the path once and runs at line speed there.
//
// Honest across the distance: a write's record is the far engine's, and a
// session lost mid-write claims no channel at all ("接続が切れました。
// 遠隔側での結果を確認します"); its record carries the write's id, by
// which the next command asks the far computer what it did.
//
// Lifetime: the view's rules of LinkEngine hold (unloadWindow means
// "destroy me once I have returned"). The channel is started at the first
// request and closed with the link, which ends the far side.
class RemoteLink : public DeviceLink
{
public:
    // How long the far side may take to say hello: ssh's own connect and
    // authentication, and the far program's start, over a slow path.
    static constexpr int HelloTimeout = 45000;

    // `helloTimer` (may be null) bounds the wait for the hello, so a far
    // side that starts and never speaks does not hold the link forever.
    RemoteLink(TitleData &data, std::unique_ptr<FarChannel> channel, const QString &address, LinkView &view,
               LinkTimer *helloTimer = nullptr);
    ~RemoteLink() override;

    RemoteLink(const RemoteLink &) = delete;
    RemoteLink &operator=(const RemoteLink &) = delete;

    bool isIdle() const override { return !m_writing && !m_polling; }
    int retryCount() const override { return m_resends; }
    bool levelListHasFocus() const override { return m_levelFocus; }
    void SerDataSet(Request code) override;
    void KakikomiOn() override;
    void selectChannel(int channel) override;
    void moveOverlay(OverlayDirection direction) override;
    void setLevels(int black, int white) override;
    void setLevelListFocus(bool focused) override;
    void abandonOperation() override;
    void startPolling() override;
    bool portOpen() const override;
    void closePort() override;
    void setCommPort(int number) override { (void)number; }
    void setPortAddress(const QString &address) override;
    QString portAddress() const override { return m_address; }
    const std::optional<TransferRecord> &lastBulkWrite() const override { return m_lastWrite; }
    void recallWrite(const QString &id, RecallAnswer answer) override;

private:
    void send(const QByteArray &line);
    void onChannelEvent(int event);
    void handle(const QJsonObject &message);
    void showStatus(const FarProtocol::StatusAnswer &answer);
    // The session is over: says why (once), ends a write in progress with
    // nothing claimed, and unloads the view.
    void fail(const QString &why, WriteOutcome outcome = WriteOutcome::PortFailed);
    // A write ended here without the far engine's record: what was asked,
    // nothing completed, the id to ask about later.
    void endWriteUnknown(WriteOutcome outcome);
    QString host() const;

    TitleData &m_data;
    std::unique_ptr<FarChannel> m_channel;
    QString m_address;
    LinkView &m_view;
    LinkTimer *m_helloTimer;
    FarProtocol::LineReader m_reader;

    bool m_started = false;
    bool m_greeted = false;
    bool m_failed = false;
    bool m_writing = false;
    bool m_polling = false;
    bool m_showingStatus = false; // poll values going to the view: a level change is not the operator's
    int m_resends = 0;
    bool m_levelFocus = false;
    QString m_writeId;
    std::array<bool, Title::Channels> m_asked{};
    std::optional<TransferRecord> m_lastWrite;
    QHash<QString, RecallAnswer> m_recalls;
    static constexpr int MaxLinesBeforeHello = 20;
    QStringList m_beforeHello;
};
