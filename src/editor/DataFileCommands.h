#pragma once

#include "RecentFiles.h"

#include <QObject>
#include <QString>

class QMimeData;
class FileDialogs;
class MessageBoxes;
class QMenu;
class QWidget;
class TitleDocument;

// The data file commands of the editor's file menu: "開く(&O)", "保存(&S)",
// "名前を付けて保存", the recent files, and the question about unsaved work
// that comes before anything would lose it. Dialogs and boxes open over
// `window`; the reading and writing is the document's.
class DataFileCommands : public QObject
{
    Q_OBJECT

public:
    // `programFolder` is where the dialogs start before any file was used.
    DataFileCommands(TitleDocument &document, QWidget &window, QMenu &recentMenu, FileDialogs &fileDialogs,
                     MessageBoxes &messageBoxes, const QString &programFolder);

    void openFile();
    // The saves return whether the title was written (false when cancelled
    // or failed).
    bool saveFile();
    bool saveFileAs();
    // Opens `fileName` as "開く" does after its dialog: from the command
    // line, a drop or the recent files. Asks about unsaved work first and
    // shows the file error box when the file cannot be read.
    bool openDataFile(const QString &fileName);
    // The same once the event loop gets to it: for a file given at start-up,
    // which must not keep the window from being drawn, and for a drop, whose
    // sender would wait for the question about unsaved work.
    void openDataFileLater(const QString &fileName);
    // The one local data file among dropped URLs, or nothing.
    static QString droppedDataFile(const QMimeData *mime);
    // Asks "変更を保存しますか？" when the title has unsaved changes; true when
    // the caller may go on (saved or discarded, or nothing to ask).
    bool settleUnsavedWork();
    // The folder the file dialogs start in.
    QString dialogFolder() const;

private:
    // Tells why `fileName` is not read when it is not a regular file.
    bool refused(const QString &fileName);
    bool loadDataFile(const QString &fileName);
    bool saveTo(const QString &fileName);
    void fileError(const QString &message);
    void fileUsed(const QString &fileName);
    void updateRecentMenu();
    void openRecentFile(const QString &fileName);

    TitleDocument &m_document;
    QWidget &m_window;
    QMenu &m_recentMenu;
    FileDialogs &m_fileDialogs;
    MessageBoxes &m_messageBoxes;
    QString m_programFolder;
    RecentFiles m_recentFiles;
};
