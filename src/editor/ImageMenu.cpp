#include "ImageMenu.h"

#include "DialogFolder.h"

#include "core/CharacterImage.h"
#include "core/CharacterImport.h"
#include "core/ImageFile.h"
#include "document/TitleDocument.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {
const QString PngFilter = QStringLiteral("PNG ﾌｧｲﾙ(*.png)|*.png|");
const QString PngExtension = QStringLiteral(".png");
const QString FileErrorTitle = QStringLiteral("ファイルエラー");
} // namespace

ImageMenu::ImageMenu(TitleDocument &document, QWidget &window, QMenu &fileMenu, QAction *before,
                     FileDialogs &fileDialogs, MessageBoxes &messageBoxes, const QString &programFolder)
    : QObject(&window)
    , m_document(document)
    , m_window(window)
    , m_fileDialogs(fileDialogs)
    , m_messageBoxes(messageBoxes)
    , m_programFolder(programFolder)
{
    m_menu = new QMenu(QStringLiteral("画像"), &fileMenu);
    m_exportSheet = m_menu->addAction(QStringLiteral("文字セットを書き出し…"));
    m_importSheet = m_menu->addAction(QStringLiteral("文字セットを読み込み…"));
    m_importBlock = m_menu->addAction(QStringLiteral("ブロックを読み込み…"));
    m_menu->addSeparator();
    m_exportPage = m_menu->addAction(QStringLiteral("画面を書き出し…"));
    m_colourBars = m_menu->addAction(QStringLiteral("カラーバーに重ねる"));
    m_colourBars->setCheckable(true);
    fileMenu.insertMenu(before, m_menu);
    fileMenu.insertSeparator(before);

    connect(m_exportSheet, &QAction::triggered, this, &ImageMenu::exportSheet);
    connect(m_importSheet, &QAction::triggered, this, &ImageMenu::importSheet);
    connect(m_importBlock, &QAction::triggered, this, &ImageMenu::importBlock);
    connect(m_exportPage, &QAction::triggered, this, &ImageMenu::exportPage);
}

void ImageMenu::exportSheet()
{
    save(CharacterImage::sheet(m_document.data()), QStringLiteral("文字セットを書き出し"));
}

void ImageMenu::exportPage()
{
    const auto background = m_colourBars->isChecked() ? CharacterImage::Background::ColourBars
                                                      : CharacterImage::Background::Grey;
    const TitleData &data = m_document.data();
    save(CharacterImage::page(data, data.ChNo, background), QStringLiteral("画面を書き出し"));
}

void ImageMenu::importSheet()
{
    importCharacters(QStringLiteral("文字セットを読み込み"), CharacterLayout::sheet());
}

void ImageMenu::importBlock()
{
    importCharacters(QStringLiteral("ブロックを読み込み"), CharacterLayout::block(m_document.currentBlock()));
}

void ImageMenu::save(const QImage &image, const QString &title)
{
    const QString name = m_fileDialogs.saveFileName(&m_window, title, PngFilter, startFolder(), PngExtension);
    if (name.isEmpty())
        return;
    remember(name);
    const QString why = ImageFile::savePng(image, name);
    if (!why.isEmpty())
        fail(why);
}

void ImageMenu::importCharacters(const QString &title, const CharacterLayout &layout)
{
    const QString name = m_fileDialogs.openFileName(&m_window, title, PngFilter, startFolder(), PngExtension);
    if (name.isEmpty())
        return;
    remember(name);
    QImage image;
    QString why = ImageFile::load(name, image);
    if (!why.isEmpty()) {
        fail(why);
        return;
    }
    const PatternImport patterns = CharacterImport::read(image, m_document.data(), layout);
    if (!patterns.ok()) {
        fail(patterns.error);
        return;
    }
    m_document.importPatterns(patterns.firstCode, patterns.patterns, title);
}

void ImageMenu::fail(const QString &message)
{
    m_messageBoxes.warning(&m_window, FileErrorTitle, message);
}

QString ImageMenu::startFolder() const
{
    return DialogFolder::start(DialogFolder::lastUsed(), m_programFolder);
}

void ImageMenu::remember(const QString &fileName)
{
    DialogFolder::remember(fileName);
}
