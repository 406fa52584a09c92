#pragma once

#include "siteui/SiteWindow.h"

#include <QPointer>
#include <QString>

class DataFileCommands;
class FileDialogs;
class MessageBoxes;
class QCheckBox;
class QLineEdit;
class QWidget;

// "サイトを開く…": a camera schedule chosen in the file dialog opens in the
// site window, one site at a time. A unit double-clicked there opens in the
// editor as "開く" opens a file, and the site's titles are made with the
// editor's font and edging.
class OpenSiteCommand
{
public:
    OpenSiteCommand(DataFileCommands &files, FileDialogs &fileDialogs, MessageBoxes &messageBoxes, QLineEdit &textBox,
                    QCheckBox &edging, const QString &workFolder, QWidget &window);

    void open();

private:
    DataFileCommands &m_files;
    FileDialogs &m_fileDialogs;
    MessageBoxes &m_messageBoxes;
    QLineEdit &m_textBox;
    QCheckBox &m_edging;
    QString m_workFolder;
    QWidget &m_window;
    QPointer<SiteWindow> m_site;
};
