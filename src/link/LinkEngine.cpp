#include "LinkEngine.h"

#include "DeviceCommand.h"
#include "EventPump.h"
#include "LinkMessages.h"
#include "LinkTimer.h"
#include "ReplyDecoder.h"
#include "RoundHalfEven.h"
#include "UnsendableCodes.h"
#include "core/FileSystem.h"
#include "core/TitleData.h"

#include <algorithm>
#include <iterator>
#include <utility>

LinkEngine::LinkEngine(TitleData &data, SerialPort &port, LinkTimer &chReqTimer, LinkTimer &rxTimer,
                       EventPump &pump, LinkView &view)
    : m_data(data), m_port(port), m_chReqTimer(chReqTimer), m_rxTimer(rxTimer), m_pump(pump), m_view(view)
{
    m_port.configure(LineSettings{});
    if (m_data.ComNo >= 1 && m_data.ComNo <= Title::Channels)
        m_port.setPortNumber(m_data.ComNo);
    m_port.setEventHandler([this](CommEvent event) { handlePortEvent(event); });

    m_chReqTimer.setEnabled(false);
    m_chReqTimer.setInterval(PollInterval);
    m_chReqTimer.setTickHandler([this] { handlePollTick(); });
    m_rxTimer.setEnabled(false);
    m_rxTimer.setInterval(ReplyTimeout);
    m_rxTimer.setTickHandler([this] { handleReplyTimeout(); });
}

LinkEngine::~LinkEngine()
{
    m_port.setEventHandler({});
    m_chReqTimer.setTickHandler({});
    m_rxTimer.setTickHandler({});
    m_chReqTimer.setEnabled(false);
    m_rxTimer.setEnabled(false);
    if (m_port.isOpen() || m_wait == Wait::Open)
        m_port.close();
}

// --- Sending -----------------------------------------------------------------

bool LinkEngine::DetaSend()
{
    m_chReqTimer.setEnabled(false);
    if (!m_port.isOpen()) {
        // A port may run events while it opens, so the operation may be
        // abandoned inside it: then there is nothing to send and no
        // failure to report.
        const quint32 generation = m_generation;
        const OpenProgress progress = m_port.startOpen();
        if (generation != m_generation) {
            if (m_port.isOpen() && !m_port.keepsConnection())
                m_port.close();
            return true;
        }
        switch (progress) {
        case OpenProgress::Failed: return false;
        case OpenProgress::Pending:
            // The frame goes out when the port reports it is open; the
            // reply timer meanwhile bounds the wait.
            m_wait = Wait::Open;
            m_rxTimer.setInterval(OpenTimeout);
            m_rxTimer.setEnabled(true);
            return true;
        case OpenProgress::Opened: break;
        }
    }
    sendFrame();
    return true;
}

void LinkEngine::sendFrame()
{
    const quint32 generation = m_generation;
    m_pump.processOnce();
    if (generation != m_generation)
        return; // the operation was abandoned while events ran

    const DeviceFrame frame = DeviceCommand::build(m_s, m_data);
    m_s.RxLen = qint16(frame.replyLength);
    // No reply is due before this frame leaves, so whatever waits now is a
    // late answer to an earlier frame (one that timed out); counted toward
    // this frame's reply it would be read as the answer to this question.
    m_port.discardInput();
    if (!frame.bytes.isEmpty())
        m_port.write(frame.bytes);
    m_frameResent = std::exchange(m_resending, false);
    if (m_s.ReqNo == Request::BulkWrite)
        m_write.frameSent(m_s.SendCh, frame.bytes, m_frameResent);
    m_wait = Wait::Reply;
    // A network path may take far longer than the device itself; its port
    // knows how long from the round trips it has measured.
    m_rxTimer.setInterval(m_port.keepsConnection() ? m_port.replyTimeout() * m_backoff : ReplyTimeout);
    m_rxTimer.setEnabled(true);

    ++m_s.MeterCount;
    m_view.setMeter(MeterOn(roundHalfEven(m_s.MeterCount / 2.0), m_s.MeterMax));
}

// --- Receiving ---------------------------------------------------------------

