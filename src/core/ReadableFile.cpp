#include "ReadableFile.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString notRegular()
{
    return QStringLiteral("通常のファイルではありません。");
}

#ifdef Q_OS_UNIX
// What the file is when it is not a regular file, as the operator knows it.
QString kindRefusal(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("フォルダーです。");
    if (S_ISFIFO(mode))
        return QStringLiteral("通常のファイルではなく、名前付きパイプ（FIFO）です。"
                              "開くと書き込む側を待ち続けてしまいます。");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("通常のファイルではなく、デバイスです。");
    if (S_ISSOCK(mode))
        return QStringLiteral("通常のファイルではなく、ソケットです。");
    return notRegular();
}
#endif

} // namespace

QString ReadableFile::refusal(const QString &fileName)
{
#ifdef Q_OS_UNIX
    struct stat info = {};
    // stat() follows links and never opens the file.
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return {};
    return kindRefusal(info.st_mode);
#else
    const QFileInfo info(fileName);
    if (!info.exists() || info.isFile())
        return {};
    return info.isDir() ? QStringLiteral("フォルダーです。") : notRegular();
#endif
}

ReadableFile::Opened ReadableFile::open(const QString &fileName, QFile &file)
{
    const QString refused = refusal(fileName);
    if (!refused.isEmpty())
        return {refused, true};
#ifdef Q_OS_UNIX
    // Without O_NONBLOCK, opening a pipe that appeared since the check would
    // wait for a writer; with it, open() returns at once whatever the file is.
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {qt_error_string(errno)};
    struct stat info = {};
    Opened failed;
    if (::fstat(fd, &info) != 0)
        failed = {qt_error_string(errno)};
    else if (!S_ISREG(info.st_mode))
        failed = {kindRefusal(info.st_mode), true};
    if (!failed.ok()) {
        ::close(fd);
        return failed;
    }
    // Regular files never block; reads go back to the ordinary mode.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(fileName);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {file.errorString()};
    }
    return {};
#else
    file.setFileName(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {file.errorString()};
    return {};
#endif
}
