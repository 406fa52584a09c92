#include "MonitorWindow.h"

#include "DialogFolder.h"
#include "MonitorStills.h"
#include "MonitorTile.h"

#include "core/ImageFile.h"
#include "core/MonitorPicture.h"
#include "document/TitleDocument.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString StillFilter = QStringLiteral("画像ﾌｧｲﾙ (*.png *.jpg *.jpeg)|*.png;*.jpg;*.jpeg|");
constexpr int MonitorColumns = 4;

// The still as the page's size: cropped to cover it, like a monitor.
QImage fittedStill(const QImage &picture)
{
    QImage fitted(MonitorPicture::PageDots::Width, MonitorPicture::PageDots::Height, QImage::Format_RGB32);
    MonitorPicture::paintVideo(fitted, picture);
    return fitted;
}
} // namespace

MonitorWindow::MonitorWindow(TitleDocument &document, MonitorStills &stills, FileDialogs &fileDialogs,
                             MessageBoxes &messageBoxes, const QString &firstFolder, QWidget *owner)
    : QWidget(owner, Qt::Window), m_document(document), m_stills(stills), m_fileDialogs(fileDialogs),
      m_messageBoxes(messageBoxes), m_firstFolder(firstFolder)
{
    setObjectName(QStringLiteral("MonitorWindow"));
    setWindowTitle(QStringLiteral("8CH-Orvex [モニター]"));
    auto *grid = new QGridLayout(this);
    grid->setSpacing(8);
    for (int ch = 0; ch < Title::Channels; ++ch) {
        buildMonitor(ch);
        auto *cell = new QVBoxLayout;
        auto *header = new QHBoxLayout;
        header->addWidget(m_labels[size_t(ch)]);
        header->addStretch(1);
        header->addWidget(m_stillButtons[size_t(ch)]);
        header->addWidget(m_barsButtons[size_t(ch)]);
        cell->addLayout(header);
        cell->addWidget(m_monitors[size_t(ch)], 1);
        grid->addLayout(cell, ch / MonitorColumns, ch % MonitorColumns);
    }
    // The whole window fits the screen: the monitors shrink rather than
    // leave the screen.
    if (const QScreen *screen = owner ? owner->screen() : nullptr) {
        const QSize room = screen->availableGeometry().size() * 9 / 10;
        resize(sizeHint().boundedTo(room));
    }

    connect(&document, &TitleDocument::cellsChanged, this, [this](int page, const QList<int> &) { markPage(page); });
    connect(&document, &TitleDocument::pagesChanged, this, [this](const QList<int> &pages) {
        for (int page : pages)
            markPage(page);
    });
    connect(&document, &TitleDocument::patternsChanged, this, &MonitorWindow::markCodes);
    connect(&document, &TitleDocument::titleReplaced, this, &MonitorWindow::markAll);

    loadRememberedStills();
    markAll();
    redrawChanged();
}

void MonitorWindow::buildMonitor(int channel)
{
    const size_t i = size_t(channel);
    m_labels[i] = new QLabel(QStringLiteral("CH%1").arg(channel + 1), this);
    QFont bold = m_labels[i]->font();
    bold.setBold(true);
    m_labels[i]->setFont(bold);
    m_stillButtons[i] = new QToolButton(this);
    m_stillButtons[i]->setText(QStringLiteral("静止画…"));
    m_stillButtons[i]->setToolTip(QStringLiteral("カメラの静止画 (PNG, JPEG) を文字の下に表示します"));
    m_barsButtons[i] = new QToolButton(this);
    m_barsButtons[i]->setText(QStringLiteral("カラーバー"));
    m_barsButtons[i]->setToolTip(QStringLiteral("静止画をやめてカラーバーを表示します"));
    m_monitors[i] = new MonitorTile(this);
    m_monitors[i]->setObjectName(QStringLiteral("monitor%1").arg(channel + 1));
    connect(m_monitors[i], &MonitorTile::pressed, this, [this, channel] { emit channelPicked(channel); });
    connect(m_stillButtons[i], &QToolButton::clicked, this, [this, channel] { chooseStill(channel); });
    connect(m_barsButtons[i], &QToolButton::clicked, this, [this, channel] { clearStill(channel); });
}

