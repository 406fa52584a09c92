#include "TransferLog.h"

#include "core/SaveTarget.h"
#include "core/UserFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace {

// The editor and the tool may finish writes at the same moment; one of
// them waits this long for the other's append.
constexpr int LockWaitMs = 5000;

} // namespace

QString TransferLog::defaultPath()
{
    return UserFolders::state() + u'/' + FileName;
}

QString TransferLog::append(const TransferRecord &record) const
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create the folder %1").arg(folder);
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(LockWaitMs))
        return QStringLiteral("%1 is locked by another program").arg(m_path);

    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite))
        return QStringLiteral("cannot write %1: %2").arg(m_path, file.errorString());
    QByteArray contents = file.readAll();
    // A line cut short (a program stopped while writing) must not swallow
    // the new record.
    QByteArray line = record.toJson() + '\n';
    if (!contents.isEmpty() && !contents.endsWith('\n'))
        line.prepend('\n');
    if (file.write(line) != line.size() || !file.flush())
        return QStringLiteral("cannot write %1: %2").arg(m_path, file.errorString());
    file.close();

    contents += line;
    qsizetype lines = contents.count('\n');
    if (lines <= MaxLines)
        return {};
    qsizetype from = 0;
    for (; lines > MaxLines; --lines)
        from = contents.indexOf('\n', from) + 1;
    const SaveTarget::Result saved = SaveTarget::save(m_path, [&](QIODevice &out) {
        return out.write(contents.constData() + from, contents.size() - from) == contents.size() - from;
    });
    return saved.ok ? QString() : saved.message();
}

TransferLog::Contents TransferLog::read() const
{
    Contents contents;
    QFile file(m_path);
    if (!file.exists())
        return contents;
    if (!file.open(QIODevice::ReadOnly)) {
        contents.error = QStringLiteral("cannot read %1: %2").arg(m_path, file.errorString());
        return contents;
    }
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty())
            continue;
        if (auto record = TransferRecord::fromJson(line))
            contents.records << *record;
        else
            ++contents.unreadable;
    }
    return contents;
}