void LinkEngine::handlePortEvent(CommEvent event)
{
    switch (event) {
    case CommEvent::DataReceived: break;
    case CommEvent::Opened:
    case CommEvent::OpenFailed:
        if (m_wait != Wait::Open)
            return; // an open nobody waits for any more
        m_wait = Wait::None;
        m_rxTimer.setEnabled(false);
        if (event == CommEvent::Opened)
            sendFrame();
        else
            failOpen();
        return;
    default: {
        const QString message = LinkMessages::lineError(event);
        if (!message.isEmpty())
            m_view.showWarning(LinkMessages::errorTitle(), message);
        return;
    }
    }

    const QByteArray bytes = m_port.readAll();
    // Bytes nobody waits for (a late or stray reply between operations, or
    // a second reply to a resent frame) must not complete the next frame's
    // reply or re-run a finished step.
    if (m_wait != Wait::Reply)
        return;
    m_s.RxHex += FileSystem::BytesToHex(bytes);
    if (m_s.RxHex.size() / 2 < m_s.RxLen)
        return;

    const int roundTrip = m_rxTimer.elapsed();
    m_rxTimer.setEnabled(false);
    m_wait = Wait::None;
    const bool network = m_port.keepsConnection();
    if (network) {
        // Which copy of a resent frame was answered is unknown, so its
        // reply says nothing about the path.
        if (!m_frameResent) {
            m_port.addRoundTripSample(roundTrip);
            m_backoff = 1;
        }
        // A path that answers again is judged afresh: a few delays spread
        // over a long write do not add up to a give-up.
        m_s.RetryCount = 0;
    }
    bool finished = false;
    ++m_s.MeterCount;

    switch (m_s.CmdKind) {
    case Cmd::ScreenRow:
        if (m_s.RowNo >= Title::Rows - 1) {
            m_s.RowNo = 0;
            finished = true;
        } else {
            ++m_s.RowNo;
        }
        break;
    case Cmd::Character:
        if (m_s.CharNo >= Title::BlockSize)
            finished = true;
        else
            ++m_s.CharNo;
        break;
    default:
        finished = true;
        if (m_s.CmdKind == Cmd::Brightness && m_s.RowNo < Title::Rows - 1) {
            ++m_s.RowNo;
            finished = false;
        }
        break;
    }

    if (isQuery(m_s.CmdKind))
        decodeReply();
    m_s.RxHex.clear();

    // "PS1" acknowledged: the device holds the whole of this channel.
    if (finished && m_s.ReqNo == Request::BulkWrite && m_s.CmdKind == Cmd::Finish)
        m_write.channelCompleted(m_s.SendCh);

    // Both copies of a resent frame may be answered on this connection,
    // the second reply one time-out (give or take a round trip) after the
    // first; it must not pass for the next frame's reply.
    if (network && m_frameResent) {
        m_wait = Wait::Guard;
        m_guardFinishesStep = finished;
        m_rxTimer.setInterval(m_timedOutAfter + std::max(m_port.guardTime(), GuardMargin));
        m_rxTimer.setEnabled(true);
        return;
    }
    sendOn(finished);
}

void LinkEngine::sendOn(bool stepFinished)
{
    if (stepFinished)
        SerDataSet(m_s.ReqNo);
    else if (!DetaSend())
        failOpen();
}

void LinkEngine::decodeReply()
{
    const QString &hex = m_s.RxHex;
    // A value the device cannot hold is a garbled reply (or the answer to
    // another question, come late): it is not shown.
    bool garbled = false;
    switch (m_s.CmdKind) {
    case Cmd::QueryChannel:
        if (const auto channel = ReplyDecoder::channel(hex)) {
            m_view.setChannelLit(m_s.LitCh, false);
            m_s.LitCh = qint16(*channel - 1);
            m_view.setChannelLit(m_s.LitCh, true);
        } else {
            garbled = true;
        }
        break;
    case Cmd::QueryHorizontal:
        if (const auto position = ReplyDecoder::horizontalPosition(hex))
            m_view.setHorizontalPosition(*position);
        else
            garbled = true;
        break;
    case Cmd::QueryVertical:
        if (const auto position = ReplyDecoder::verticalPosition(hex))
            m_view.setVerticalPosition(*position);
        else
            garbled = true;
        break;
    case Cmd::QueryLevels: {
        const auto levels = ReplyDecoder::levels(hex);
        garbled = !levels.white || !levels.black;
        // Not while the operator is choosing a level.
        if (!m_s.LvFocus) {
            if (levels.white) {
                m_s.WhiteLv = qint16(*levels.white);
                m_view.setWhiteLevel(m_s.WhiteLv);
            }
            if (levels.black) {
                m_s.BlackLv = qint16(*levels.black);
                m_view.setBlackLevel(m_s.BlackLv);
            }
        }
        break;
    }
    case Cmd::QueryVideoLoss:
        if (const auto mask = ReplyDecoder::videoLossMask(hex)) {
            for (int input = 0; input < Title::Channels; ++input)
                m_view.setVideoLoss(input, *mask & (1 << input));
        } else {
            garbled = true;
        }
        break;
    default: break;
    }
    if (garbled)
        m_view.replyGarbled(m_s.CmdKind);
}

