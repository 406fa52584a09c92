#pragma once

#include "link/LinkView.h"

#include <QStringList>

#include <array>
#include <functional>

// Records everything the engine shows.
class FakeLinkView : public LinkView
{
public:
    void setMessage(const QString &text) override { messages << text; }
    void setMeter(const MeterReading &meter) override { meters << QStringLiteral("%1%").arg(meter.percent()); }
    void setChannelLit(int channel, bool isLit) override { lit[channel] = isLit; }
    void setHorizontalPosition(int value) override { hpos = value; }
    void setVerticalPosition(int value) override { vpos = value; }
    void setBlackLevel(int index) override { black = index; }
    void setWhiteLevel(int index) override { white = index; }
    void setVideoLoss(int input, bool lost) override { videoLoss[input] = lost; }
    void setWriteEnabled(bool enabled) override { writeEnabled = enabled; }
    void focusWriteButton() override { ++focusMoves; }
    bool isVisible() const override { return visible; }
    void showWarning(const QString &title, const QString &text) override
    {
        warningTitles << title;
        warnings << text;
        if (onWarning)
            onWarning();
    }
    void unloadWindow() override { ++unloads; }
    void operationEnded(Request reqNo) override { ended << int(reqNo); }
    void replyGarbled(Cmd cmdKind) override { garbled << cmdKind; }
    void linkNote(const QString &text) override { notes << text; }
    void statusUnknown() override { ++unknowns; }
    void bulkWriteFinished(const TransferRecord &report) override
    {
        writes << report;
        // The report must come before the failure's warning.
        warningsBeforeReport << warnings.size();
    }

    bool visible = true;
    QStringList messages;
    QStringList meters; // each reading's percent, as "23%"
    std::array<bool, 8> lit{};
    std::array<bool, 8> videoLoss{};
    int hpos = -999, vpos = -999, black = -1, white = -1;
    bool writeEnabled = false;
    int focusMoves = 0;
    QStringList warningTitles, warnings;
    std::function<void()> onWarning;
    int unloads = 0;
    QList<int> ended;
    QList<Cmd> garbled;
    QStringList notes;
    int unknowns = 0;
    QList<TransferRecord> writes;
    QList<qsizetype> warningsBeforeReport;
};
