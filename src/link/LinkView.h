#pragma once

#include "history/TransferRecord.h"
#include "LinkState.h"
#include "MeterReading.h"

#include <QString>

// The face of the device link: everything the engine shows or asks about.
// A front end implements the four every one of them shows; the status
// values, what only a window needs and the ends of operations have defaults
// that do nothing, so the `orvex` tool and a site's units implement what
// they use and no stubs.
//
// How a window uses the engine
// ----------------------------
// The communication window (or any other front end, such as the `orvex`
// tool) implements LinkView and owns one LinkEngine, built with the shared
// TitleData, a SerialPort, two LinkTimers (ChReqTimer, RxTimer), an
// EventPump and itself as the view. Constructing the engine is the window's
// load: it configures the port for `ComNo` and resets every counter.
//
// - Show the window, then call engine.startPolling() (the status poll every
//   2 s while idle, 200 ms after any other operation).
// - Wire the controls to the engine's operations: selectChannel(ch),
//   moveOverlay(direction), setLevels(black, white) after a level list
//   changed (also when the change came from setBlackLevel / setWhiteLevel
//   below: the engine knows to ignore it), setLevelListFocus(bool),
//   KakikomiOn() from the write-settings dialog's execute button, and
//   abandonOperation() when the window hides.
// - The port dialog uses portOpen(), closePort(), setCommPort() and, for a
//   port chosen by address, setPortAddress().
// - The engine calls back on the methods below, always on the GUI thread and
//   only from inside one of its entry points or a port/timer event.
// - unloadWindow() means: this window is finished (time-out or a port that
//   cannot be opened). The view must stop using the engine and destroy it,
//   but only once nothing of it is on the stack: the engine itself is at
//   that moment, and so may be a message box or an event pump of the view
//   further down, whose nested event loop ran the failure. Such boxes are
//   closed, not freed; the next showing builds a fresh window and engine.
class LinkView
{
public:
    virtual ~LinkView() = default;

    // --- What every front end shows ---------------------------------------

    // MessageLabel.
    virtual void setMessage(const QString &text) = 0;
    // After each frame: how far the current step has got (the window's
    // Meter, MeterLine and MeterLabel).
    virtual void setMeter(const MeterReading &meter) = 0;
    // A modal warning box with an OK button (a line on a terminal).
    virtual void showWarning(const QString &title, const QString &text) = 0;
    // See the class comment: the view destroys itself and the engine. A
    // front end without a window takes it as the engine giving up.
    virtual void unloadWindow() = 0;

    // --- What the status replies showed --------------------------------------
    // A front end that shows none of it (a write alone) leaves these be;
    // one that does usually keeps a UnitStatus.

    // ChSelect(channel) coloured as the active channel (orange) or back to
    // the button face colour; channel 0..7.
    virtual void setChannelLit(int channel, bool lit) { (void)channel, (void)lit; }
    // HposiLabel / VposiLabel, as the operator reads them.
    virtual void setHorizontalPosition(int value) { (void)value; }
    virtual void setVerticalPosition(int value) { (void)value; }
    // The black and white level lists, index 0..3.
    virtual void setBlackLevel(int index) { (void)index; }
    virtual void setWhiteLevel(int index) { (void)index; }
    // VideoLoss(input) red when lost, white when the input has a signal;
    // input 0..7.
    virtual void setVideoLoss(int input, bool lost) { (void)input, (void)lost; }
    // The reply to status query `cmdKind` held a value the device cannot
    // report, so nothing was shown for it (for the levels: not for the
    // level that is out of range).
    virtual void replyGarbled(Cmd cmdKind) { (void)cmdKind; }

    // --- What only a window needs ----------------------------------------------
    // Without a window there is no button and nothing hidden.

    // The write button "書込".
    virtual void setWriteEnabled(bool enabled) { (void)enabled; }
    // Moves the keyboard focus to the write button; may fail silently.
    virtual void focusWriteButton() {}
    // The engine runs nothing while its window is hidden.
    virtual bool isVisible() const { return true; }

    // --- The ends of operations ------------------------------------------------

    // An operation ran to its end; windows need not care, the command-line
    // tool waits for it.
    virtual void operationEnded(Request reqNo) { (void)reqNo; }
    // A bulk write ended, however it ended (also when it was refused or
    // abandoned): what was asked, what the device acknowledged to the end,
    // and the hashes of the completed channels. Comes before the warning
    // of a failure, and before operationEnded of a write that ran through.
    // The window hands it to its TransferRecorder, the CLI prints it.
    virtual void bulkWriteFinished(const TransferRecord &report) { (void)report; }
};