void LinkEngine::handleReplyTimeout()
{
    m_timedOutAfter = m_rxTimer.interval();
    m_rxTimer.setEnabled(false);
    const Wait waited = std::exchange(m_wait, Wait::None);
    switch (waited) {
    case Wait::None: return;
    case Wait::Guard: sendOn(m_guardFinishesStep); return;
    case Wait::Open:
        m_port.close();
        failOpen(OpenFailure::NoAnswer, QString());
        return;
    case Wait::Reply: break;
    }

    ++m_s.RetryCount;
    if (m_port.keepsConnection())
        m_backoff = std::min(m_backoff * 2, MaxBackoff);
    // A local line is reopened for the resend. A network connection gets
    // one resend on the same connection (the reply may only be late); a
    // path silent for longer is taken as broken and connected again.
    if (m_port.isOpen() && (!m_port.keepsConnection() || m_s.RetryCount >= 2))
        m_port.close();
    // Closing the port loses the rest of a half-received reply; its first
    // bytes would otherwise be read as the start of the resent frame's
    // reply and shift every field of it.
    m_s.RxHex.clear();
    if (m_s.RetryCount < RetryLimit) {
        m_resending = true;
        const bool sent = DetaSend();
        m_resending = false;
        if (!sent)
            failOpen();
        return;
    }
    giveUp();
}

// --- Sequencer ---------------------------------------------------------------

void LinkEngine::SerDataSet(Request code)
{
    if (!m_view.isVisible())
        return;
    m_chReqTimer.setInterval(QuickPollInterval);
    m_s.ReqNo = code;
    m_s.MeterCount = 0;
    bool finished = false;

    switch (code) {
    case Request::Levels:
    case Request::ChannelSelect:
    case Request::MoveDown:
    case Request::MoveUp:
    case Request::MoveLeft:
    case Request::MoveRight:
        if (m_s.StepNo == 0) {
            m_s.MeterMax = code == Request::Levels ? Title::Rows - 1 : 1;
            m_s.CmdKind = code == Request::Levels          ? Cmd::Brightness
                          : code == Request::ChannelSelect ? Cmd::SelectChannel
                                                           : Cmd::Move;
        } else if (m_s.StepNo == 1) {
            finished = true;
        }
        ++m_s.StepNo;
        break;
    case Request::StatusPoll:
        m_chReqTimer.setInterval(PollInterval);
        m_s.MeterMax = 1;
        if (m_s.StepNo < qint16(std::size(PollQueries)))
            m_s.CmdKind = PollQueries[m_s.StepNo];
        else if (m_s.StepNo == qint16(std::size(PollQueries)))
            finished = true;
        ++m_s.StepNo;
        break;
    case Request::BulkWrite:
        bulkWriteStep(finished);
        ++m_s.StepNo;
        break;
    default: break;
    }

    if (m_s.StepNo == 0)
        finished = true;
    if (!finished) {
        if (!DetaSend())
            failOpen();
        return;
    }
    endOperation();
}

namespace {

// The steps of writing one channel, the values StepNo takes during a bulk
// write (the step is counted on once its frames are done).
namespace BulkStep {
enum : qint16 {
    SelectChannel = 0, // "CSn"
    OverlayOff = 1,    // "OS0" while the channel is written
    ScreenRows = 2,    // the page, a frame per row
    Characters = 3,    // the character patterns, a frame per code
    OverlayOn = 4,     // "OS1"
    Finish = 5,        // "PS1": the channel is complete
    NextChannel = 6,   // on to the next channel asked for, or the end
};
} // namespace BulkStep

} // namespace