void MonitorWindow::loadRememberedStills()
{
    for (int ch = 0; ch < Title::Channels; ++ch) {
        const QString file = m_stills.file(ch);
        QImage picture;
        // A picture gone since (a removed disk) shows the bars; the choice
        // stays for when it is back.
        if (!file.isEmpty() && ImageFile::load(file, picture).isEmpty())
            m_stillImages[size_t(ch)] = fittedStill(picture);
        m_barsButtons[size_t(ch)]->setEnabled(!file.isEmpty());
        m_stillButtons[size_t(ch)]->setToolTip(file.isEmpty() ? m_stillButtons[size_t(ch)]->toolTip() : file);
    }
}

void MonitorWindow::chooseStill(int channel)
{
    const QString file =
        m_fileDialogs.openFileName(this, QStringLiteral("CH%1 の静止画").arg(channel + 1), StillFilter,
                                   DialogFolder::start(DialogFolder::lastUsed(), m_firstFolder), QString());
    if (!file.isEmpty() && setStill(channel, file))
        DialogFolder::remember(file);
}

bool MonitorWindow::setStill(int channel, const QString &fileName)
{
    if (channel < 0 || channel >= Title::Channels)
        return false;
    QImage picture;
    if (const QString why = ImageFile::load(fileName, picture); !why.isEmpty()) {
        m_messageBoxes.warning(this, QStringLiteral("静止画"), why);
        return false;
    }
    m_stillImages[size_t(channel)] = fittedStill(picture);
    m_stills.setFile(channel, fileName);
    m_stillButtons[size_t(channel)]->setToolTip(fileName);
    m_barsButtons[size_t(channel)]->setEnabled(true);
    m_changed[size_t(channel)] = true;
    scheduleRedraw();
    return true;
}

void MonitorWindow::clearStill(int channel)
{
    if (channel < 0 || channel >= Title::Channels)
        return;
    m_stillImages[size_t(channel)] = QImage();
    m_stills.setFile(channel, QString());
    m_barsButtons[size_t(channel)]->setEnabled(false);
    m_changed[size_t(channel)] = true;
    scheduleRedraw();
}

void MonitorWindow::markPage(int page)
{
    if (page < 0 || page >= Title::Channels)
        return;
    m_changed[size_t(page)] = true;
    scheduleRedraw();
}

void MonitorWindow::markCodes(const QList<int> &codes)
{
    std::array<bool, Title::CodeCount> changed{};
    for (int code : codes)
        if (code >= 0 && code < Title::CodeCount)
            changed[size_t(code)] = true;
    const TitleData &data = m_document.data();
    for (int ch = 0; ch < Title::Channels; ++ch) {
        if (m_changed[size_t(ch)])
            continue;
        for (int cell = 0; cell < Title::Cells; ++cell) {
            if (changed[data.DispData(cell, 0, ch)]) {
                markPage(ch);
                break;
            }
        }
    }
}

void MonitorWindow::markAll()
{
    for (int ch = 0; ch < Title::Channels; ++ch)
        markPage(ch);
}

void MonitorWindow::scheduleRedraw()
{
    if (m_redrawQueued)
        return;
    m_redrawQueued = true;
    // One redraw for all the signals of one change (an undo of a
    // rendering tells patterns, text and cells one after another).
    QMetaObject::invokeMethod(this, &MonitorWindow::redrawChanged, Qt::QueuedConnection);
}

void MonitorWindow::redrawChanged()
{
    m_redrawQueued = false;
    for (int ch = 0; ch < Title::Channels; ++ch) {
        if (m_changed[size_t(ch)]) {
            m_changed[size_t(ch)] = false;
            redraw(ch);
        }
    }
}

void MonitorWindow::redraw(int channel)
{
    m_monitors[size_t(channel)]->setImage(
        MonitorPicture::channel(m_document.data(), channel, m_stillImages[size_t(channel)]));
}
