#pragma once

#include "link/LinkView.h"
#include "link/UnitStatus.h"

#include <QString>
#include <QTextStream>

#include <functional>

// The device link on a terminal: a progress bar that redraws in place when
// stdout is a terminal, plain message lines otherwise; warnings on stderr.
// Quiet shows only warnings. Keeps what the status replies showed for the
// status command.
class LinkTextView : public LinkView
{
public:
    enum class Mode { Bar, Lines, Quiet };
    LinkTextView(FILE *out, Mode mode);

    // Frames the whole job will send, for a bar over all of it; 0 shows
    // the per-step meter instead.
    void setTotalFrames(int frames) { m_totalFrames = frames; }
    // Called with the report of each bulk write as it ends.
    void setOnWriteFinished(std::function<void(const TransferRecord &)> finished)
    {
        m_onWriteFinished = std::move(finished);
    }
    // Called when the engine ends an operation or gives up.
    void setOnDone(std::function<void()> done) { m_onDone = std::move(done); }

    void setMessage(const QString &text) override;
    void setMeter(const MeterReading &meter) override;
    void setChannelLit(int channel, bool lit) override { status.showChannel(channel, lit); }
    void setHorizontalPosition(int value) override { status.hpos = value; }
    void setVerticalPosition(int value) override { status.vpos = value; }
    void setBlackLevel(int index) override { status.black = index; }
    void setWhiteLevel(int index) override { status.white = index; }
    void setVideoLoss(int input, bool lost) override { status.showVideoLoss(input, lost); }
    void replyGarbled(Cmd cmdKind) override { status.garbled << cmdKind; }
    void showWarning(const QString &title, const QString &text) override;
    void unloadWindow() override;
    void operationEnded(Request reqNo) override;
    void bulkWriteFinished(const TransferRecord &report) override
    {
        if (m_onWriteFinished)
            m_onWriteFinished(report);
    }

    // Ends the progress line so later output starts on a fresh line.
    void finishLine();
    // Forgets what the status replies showed, so the next poll's answers
    // stand on their own.
    void clearStatus() { status = UnitStatus(); }

    // What the status replies showed, and which were garbled.
    UnitStatus status;
    bool ended = false;
    bool failed = false;
    QString lastMessage;

private:
    void drawBar();

    QTextStream m_out;
    QTextStream m_err;
    Mode m_mode;
    bool m_lineOpen = false;
    int m_totalFrames = 0;
    int m_framesSent = 0;
    int m_stepPercent = 0;
    std::function<void()> m_onDone;
    std::function<void(const TransferRecord &)> m_onWriteFinished;
};