void LinkEngine::bulkWriteStep(bool &finished)
{
    const int channel = m_s.SendCh + 1;
    if (m_s.StepNo == BulkStep::SelectChannel) {
        if (!m_data.KakikomiCh[m_s.SendCh])
            m_s.StepNo = BulkStep::NextChannel;
        m_s.MeterMax = 1;
        m_s.CmdKind = Cmd::SelectChannel;
    }
    if (m_s.StepNo == BulkStep::OverlayOff) {
        m_s.CharNo = 0;
        m_s.MeterMax = 1;
        m_s.CmdKind = Cmd::Overlay;
    }
    if (m_s.StepNo == BulkStep::ScreenRows) {
        m_s.CmdKind = Cmd::ScreenRow;
        m_s.MeterMax = Title::Rows;
        m_view.setMessage(LinkMessages::screenSending(channel));
    }
    if (m_s.StepNo == BulkStep::Characters) {
        m_s.CmdKind = Cmd::Character;
        m_s.MeterMax = Title::BlockSize;
        m_view.setMessage(LinkMessages::characterSending(channel));
    }
    if (m_s.StepNo == BulkStep::OverlayOn) {
        m_s.CharNo = 1;
        m_s.MeterMax = 1;
        m_s.CmdKind = Cmd::Overlay;
    }
    if (m_s.StepNo == BulkStep::Finish) {
        m_s.MeterMax = 1;
        m_s.CmdKind = Cmd::Finish;
    }
    if (m_s.StepNo == BulkStep::NextChannel) {
        if (m_s.SendCh >= Title::Channels - 1) {
            finished = true;
        } else {
            m_s.StepNo = BulkStep::SelectChannel;
            do {
                ++m_s.SendCh;
                ++m_s.PageNo;
            } while (m_s.SendCh < Title::Channels && !m_data.KakikomiCh[m_s.SendCh]);
            if (m_s.SendCh >= Title::Channels) {
                finished = true;
            } else {
                m_s.RowNo = 0;
                m_s.CharNo = 0;
                m_s.MeterMax = 1;
                m_s.CmdKind = Cmd::SelectChannel;
            }
        }
    }
}

void LinkEngine::endOperation()
{
    m_chReqTimer.setEnabled(true);
    m_s.StepNo = 0;
    m_view.setWriteEnabled(true);
    m_view.setMessage(LinkMessages::finished());
    if (m_port.isOpen() && !m_port.keepsConnection())
        m_port.close();
    if (m_s.ReqNo == Request::BulkWrite && m_write.active())
        endWrite(WriteOutcome::Done);
    m_view.operationEnded(m_s.ReqNo);

    if (m_writePending) {
        m_writePending = false;
        KakikomiOn();
    }
}

void LinkEngine::KakikomiOn()
{
    // Two exchanges must never share the line: the write waits for the
    // operation in progress (usually a status poll) to end.
    if (m_s.StepNo > 0) {
        m_writePending = true;
        return;
    }
    if (const auto cell = UnsendableCodes::first(m_data)) {
        m_write.begin(m_data.KakikomiCh, m_port.devicePath());
        endWrite(WriteOutcome::Refused);
        m_view.showWarning(LinkMessages::errorTitle(),
                           LinkMessages::unsendableCode(cell->channel + 1, cell->row + 1, cell->column + 1,
                                                        cell->code));
        return;
    }
    m_s.StepNo = 0;
    m_s.SendCh = 0;
    m_s.RowNo = 0;
    m_s.PageNo = 0;
    m_s.CharNo = 0;
    m_write.begin(m_data.KakikomiCh, m_port.devicePath());
    SerDataSet(Request::BulkWrite);
}

void LinkEngine::endWrite(WriteOutcome outcome)
{
    if (!m_write.active() && m_writePending)
        m_write.begin(m_data.KakikomiCh, m_port.devicePath()); // asked, never started
    if (!m_write.active())
        return;
    m_lastWrite = m_write.finish(outcome);
    m_view.bulkWriteFinished(*m_lastWrite);
}

// --- Failures ----------------------------------------------------------------

