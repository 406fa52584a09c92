#pragma once

#include "DeviceLink.h"
#include "history/TransferTracker.h"
#include "LinkState.h"
#include "LinkView.h"
#include "ReplyCheck.h"
#include "SerialPort.h"

struct TitleData;
class EventPump;
class LinkTimer;

// The device link engine: talks to the title generator over one serial line.
// It sends frames, collects replies, resends after a time-out and runs every
// operation (level change, channel select, overlay moves, bulk write, status
// poll) step by step, one exchange on the line at a time.
//
// Who drives it: a front end that implements LinkView, the communication
// window SerForm or the orvex tool's LinkSession. The front end calls the
// operations below; the port and the two timers it was given call the event
// handlers. Everything happens on one thread, inside those calls; the engine
// never starts a timer, a box or a thread of its own. QtCore and the title
// data only, so it runs without widgets and, in the tests, in virtual time.
//
// Lifetime: built when the window loads (the constructor configures the port
// and resets every counter) and owned by that front end, which keeps the
// port, timers, pump and view alive for as long as the engine. When the
// engine gives up it calls LinkView::unloadWindow(); the front end destroys
// it once the engine's own call has returned. The destructor unhooks the
// port and timers and closes the port. See LinkView.h for the details.
class LinkEngine : public DeviceLink
{
public:
    static constexpr int PollInterval = 2000;
    static constexpr int QuickPollInterval = 200;
    static constexpr int ReplyTimeout = 500;
    static constexpr int RetryLimit = 5;
    // Longest wait for a network port to connect (and, over RFC 2217, to
    // set up the far port): several round trips of a path up to a second
    // each way.
    static constexpr int OpenTimeout = 10000;
    // A network port's reply time-out doubles after each time-out until a
    // frame sent once is answered (Karn), up to this many times, so a path
    // that got slower is measured again rather than resent into forever.
    static constexpr int MaxBackoff = 4;
    // Least give-or-take of the wait for a resent frame's second reply:
    // the timers at both ends and the path never keep exact time.
    static constexpr int GuardMargin = 50;
    // A network connection that is still open is kept through this many
    // reply time-outs in a row without a byte: a long path is only slow.
    // Then it is taken as broken and made again.
    static constexpr int SilentTimeoutsBeforeReconnect = 3;
    // After an answer that was not clean, the line must be quiet this long
    // (ms, more on a long path) before the frame goes again, so the rest of
    // what came does not spoil the next exchange too; a line never quiet
    // within LineFloodLimit is given up on.
    static constexpr int QuietTime = 100;
    static constexpr int LineFloodLimit = 3000;

    // The window's load: configures the port for data.ComNo (not opened),
    // hooks the port and both timers, resets the state. ChReqTimer stays
    // disabled until startPolling().
    LinkEngine(TitleData &data, SerialPort &port, LinkTimer &chReqTimer, LinkTimer &rxTimer,
               EventPump &pump, LinkView &view);
    ~LinkEngine() override;

    LinkEngine(const LinkEngine &) = delete;
    LinkEngine &operator=(const LinkEngine &) = delete;

    // What callers need to know of the working state, asked as questions so
    // the state itself stays the engine's.
    // No operation is in progress: the next one starts at once.
    bool isIdle() const override { return m_s.StepNo == 0; }
    // Reply time-outs since the window loaded or the last give-up (a network
    // port's: in a row).
    int retryCount() const override { return m_s.RetryCount; }
    // A level list has the keyboard focus, so polls leave the lists alone.
    bool levelListHasFocus() const override { return m_s.LvFocus; }

    // --- Operations ---------------------------------------------------
    // "Data send": sends the frame of the current command, or starts
    // connecting a network port and sends it once the port reports it is
    // open; false when the port could not be opened (nothing was sent).
    bool DetaSend();
    // "Serial data set", the sequencer: runs the next step of operation `code`.
    void SerDataSet(Request code) override;
    // "Writing on": starts the bulk write of the channels flagged in KakikomiCh. Refused
    // with a warning when a chosen page holds a code the device cannot be
    // sent; deferred until the end when another operation is running.
    void KakikomiOn() override;
    // "Meter on": the reading the view is given for `value` of `max` frames.
    static MeterReading MeterOn(int value, int max) { return MeterReading{value, max}; }

    // --- Port and timer events ------------------------------------------
    void handlePortEvent(CommEvent event);
    void handleReplyTimeout();
    void handlePollTick();

    // --- What the operator asks for -------------------------------------
    // Makes channel 0..7 the device's active channel.
    void selectChannel(int channel) override;
    // Moves the overlay one step.
    void moveOverlay(OverlayDirection direction) override;
    // The request that moves the overlay in `direction`.
    static Request moveRequest(OverlayDirection direction);
    // Sends both levels (indexes 0..3 of the level lists); also called when
    // the change came from a poll reply, which the engine knows to ignore.
    void setLevels(int black, int white) override;
    // While a level list has the keyboard focus, poll replies leave the
    // level lists alone so they do not fight the operator's choice.
    void setLevelListFocus(bool focused) override;
    // The window hides ("閉じる"): the poll stops and an operation in
    // progress is abandoned, so a later showing never resumes half a step.
    void abandonOperation() override;
    // After the window is shown: the poll timer runs again.
    void startPolling() override;

