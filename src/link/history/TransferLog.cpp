#include "TransferLog.h"

#include "core/UserFolders.h"

QString TransferLog::defaultPath()
{
    return UserFolders::state() + u'/' + FileName;
}

QString TransferLog::append(const TransferRecord &record) const
{
    return m_file.append(record.toJson());
}

TransferLog::Contents TransferLog::read() const
{
    const LineLog::Contents file = m_file.read();
    Contents contents;
    contents.error = file.error;
    for (const QByteArray &raw : file.lines.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (auto record = TransferRecord::fromJson(line))
            contents.records << *record;
        else
            ++contents.unreadable;
    }
    return contents;
}
