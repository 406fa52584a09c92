#pragma once

#include "link/history/TransferLog.h"
#include "link/history/TransferRecord.h"

#include <QList>

#include <optional>

// Writes run by a far computer's engine, as this computer's transfer log
// knows them. A write whose session broke is logged here with nothing
// completed and its id; the far computer's own log knows what it did. Its
// record, once asked for, joins this log under this computer's address,
// so --changed and the resume offer decide on what the unit really holds.
namespace FarWrites {

// The program name the far side stamps on its records.
inline const QString FarProgram = QStringLiteral("orvex serve");

// The newest record of `port` in `records` (oldest first) when it is a far
// write that did not end here as done and has not been settled from the
// far computer's log since.
std::optional<TransferRecord> unsettled(const QList<TransferRecord> &records, const QString &port);

// Adds the far computer's record of `broken` (`far`, named by `broken`'s
// port) to `log`; when the far computer has none, a write that never
// reached the unit's line, nothing is added and `broken` stands.
void settle(const TransferLog &log, const TransferRecord &broken, const std::optional<TransferRecord> &far);

} // namespace FarWrites