    // --- The port dialog ------------------------------------------------
    bool portOpen() const override;
    void closePort() override;
    void setCommPort(int number) override;
    // A port chosen by address rather than by one of the eight numbers: a
    // device path, tcp://HOST:PORT or rfc2217://HOST:PORT (the port must
    // understand it, as platform/AddressedSerialPort does). Takes effect at
    // the next open.
    void setPortAddress(const QString &address) override;
    // The device or address the next open uses, for showing it.
    QString portAddress() const override;

    // True while a bulk write waits for another operation to end.
    bool writePending() const { return m_writePending; }
    // The report of the last bulk write this engine ran (also given to the
    // view's bulkWriteFinished); empty before the first one ended.
    const std::optional<TransferRecord> &lastBulkWrite() const override { return m_lastWrite; }

private:
    // What the engine waits for after DetaSend.
    enum class Wait {
        None,
        Open,  // a network port to connect
        Reply, // the reply to the frame sent
        Guard, // late bytes after the reply to a resent frame, to be dropped
        Quiet, // the line to fall quiet after an answer that was not clean
    };

    void sendFrame();
    // After a complete reply: the next step, or the next frame of this one.
    void sendOn(bool stepFinished);
    void endOperation();
    // Stops the timers and forgets the exchange. The line closes, except a
    // network connection with no exchange on it, which stays for the next
    // operation.
    void stopEverything(bool keepIdleConnection = false);
    void failOpen();
    void failOpen(OpenFailure failure, const QString &reason);
    void giveUp();
    void decodeReply();
    // The exchange was clean: counters, the step, the next frame.
    void takeReply();
    // The answer was not clean: wait for quiet, then judge what to do.
    void startQuiet();
    void handleUnclean();
    // A write's channel whose exchange was spoilt is written again from
    // its first frame; the channel before it when its last frame's answer
    // is in doubt.
    void restartChannel();
    // Ends the operation on a line that does not carry the unit's answers.
    void failLine(LineFault fault);
    // The channel whose "PS1" was answered holds its frames: said once the
    // next exchange is clean too (or the write ends without doubt).
    void confirmChannel();
    // Forgets what the operation ending knew of its exchanges.
    void forgetOperation();
    int quietTime() const;
    void bulkWriteStep(bool &finished);
    // Ends the bulk write in progress, or the one waiting to start, with
    // `outcome` and tells the view; nothing when there is none.
    void endWrite(WriteOutcome outcome);

    TitleData &m_data;
    SerialPort &m_port;
    LinkTimer &m_chReqTimer;
    LinkTimer &m_rxTimer;
    EventPump &m_pump;
    LinkView &m_view;

    LinkState m_s;
    Wait m_wait = Wait::None;
    bool m_guardFinishesStep = false; // what sendOn gets when the guard ends
    bool m_writePending = false;
    // Bumped whenever an operation is abandoned, so a send interrupted by
    // the event pump can tell that its operation is gone.
    quint32 m_generation = 0;
    TransferTracker m_write;
    std::optional<TransferRecord> m_lastWrite;
    bool m_resending = false;   // the next frame sent is the same frame again
    bool m_frameResent = false; // the frame awaiting its reply was a resend
    int m_backoff = 1;          // network reply time-out multiplier
    int m_timedOutAfter = 0;    // interval of the last reply time-out, ms

    // The reply rule: what the frame awaiting its answer got so far.
    ReplyCheck m_check;
    QByteArray m_frame;            // the frame awaiting its answer
    int m_copies = 0;              // copies of it sent on this connection
    int m_guardAllowance = 0;      // late answers to earlier copies still allowed
    LineFault m_carry = LineFault::None; // bytes between frames spoil the next exchange
    bool m_answered = false;       // the last exchange of this operation was clean
    int m_provisional = -1;        // channel awaiting confirmation (confirmChannel)
    int m_unclean = 0;             // unclean exchanges in this operation
    int m_lastUncleanBytes = -1;   // bytes of the last one, and how many
    int m_sameShape = 0;           // in a row had that count
    int m_quietSpent = 0;          // ms waited for the line to fall quiet
    bool m_faultSaid = false;      // a poll's line fault was told; not again until clean

    // Connections of a network port.
    int m_silentTimeouts = 0;      // reply time-outs in a row without a byte
    bool m_closedForSilence = false;
    bool m_usedConnection = false; // a frame of this operation went out on a connection
    bool m_reopening = false;      // the open in progress makes a connection again
};
