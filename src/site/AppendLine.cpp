#include "AppendLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace AppendLine {

QString append(const QString &path, const QByteArray &line)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create the folder %1").arg(folder);
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: a pipe put in the log's place never holds the program up.
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0)
        return QStringLiteral("cannot write %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    const QByteArray bytes = line + '\n';
    ssize_t written;
    do {
        written = ::write(fd, bytes.constData(), size_t(bytes.size()));
    } while (written < 0 && errno == EINTR);
    const int writeError = errno;
    ::close(fd);
    if (written != ssize_t(bytes.size()))
        return QStringLiteral("cannot write %1: %2")
            .arg(path, written < 0 ? QString::fromLocal8Bit(std::strerror(writeError)) : QStringLiteral("short write"));
    return {};
}

} // namespace AppendLine
