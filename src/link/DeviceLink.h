#pragma once

#include "history/TransferRecord.h"
#include "LinkState.h"

#include <QString>

#include <functional>
#include <optional>

// Overlay moves, in the order of the window's arrow buttons ↓ ↑ ← →.
enum class OverlayDirection { Down = 0, Up = 1, Left = 2, Right = 3 };

// What a front end (the communication window, the orvex tool, a site's
// unit) asks of the device link, wherever the engine runs: here, as a
// LinkEngine on a port of this computer, or on a far computer beside the
// unit (RemoteLink). Either one tells its LinkView what happens; the front
// end keeps one copy of its logic for both.
class DeviceLink
{
public:
    virtual ~DeviceLink() = default;

    // No operation is in progress: the next one starts at once.
    virtual bool isIdle() const = 0;
    // Reply time-outs since the link started (a network port's: in a row).
    virtual int retryCount() const = 0;
    // A level list has the keyboard focus, so polls leave the lists alone.
    virtual bool levelListHasFocus() const = 0;

    // Runs operation `code`; the front ends start the status poll this way.
    virtual void SerDataSet(Request code) = 0;
    // Starts the bulk write of the channels flagged in KakikomiCh.
    virtual void KakikomiOn() = 0;
    virtual void selectChannel(int channel) = 0;
    virtual void moveOverlay(OverlayDirection direction) = 0;
    // Both levels, indexes 0..3 of the level lists; a change that came from
    // a poll reply is ignored.
    virtual void setLevels(int black, int white) = 0;
    virtual void setLevelListFocus(bool focused) = 0;
    // The window hides or the program stops: the poll stops and an
    // operation in progress is abandoned.
    virtual void abandonOperation() = 0;
    // After the window is shown: the poll runs again.
    virtual void startPolling() = 0;

    // The port dialog.
    virtual bool portOpen() const = 0;
    virtual void closePort() = 0;
    virtual void setCommPort(int number) = 0;
    virtual void setPortAddress(const QString &address) = 0;
    // The device or address the link uses, as the transfer log names it.
    virtual QString portAddress() const = 0;

    // The report of the last bulk write; empty before the first one ended.
    virtual const std::optional<TransferRecord> &lastBulkWrite() const = 0;

    // Asks the computer that ran write `id` (a far write whose end this
    // one never saw) for its record of it; the answer comes later, nothing
    // when that computer has none or cannot be asked. A link on this
    // computer's own port runs no far writes and answers nothing at once.
    using RecallAnswer = std::function<void(const std::optional<TransferRecord> &record)>;
    virtual void recallWrite(const QString &id, RecallAnswer answer)
    {
        (void)id;
        answer(std::nullopt);
    }
};
