#include "LineLog.h"

#include "core/ReadableFile.h"
#include "core/SaveTarget.h"
#include "core/UserFolders.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QLockFile>
#endif

namespace {

// Another writer holds the lock only while it appends (and now and then
// trims); one that keeps it this long is stuck.
constexpr int LockWaitMs = 5000;

QString cannotWrite(const QString &path, const QString &why)
{
    return QStringLiteral("%1 に書き込めません: %2").arg(QDir::toNativeSeparators(path), why);
}

// Where to start reading the newest `limit` bytes of a file `size` bytes
// long: one byte early, so that a line starting right at the bound is
// known to be whole (the byte before it is a line end).
qint64 tailStart(qint64 size, qint64 limit)
{
    return qMax<qint64>(0, size - limit - 1);
}

// `bytes` from the first line start on, when they were read from the middle
// of the file (from tailStart()).
QByteArray wholeLines(const QByteArray &bytes, bool fromMiddle)
{
    if (!fromMiddle)
        return bytes;
    const qsizetype end = bytes.indexOf('\n');
    return end < 0 ? QByteArray() : bytes.mid(end + 1);
}

// The newest `maxLines` lines of `lines`.
QByteArray newest(const QByteArray &lines, int maxLines)
{
    qsizetype count = lines.count('\n');
    qsizetype from = 0;
    for (; count > maxLines; --count)
        from = lines.indexOf('\n', from) + 1;
    return lines.mid(from);
}

// Writes the file again with only its newest lines when it has grown past
// them. The caller holds the lock; the file is replaced whole, so a reader
// sees either the old or the new file.
QString trim(const QString &path, const QByteArray &tail, bool fromMiddle, int maxLines)
{
    const QByteArray lines = wholeLines(tail, fromMiddle);
    if (!fromMiddle && lines.count('\n') <= maxLines)
        return {};
    const QByteArray kept = newest(lines, maxLines);
    const SaveTarget::Result saved = SaveTarget::save(path, [&kept](QIODevice &out) {
        return out.write(kept) == kept.size();
    });
    return saved.ok ? QString() : saved.message();
}

#ifdef Q_OS_UNIX
QString systemWords(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

class Descriptor
{
public:
    Descriptor() = default;
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor() { reset(-1); }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd); // also releases its lock
        m_fd = fd;
    }
    int get() const { return m_fd; }

private:
    int m_fd = -1;
};

// Whether `name` still names the file open on `fd`: a writer that trimmed
// the log while this one waited for the lock has put a new file there.
bool stillNamed(int fd, const QByteArray &name)
{
    struct stat open = {}, named = {};
    return ::fstat(fd, &open) == 0 && ::stat(name.constData(), &named) == 0 && open.st_dev == named.st_dev
           && open.st_ino == named.st_ino;
}

// The bytes at the end of a file `size` bytes long from tailStart() on.
QByteArray readTail(int fd, qint64 size, qint64 limit)
{
    const qint64 from = tailStart(size, limit);
    QByteArray bytes(size - from, Qt::Uninitialized);
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(bytes.size() - done), off_t(from + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}
#endif

} // namespace

QString LineLog::notRegular(const QString &path)
{
    return QStringLiteral("%1 は通常のファイルではありません").arg(QDir::toNativeSeparators(path));
}

QString LineLog::append(const QByteArray &line) const
{
    const QString folderProblem = UserFolders::makeWritableFolder(QFileInfo(m_path).absolutePath());
    if (!folderProblem.isEmpty())
        return folderProblem;
    if (!ReadableFile::refusal(m_path).isEmpty())
        return notRegular(m_path);
    QByteArray record = line + '\n';
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(m_path);
    const QDeadlineTimer deadline(LockWaitMs);
    Descriptor fd;
    for (;;) {
        // Without O_NONBLOCK a pipe put in the log's place since the check
        // would hold the open up until some reader came.
        fd.reset(::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644));
        if (fd.get() < 0) {
            const int error = errno;
            return error == ENXIO || error == EISDIR ? notRegular(m_path) : cannotWrite(m_path, systemWords(error));
        }
        struct stat info = {};
        if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
            return notRegular(m_path);
        int lockError = 0;
        while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            lockError = errno;
            if ((lockError != EWOULDBLOCK && lockError != EINTR) || deadline.hasExpired())
                break;
            lockError = 0;
            QThread::msleep(2);
        }
        if (lockError == EWOULDBLOCK || lockError == EINTR)
            return QStringLiteral("%1 はほかのプログラムが書き込み中です").arg(QDir::toNativeSeparators(m_path));
        if (lockError != 0)
            return cannotWrite(m_path, systemWords(lockError));
        if (stillNamed(fd.get(), name))
            break;
    }

    struct stat info = {};
    if (::fstat(fd.get(), &info) != 0)
        return cannotWrite(m_path, systemWords(errno));
    // A line cut short (a program stopped while writing) must not swallow
    // the new record.
    char last = '\n';
    if (info.st_size > 0 && ::pread(fd.get(), &last, 1, info.st_size - 1) == 1 && last != '\n')
        record.prepend('\n');
    ssize_t written;
    do
        written = ::write(fd.get(), record.constData(), size_t(record.size()));
    while (written < 0 && errno == EINTR);
    if (written != record.size()) {
        const int error = written < 0 ? errno : ENOSPC;
        // Half a record would spoil the line the next writer adds; should
        // even this fail, the error below is still what the operator needs.
        const int undone = ::ftruncate(fd.get(), info.st_size);
        (void)undone;
        return cannotWrite(m_path, systemWords(error));
    }
    const qint64 size = qint64(info.st_size) + record.size();
    return trim(m_path, readTail(fd.get(), size, m_readLimit), tailStart(size, m_readLimit) > 0, m_maxLines);
#else
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(LockWaitMs))
        return cannotWrite(m_path, QStringLiteral("ロックできません"));
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite))
        return cannotWrite(m_path, file.errorString());
    const qint64 size = file.size();
    const qint64 from = tailStart(size, m_readLimit);
    file.seek(from);
    QByteArray tail = file.read(m_readLimit + 1);
    if (!tail.isEmpty() && !tail.endsWith('\n'))
        record.prepend('\n');
    file.seek(size);
    if (file.write(record) != record.size() || !file.flush())
        return cannotWrite(m_path, file.errorString());
    file.close();
    return trim(m_path, tail + record, from > 0, m_maxLines);
#endif
}

LineLog::Contents LineLog::read() const
{
    Contents contents;
    if (!QFileInfo::exists(m_path))
        return contents;
    QFile file;
    const ReadableFile::Opened opened = ReadableFile::open(m_path, file);
    if (!opened.ok()) {
        contents.error = opened.notRegular
                             ? notRegular(m_path)
                             : QStringLiteral("%1 を読めません: %2").arg(QDir::toNativeSeparators(m_path), opened.error);
        return contents;
    }
    const qint64 from = tailStart(file.size(), m_readLimit);
    if (from > 0)
        file.seek(from);
    contents.lines = wholeLines(file.read(m_readLimit + 1), from > 0);
    return contents;
}
