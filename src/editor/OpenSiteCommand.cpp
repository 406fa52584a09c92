#include "OpenSiteCommand.h"

#include "DataFileCommands.h"
#include "DialogFolder.h"

#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "siteui/SiteWindow.h"

#include <QCheckBox>
#include <QLineEdit>

OpenSiteCommand::OpenSiteCommand(DataFileCommands &files, FileDialogs &fileDialogs, MessageBoxes &messageBoxes,
                                 QLineEdit &textBox, QCheckBox &edging, const QString &workFolder, QWidget &window)
    : m_files(files), m_fileDialogs(fileDialogs), m_messageBoxes(messageBoxes), m_textBox(textBox), m_edging(edging),
      m_workFolder(workFolder), m_window(window)
{
}

void OpenSiteCommand::open()
{
    // Closing the open site would abandon its writes.
    if (m_site && m_site->writing()) {
        m_messageBoxes.warning(m_site, QStringLiteral("サイト"),
                               QStringLiteral("書込中です。書込が終わってから別のサイトを開いてください。"));
        m_site->raise();
        m_site->activateWindow();
        return;
    }
    const QString fileName = m_fileDialogs.openFileName(
        &m_window, QStringLiteral("サイトを開く"), QStringLiteral("CSV ﾌｧｲﾙ(*.csv)|*.csv|すべてのﾌｧｲﾙ(*.*)|*.*|"),
        m_files.dialogFolder(), QStringLiteral(".csv"));
    if (fileName.isEmpty())
        return;
    DialogFolder::remember(fileName);
    if (m_site)
        m_site->close();
    SiteWindow *site = SiteWindow::open(fileName, m_messageBoxes, &m_window);
    if (!site)
        return;
    site->setMakeSettings([this] {
        TitlesMake::Settings settings;
        settings.font = m_textBox.font();
        settings.edging = m_edging.isChecked();
        settings.workFolder = m_workFolder;
        return settings;
    });
    QObject::connect(site, &SiteWindow::titleRequested, &m_files, [this](const QString &file) {
        if (m_files.openDataFile(file)) {
            m_window.raise();
            m_window.activateWindow();
        }
    });
    m_site = site;
}
