#include "FarWrites.h"

namespace FarWrites {

std::optional<TransferRecord> unsettled(const QList<TransferRecord> &records, const QString &port)
{
    for (auto it = records.crbegin(); it != records.crend(); ++it) {
        if (it->port != port)
            continue;
        if (it->id.isEmpty() || it->outcome == WriteOutcome::Done || it->program == FarProgram)
            return std::nullopt;
        return *it;
    }
    return std::nullopt;
}

void settle(const TransferLog &log, const TransferRecord &broken, const std::optional<TransferRecord> &far)
{
    if (!far)
        return;
    TransferRecord record = *far;
    record.port = broken.port;
    record.id = broken.id;
    record.program = FarProgram;
    if (!record.time.isValid())
        record.time = QDateTime::currentDateTime();
    log.append(record);
}

} // namespace FarWrites
