#include "SaveTarget.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace {

// QSaveFile can end with "Unknown error" when the failure came from a flush
// inside commit(); errno still holds what the system said.
QString systemWords(const QSaveFile &file, int savedErrno)
{
    const QString said = file.errorString();
    if (!said.isEmpty() && said != QLatin1String("Unknown error"))
        return said;
    if (savedErrno != 0)
        return QString::fromLocal8Bit(std::strerror(savedErrno));
    return QStringLiteral("書き込みに失敗しました。");
}

} // namespace

QString SaveTarget::Result::message() const
{
    if (ok)
        return {};
    const QString kept = existed ? QStringLiteral("以前のファイルはそのまま残っています。")
                                 : QStringLiteral("ファイルは作られていません。");
    return QStringLiteral("ファイル「%1」を保存できませんでした。\n%2\n%3").arg(fileName, systemMessage, kept);
}

QString SaveTarget::refusal(const QString &fileName)
{
    const QFileInfo info(fileName); // follows links
    if (!info.exists() || info.isFile())
        return {};
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
    return QStringLiteral("通常のファイルではありません（デバイスやパイプなど）。");
}

SaveTarget::Result SaveTarget::save(const QString &fileName, const std::function<bool(QIODevice &)> &write)
{
    Result result;
    result.fileName = fileName;
    result.existed = QFileInfo::exists(fileName);
    const QString refused = refusal(fileName);
    if (!refused.isEmpty()) {
        result.ok = false;
        result.systemMessage = refused;
        return result;
    }

    QSaveFile file(fileName);
    errno = 0;
    // commit() does not notice when the last buffered bytes fail to reach
    // the disk, so they are flushed and checked here first.
    if (!file.open(QIODevice::WriteOnly) || !write(file) || !file.flush() || !file.commit()) {
        const int savedErrno = errno;
        result.ok = false;
        result.systemMessage = systemWords(file, savedErrno);
        file.cancelWriting();
    }
    return result;
}
