#pragma once

#include <QObject>
#include <QString>

class FileDialogs;
class MessageBoxes;
class QAction;
class QImage;
class QMenu;
class QWidget;
class TitleDocument;
struct CharacterLayout;

// The "画像" submenu of the editor's file menu: characters and the current
// page out to PNG pictures, and characters back in from pictures drawn or
// changed in a paint program.
class ImageMenu : public QObject
{
    Q_OBJECT

public:
    // Adds the submenu to `fileMenu` just above `before`. The pictures are
    // those of `document`; dialogs and boxes open over `window`, starting
    // in the folder used last by any file dialog (`programFolder` before).
    ImageMenu(TitleDocument &document, QWidget &window, QMenu &fileMenu, QAction *before, FileDialogs &fileDialogs,
              MessageBoxes &messageBoxes, const QString &programFolder);

    QMenu *menu() const { return m_menu; }
    QAction *exportSheetAction() const { return m_exportSheet; }
    QAction *importSheetAction() const { return m_importSheet; }
    QAction *importBlockAction() const { return m_importBlock; }
    QAction *exportPageAction() const { return m_exportPage; }
    // Whether the page picture shows colour bars through transparent dots.
    QAction *colourBarsAction() const { return m_colourBars; }

    void exportSheet();
    void importSheet();
    void importBlock();
    void exportPage();

private:
    void importCharacters(const QString &title, const CharacterLayout &layout);
    void save(const QImage &image, const QString &title);
    void fail(const QString &message);
    QString startFolder() const;
    void remember(const QString &fileName);

    TitleDocument &m_document;
    QWidget &m_window;
    FileDialogs &m_fileDialogs;
    MessageBoxes &m_messageBoxes;
    QString m_programFolder;

    QMenu *m_menu = nullptr;
    QAction *m_exportSheet = nullptr;
    QAction *m_importSheet = nullptr;
    QAction *m_importBlock = nullptr;
    QAction *m_exportPage = nullptr;
    QAction *m_colourBars = nullptr;
};
