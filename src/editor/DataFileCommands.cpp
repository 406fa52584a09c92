#include "DataFileCommands.h"

#include "DialogFolder.h"
#include "EditFormUi.h"

#include "core/ReadableFile.h"
#include "document/TitleDocument.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"

#include <QMimeData>
#include <QUrl>
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

namespace {
const QString DataFileFilter = QStringLiteral("zvx ﾌｧｲﾙ(*.zvx)|*.zvx|");
const QString DataFileExtension = QStringLiteral(".zvx");
const QString FileErrorTitle = QStringLiteral("ファイルエラー");
const QString OpenTitle = QStringLiteral("データファイルを開く");
const QString SaveTitle = QStringLiteral("データファイルの保存");
const QString SaveQuestion = QStringLiteral("変更を保存しますか？");
} // namespace

DataFileCommands::DataFileCommands(TitleDocument &document, QWidget &window, QMenu &recentMenu,
                                   FileDialogs &fileDialogs, MessageBoxes &messageBoxes,
                                   const QString &programFolder)
    : QObject(&window)
    , m_document(document)
    , m_window(window)
    , m_recentMenu(recentMenu)
    , m_fileDialogs(fileDialogs)
    , m_messageBoxes(messageBoxes)
    , m_programFolder(programFolder)
{
    updateRecentMenu();
}

bool DataFileCommands::settleUnsavedWork()
{
    return !m_document.isModified() || m_messageBoxes.settleUnsavedWork(&m_window, EditFormUi::Caption, SaveQuestion,
                                                                        [this] { return saveFile(); });
}

void DataFileCommands::openFile()
{
    if (!settleUnsavedWork())
        return;
    const QString name =
        m_fileDialogs.openFileName(&m_window, OpenTitle, DataFileFilter, dialogFolder(), DataFileExtension);
    if (name.isEmpty())
        return;
    loadDataFile(name);
}

bool DataFileCommands::openDataFile(const QString &fileName)
{
    return !refused(fileName) && settleUnsavedWork() && loadDataFile(fileName);
}

bool DataFileCommands::refused(const QString &fileName)
{
    // Asking about unsaved work first would be a question for nothing.
    const QString why = ReadableFile::refusal(fileName);
    if (why.isEmpty())
        return false;
    // Said as the reader says it, so every way of opening reads alike.
    ZvxReadResult result;
    result.error = ZvxReadResult::Error::NotRegularFile;
    result.fileName = fileName;
    result.systemMessage = why;
    fileError(result.message());
    return true;
}

bool DataFileCommands::loadDataFile(const QString &fileName)
{
    const ZvxReadResult result = m_document.open(fileName);
    if (!result.ok()) {
        fileError(result.message());
        return false;
    }
    fileUsed(fileName);
    // Told once the title is on screen, so the operator can see what changed.
    if (const QString notice = result.notice(); !notice.isEmpty())
        m_messageBoxes.warning(&m_window, OpenTitle, notice);
    return true;
}

bool DataFileCommands::saveFile()
{
    if (m_document.lastFileName().isEmpty())
        return saveFileAs();
    return saveTo(m_document.dataFileName());
}

bool DataFileCommands::saveFileAs()
{
    QString name = m_fileDialogs.saveFileName(&m_window, SaveTitle, DataFileFilter, dialogFolder(), DataFileExtension);
    if (name.isEmpty())
        return false;
    // Case-sensitive on purpose: "TITLE.ZVX" becomes "TITLE.ZVX.zvx".
    if (!name.endsWith(DataFileExtension, Qt::CaseSensitive))
        name += DataFileExtension;
    return saveTo(name);
}

bool DataFileCommands::saveTo(const QString &fileName)
{
    const ZvxWriteResult result = m_document.save(fileName);
    if (!result.ok) {
        fileError(result.message());
        return false;
    }
    fileUsed(fileName);
    return true;
}

void DataFileCommands::fileUsed(const QString &fileName)
{
    m_recentFiles.add(fileName);
    updateRecentMenu();
}

QString DataFileCommands::dialogFolder() const
{
    return DialogFolder::start(m_recentFiles.lastFolder(), m_programFolder);
}

void DataFileCommands::updateRecentMenu()
{
    m_recentMenu.clear();
    const QStringList files = m_recentFiles.files();
    for (int i = 0; i < files.size(); ++i) {
        const QString &file = files[i];
        QAction *item =
            m_recentMenu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(file)));
        connect(item, &QAction::triggered, this, [this, file] { openRecentFile(file); });
    }
    m_recentMenu.setEnabled(!files.isEmpty());
}

void DataFileCommands::openRecentFile(const QString &fileName)
{
    if (refused(fileName) || !settleUnsavedWork())
        return;
    if (!QFileInfo::exists(fileName)) {
        // A file that is gone cannot come back through the list.
        m_recentFiles.remove(fileName);
        updateRecentMenu();
    }
    loadDataFile(fileName);
}

void DataFileCommands::fileError(const QString &message)
{
    m_messageBoxes.warning(&m_window, FileErrorTitle, message);
}

void DataFileCommands::openDataFileLater(const QString &fileName)
{
    // Posted to the window, whose events the caller's loop is running.
    QMetaObject::invokeMethod(
        &m_window, [this, fileName] { openDataFile(fileName); }, Qt::QueuedConnection);
}

QString DataFileCommands::droppedDataFile(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QString path = mime->urls().constFirst().toLocalFile();
    return path.endsWith(DataFileExtension, Qt::CaseInsensitive) ? path : QString();
}
