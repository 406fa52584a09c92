#pragma once

#include "link/LinkView.h"

#include <QList>
#include <QString>
#include <QTextStream>

#include <array>
#include <functional>
#include <optional>

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
    void setChannelLit(int channel, bool lit) override;
    void setHorizontalPosition(int value) override { hpos = value; }
    void setVerticalPosition(int value) override { vpos = value; }
    void setBlackLevel(int index) override { black = index; }
    void setWhiteLevel(int index) override { white = index; }
    void setVideoLoss(int input, bool lost) override
    {
        videoLoss[input] = lost;
        videoLossKnown = true;
    }
    void replyGarbled(Cmd cmdKind) override { garbled << cmdKind; }
    void setWriteEnabled(bool) override {}
    void focusWriteButton() override {}
    bool isVisible() const override { return true; }
    void showWarning(const QString &title, const QString &text) override;
    void unloadWindow() override;
    void operationEnded(Request reqNo) override;
    void bulkWriteFinished(const TransferRecord &report) override
    {
        if (m_onWriteFinished)
            m_onWriteFinished(report);
    }

    // On stderr, on a line of its own.
    void linkNote(const QString &text) override;
    void statusUnknown() override
    {
        clearStatus();
        unclean = true;
    }

    // Ends the progress line so later output starts on a fresh line.
    void finishLine();
    // Forgets what the status replies showed, so the next poll's answers
    // stand on their own.
    void clearStatus();

    // What the device reported; -1 / unset until a reply said otherwise.
    int channel = -1; // 0..7
    std::optional<int> hpos, vpos;
    int black = -1, white = -1;
    std::array<bool, 8> videoLoss{};
    bool videoLossKnown = false;
    // A poll's answers were not the unit's own (statusUnknown), so nothing
    // above is known.
    bool unclean = false;
    // Command kinds of the status replies that were garbled.
    QList<Cmd> garbled;
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