void LinkEngine::stopEverything(bool keepIdleConnection)
{
    m_rxTimer.setEnabled(false);
    m_chReqTimer.setEnabled(false);
    // A reply still on its way could otherwise arrive just after the next
    // operation's frame and be taken for its answer.
    const bool idle = m_wait == Wait::None || m_wait == Wait::Guard;
    const bool keep = keepIdleConnection && idle && m_port.keepsConnection();
    if ((m_port.isOpen() || m_wait == Wait::Open) && !keep)
        m_port.close();
    m_wait = Wait::None;
    m_resending = false;
    m_writePending = false;
    ++m_generation;
}

void LinkEngine::failOpen()
{
    failOpen(m_port.openFailure(), m_port.errorString());
}

void LinkEngine::failOpen(OpenFailure failure, const QString &reason)
{
    const QString message =
        LinkMessages::cannotOpen(m_port.devicePath(), failure, reason, m_port.keepsConnection());
    endWrite(WriteOutcome::PortFailed);
    stopEverything();
    m_s.StepNo = 0;
    m_view.showWarning(LinkMessages::errorTitle(), message);
    // The port is forgotten by whoever chose it (LinkWindows), not here.
    m_view.unloadWindow();
}

void LinkEngine::giveUp()
{
    endWrite(WriteOutcome::TimedOut);
    m_s.RetryCount = 0;
    m_s.RxHex.clear();
    m_view.setWriteEnabled(true);
    m_s.StepNo = 0;
    const QString message = m_port.keepsConnection()
                                ? LinkMessages::networkTimedOut(m_port.devicePath(), m_port.roundTrip())
                                : LinkMessages::timedOut();
    stopEverything();
    m_view.showWarning(LinkMessages::errorTitle(), message);
    m_view.setChannelLit(m_s.LitCh, false);
    m_view.unloadWindow();
}

// --- Timers and controls -----------------------------------------------------

void LinkEngine::handlePollTick()
{
    // A poll never cuts into another operation's exchange.
    if (m_s.StepNo > 0)
        return;
    SerDataSet(Request::StatusPoll);
}

void LinkEngine::selectChannel(int channel)
{
    if (m_s.StepNo > 0)
        return;
    m_s.SendCh = qint16(channel);
    SerDataSet(Request::ChannelSelect);
}

Request LinkEngine::moveRequest(OverlayDirection direction)
{
    switch (direction) {
    case OverlayDirection::Down: return Request::MoveDown;
    case OverlayDirection::Up: return Request::MoveUp;
    case OverlayDirection::Left: return Request::MoveLeft;
    case OverlayDirection::Right: return Request::MoveRight;
    }
    return Request::None;
}

void LinkEngine::moveOverlay(OverlayDirection direction)
{
    if (m_s.StepNo > 0)
        return;
    SerDataSet(moveRequest(direction));
}

void LinkEngine::setLevels(int black, int white)
{
    m_s.BlackLv = qint16(black);
    m_s.WhiteLv = qint16(white);
    if (m_s.StepNo == 0) {
        m_s.RowNo = 0;
        SerDataSet(Request::Levels);
    }
    m_view.focusWriteButton();
}

void LinkEngine::setLevelListFocus(bool focused)
{
    m_s.LvFocus = focused;
}

void LinkEngine::abandonOperation()
{
    endWrite(WriteOutcome::Abandoned);
    stopEverything(true);
    m_s.StepNo = 0;
    m_s.RxHex.clear();
    m_view.setWriteEnabled(true);
}

void LinkEngine::startPolling()
{
    m_chReqTimer.setEnabled(true);
}

bool LinkEngine::portOpen() const
{
    return m_port.isOpen();
}

void LinkEngine::closePort()
{
    const bool connecting = m_wait == Wait::Open;
    if (m_port.isOpen() || connecting)
        m_port.close();
    if (connecting) {
        // The open is given up; the exchange goes on as on a line closed
        // under it: its time-out resends, opening the port chosen by then.
        m_wait = Wait::Reply;
        m_rxTimer.setInterval(ReplyTimeout);
        m_rxTimer.setEnabled(true);
    }
}

void LinkEngine::setCommPort(int number)
{
    if (m_wait == Wait::Open)
        closePort();
    m_port.setPortNumber(number);
}

void LinkEngine::setPortAddress(const QString &address)
{
    if (m_wait == Wait::Open)
        closePort();
    m_port.setDevicePath(address);
}

QString LinkEngine::portAddress() const
{
    return m_port.devicePath();
}
