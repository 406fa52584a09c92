#pragma once

#include "core/TitleData.h"
#include "link/history/TransferRecord.h"
#include "link/LinkView.h"
#include "link/UnitStatus.h"
#include "link/ReconnectDelay.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class DeviceLink;
class LinkPlatform;
class LinkTimer;
class SerialPort;

// One unit of a site on its own port: a link engine with the port its
// address names (or, for ssh://, the far computer's engine beside it), its own timers and a view that turns what the engine shows
// into signals. Several run side by side in one event loop, each waiting on
// its own line, so a site is written in about one unit's time. One
// operation at a time: a write, one poll, or the poll every 2 s the
// communication window runs. The port and timers come from a LinkPlatform
// (QtLinkPlatform on the real line, a fake in virtual time for tests).
class UnitLink : public QObject, private LinkView
{
    Q_OBJECT

public:
    // `platform` outlives the link.
    UnitLink(const QString &unit, const QString &address, LinkPlatform &platform, QObject *parent = nullptr);
    ~UnitLink() override;

    // Writes `channels` of `title` (copied); stops whatever ran before.
    void write(const TitleData &title, const std::array<bool, Title::Channels> &channels);
    // Asks the far computer of an ssh:// unit for its record of write
    // `id`; stops whatever ran before. The answer comes later (nothing when
    // there is none or the far computer cannot be asked).
    void recallWrite(const QString &id, std::function<void(const std::optional<TransferRecord> &)> answer);
    // Polls once, or every 2 s until stop(). Repeating, a unit that stops
    // answering is lost: it is asked again after ReconnectDelay's back-off
    // until it answers, and polled every 2 s from then on.
    void poll(bool repeat);
    // Abandons the operation in progress and closes the port; a write ends
    // with writeFinished (abandoned) before this returns, a poll with nothing.
    void abandon();
    // The same without a word.
    void stop();

    bool busy() const { return m_operation != Operation::None; }
    // What the last poll showed (kept while the next runs).
    const UnitStatus &status() const { return m_status; }
    // Questions asked again after a lost reply during the last poll.
    int resends() const { return m_resends; }
    // While the unit is lost: the one line that says so and why (the
    // reason when it was lost); empty while it answers. Kept across stop()
    // and poll(), so polls resumed after a write do not lose it again.
    const QString &lostMessage() const { return m_lostMessage; }

signals:
    // Of the whole write: frames sent of all frames, and the engine's message.
    void progress(int percent, const QString &message);
    // The write ended, however it did; `error` says why when not every
    // channel was written.
    void writeFinished(const TransferRecord &report, const QString &error);
    // A poll ended: answered, or `error` says why not.
    void polled(bool answered, const QString &error);
    // Input 0..7's video came or went (or was first seen lost).
    void videoChanged(int input, bool lost);

private:
    enum class Operation { None, Write, Poll, Polling };

    void startEngine();
    void startPoll();
    void retry();
    void queueFinish();
    void finish();

    // LinkView
    void setMessage(const QString &text) override;
    void setMeter(const MeterReading &meter) override;
    void setChannelLit(int channel, bool lit) override { m_next.showChannel(channel, lit); }
    void setHorizontalPosition(int value) override { m_next.hpos = value; }
    void setVerticalPosition(int value) override { m_next.vpos = value; }
    void setBlackLevel(int index) override { m_next.black = index; }
    void setWhiteLevel(int index) override { m_next.white = index; }
    void setVideoLoss(int input, bool lost) override { m_next.showVideoLoss(input, lost); }
    void showWarning(const QString &title, const QString &text) override;
    void unloadWindow() override;
    void replyGarbled(Cmd cmdKind) override { m_next.garbled << cmdKind; }
    // A poll whose answers were not the unit's own shows nothing known.
    void statusUnknown() override { m_next = UnitStatus(); }
    void operationEnded(Request reqNo) override;
    void bulkWriteFinished(const TransferRecord &report) override;

    QString m_unit;
    QString m_address;
    std::unique_ptr<TitleData> m_data;
    LinkPlatform &m_platform;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<LinkTimer> m_chReqTimer;
    std::unique_ptr<LinkTimer> m_rxTimer;
    std::unique_ptr<DeviceLink> m_engine;
    // Asks a unit that did not answer again; the platform's, so tests run it
    // in their virtual time.
    std::unique_ptr<LinkTimer> m_retryTimer;

    Operation m_operation = Operation::None;
    bool m_failed = false;
    bool m_finishQueued = false;
    quint32 m_generation = 0;
    QString m_warning;
    QString m_warningText; // as the engine gave it, lines and all
    QString m_lostMessage;
    ReconnectDelay m_reconnectDelay;
    QString m_message;
    int m_totalFrames = 0;
    int m_framesSent = 0;
    std::optional<TransferRecord> m_report;
    UnitStatus m_status; // the last poll's
    UnitStatus m_next;   // the poll under way
    int m_resends = 0;
};
