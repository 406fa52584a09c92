#include "ChangedChannels.h"

#include "ChannelFrames.h"

#include <optional>

namespace ChangedChannels {

namespace {

// What `record` says the unit holds for channel `ch` (1..8): the hash of a
// completed write, an unknown state, or nothing (the record did not touch
// the channel).
struct Touch
{
    bool touched = false;
    QByteArray sha256; // empty: broken off
};

Touch touchOf(const TransferRecord &record, int ch)
{
    const size_t index = size_t(ch - 1);
    if (!record.asked[index] || record.outcome == WriteOutcome::Refused)
        return {};
    if (record.completed[index])
        return {true, record.sha256[index]};
    // Channels go out in order: the first unfinished one is where the write
    // broke off; those after it were never started.
    for (size_t earlier = 0; earlier < index; ++earlier)
        if (record.asked[earlier] && !record.completed[earlier])
            return {};
    return {true, {}};
}

} // namespace

std::array<State, Title::Channels> compare(const TitleData &data, const QList<TransferRecord> &records,
                                           const QString &port)
{
    std::array<State, Title::Channels> states;
    states.fill(State::NeverWritten);
    for (int ch = 1; ch <= Title::Channels; ++ch) {
        for (auto it = records.crbegin(); it != records.crend(); ++it) {
            if (it->port != port)
                continue;
            const Touch touch = touchOf(*it, ch);
            if (!touch.touched)
                continue;
            if (touch.sha256.isEmpty())
                states[size_t(ch - 1)] = State::Unfinished;
            else
                states[size_t(ch - 1)] =
                    touch.sha256 == ChannelFrames::sha256(data, ch - 1) ? State::Same : State::Changed;
            break;
        }
    }
    return states;
}

QList<int> toSend(const std::array<State, Title::Channels> &states)
{
    QList<int> channels;
    for (int ch = 0; ch < Title::Channels; ++ch)
        if (states[size_t(ch)] != State::Same)
            channels << ch + 1;
    return channels;
}

} // namespace ChangedChannels
