#include "BulkWriteReport.h"

#include <iterator>

namespace {

struct OutcomeName
{
    WriteOutcome outcome;
    const char *name;
};

constexpr OutcomeName OutcomeNames[] = {
    {WriteOutcome::Done, "done"},
    {WriteOutcome::TimedOut, "timed-out"},
    {WriteOutcome::PortFailed, "port-failed"},
    {WriteOutcome::Refused, "refused"},
    {WriteOutcome::Abandoned, "abandoned"},
};

} // namespace

QList<int> BulkWriteReport::numbers(const std::array<bool, Title::Channels> &flags)
{
    QList<int> channels;
    for (int ch = 0; ch < Title::Channels; ++ch)
        if (flags[size_t(ch)])
            channels << ch + 1;
    return channels;
}

QList<int> BulkWriteReport::unfinishedChannels() const
{
    std::array<bool, Title::Channels> flags{};
    for (size_t ch = 0; ch < flags.size(); ++ch)
        flags[ch] = asked[ch] && !completed[ch];
    return numbers(flags);
}

QString BulkWriteReport::outcomeName(WriteOutcome outcome)
{
    for (const OutcomeName &entry : OutcomeNames)
        if (entry.outcome == outcome)
            return QString::fromLatin1(entry.name);
    return {};
}

bool BulkWriteReport::outcomeFromName(const QString &name, WriteOutcome &outcome)
{
    for (const OutcomeName &entry : OutcomeNames) {
        if (name == QLatin1String(entry.name)) {
            outcome = entry.outcome;
            return true;
        }
    }
    return false;
}

QString BulkWriteReport::channelList(const QList<int> &channels)
{
    QStringList parts;
    for (int ch : channels)
        parts << QString::number(ch);
    return parts.join(u',');
}
