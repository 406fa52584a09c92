#include "SiteWindow.h"

#include "linkui/DialogFrame.h"

#include "SiteTree.h"

#include "link/history/TransferLog.h"
#include "netserial/PortAddress.h"
#include "platform/MessageBoxes.h"
#include "render/BlockTextGuard.h"
#include "site/SiteMake.h"
#include "site/SitePoller.h"
#include "site/SiteWriter.h"
#include "site/VideoEventLog.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
const QString WindowTitle = QStringLiteral("サイト");
const QString NoAddress = QStringLiteral("アドレスなし");
} // namespace

SiteWindow::SiteWindow(const SiteSchedule &schedule, const QString &scheduleFile, MessageBoxes &messageBoxes,
                       QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_schedule(schedule)
    , m_folder(QFileInfo(scheduleFile).absolutePath())
    , m_messageBoxes(messageBoxes)
{
    setWindowTitle(WindowTitle + QStringLiteral(" - ") + QFileInfo(scheduleFile).fileName());

    m_makeButton = new QPushButton(QStringLiteral("すべて作成"));
    m_writeButton = new QPushButton(QStringLiteral("すべて書込"));
    m_changedButton = new QPushButton(QStringLiteral("変更分のみ"));
    m_tree = new SiteTree(m_schedule);
    m_status = new QLabel;
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setWordWrap(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_makeButton);
    buttons->addSpacing(12);
    buttons->addWidget(m_writeButton);
    buttons->addWidget(m_changedButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_status);

    m_poller = new SitePoller(m_schedule, nullptr, this);
    m_poller->setEventLog(VideoEventLog());
    m_writer = new SiteWriter(nullptr, this);
    m_writer->setTransferLog(TransferLog(), QStringLiteral("orvex-editor"));

    connect(m_makeButton, &QPushButton::clicked, this, &SiteWindow::makeAll);
    connect(m_writeButton, &QPushButton::clicked, this, [this] { writeAll(false); });
    connect(m_changedButton, &QPushButton::clicked, this, [this] { writeAll(true); });
    connect(m_tree, &SiteTree::unitActivated, this, &SiteWindow::openUnit);
    connect(m_poller, &SitePoller::unitPolled, this,
            [this](int index) { m_tree->showPoll(index, m_poller->units()[index]); });
    connect(m_poller, &SitePoller::logWarning, this, [this](const QString &why) {
        m_status->setText(QStringLiteral("映像の記録を書けません: ") + why);
    });
    connect(m_writer, &SiteWriter::unitStarted, this, [this](const QString &unit, const QList<int> &channels) {
        m_tree->showWriteStarted(m_tree->unitIndex(unit), channels);
    });
    connect(m_writer, &SiteWriter::unitProgress, this, [this](const QString &unit, int percent, const QString &message) {
        m_tree->showWriteProgress(m_tree->unitIndex(unit), percent, message);
    });
    connect(m_writer, &SiteWriter::unitFinished, this, [this](const SiteWriter::Result &result) {
        m_tree->showWriteResult(m_tree->unitIndex(result.unit), result);
    });
    connect(m_writer, &SiteWriter::logWarning, this, [this](const QString &unit, const QString &why) {
        m_status->setText(QStringLiteral("%1: 通信履歴に記録できません: %2").arg(unit, why));
    });
    connect(m_writer, &SiteWriter::finished, this, &SiteWindow::writeEnded);

    showLastWrites();
    fitToScreen();
    m_poller->start(true);
}

SiteWindow::~SiteWindow()
{
    abandonWrites();
}

SiteWindow *SiteWindow::open(const QString &fileName, MessageBoxes &messageBoxes, QWidget *parent)
{
    const SiteSchedule::Read read = SiteSchedule::readFile(fileName);
    if (!read.schedule) {
        messageBoxes.warning(parent, WindowTitle,
                             (read.unreadable ? QStringLiteral("カメラ一覧を読めません。\n")
                                              : QStringLiteral("カメラ一覧に誤りがあります。\n"))
                                 + read.error);
        return nullptr;
    }
    auto *window = new SiteWindow(*read.schedule, fileName, messageBoxes, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

bool SiteWindow::writing() const
{
    return m_writer->running();
}

void SiteWindow::makeAll()
{
    if (writing())
        return;
    const TitlesMake::Settings settings = m_makeSettings ? m_makeSettings() : TitlesMake::Settings();
    QStringList faults;
    QStringList cuts;
    int made = 0;
    for (const SiteSchedule::Unit &unit : m_schedule.units) {
        const TitlesMake::Outcome outcome = SiteMake::makeUnit(unit, m_folder, settings);
        if (!outcome.error.isEmpty()) {
            faults << unit.name + QStringLiteral(": ") + outcome.error;
            continue;
        }
        if (!outcome.made.done()) {
            const int ch = outcome.made.refusedChannel;
            const SiteSchedule::Camera *camera = unit.camera(ch + 1);
            faults << QStringLiteral("%1 CH%2: ").arg(unit.name).arg(ch + 1)
                          + BlockTextGuard::message(outcome.made.refused, camera ? camera->title : QString());
            continue;
        }
        ++made;
        for (int ch = 0; ch < Title::Channels; ++ch) {
            if (!outcome.made.cutWarnings[size_t(ch)].isEmpty())
                cuts << QStringLiteral("%1 CH%2: %3").arg(unit.name).arg(ch + 1).arg(outcome.made.cutWarnings[size_t(ch)]);
        }
    }
    m_status->setText(QStringLiteral("%1台のうち%2台のタイトルを作成しました。").arg(m_schedule.units.size()).arg(made));
    if (!faults.isEmpty())
        m_messageBoxes.warning(this, WindowTitle, faults.join(u'\n'));
    // The files are made all the same; the operator learns in one box what
    // the units will not show.
    if (!cuts.isEmpty())
        m_messageBoxes.warning(this, BlockTextGuard::title(), cuts.join(u'\n'));
}

void SiteWindow::writeAll(bool onlyChanged)
{
    if (writing())
        return;
    QStringList units;
    for (int i = 0; i < int(m_schedule.units.size()); ++i) {
        const SiteSchedule::Unit &unit = m_schedule.units[i];
        if (unit.address.isEmpty()) {
            m_tree->unitRow(i)->setText(SiteTree::WriteColumn, NoAddress);
            continue;
        }
        units << unit.name;
        m_tree->showWriting(i, true);
    }
    if (units.isEmpty())
        return;
    // One link per port: the polls give way to the write.
    m_poller->stop();
    setBusy(true);
    m_status->setText(QStringLiteral("書込中…"));
    m_writer->start(m_schedule, m_folder, units, onlyChanged);
}

void SiteWindow::writeEnded()
{
    int failed = 0;
    for (const SiteWriter::Result &result : m_writer->results())
        failed += !result.completed;
    const int total = int(m_writer->results().size());
    if (m_closing)
        return;
    m_status->setText(failed == 0 ? QStringLiteral("%1台すべての書込が終わりました。").arg(total)
                                  : QStringLiteral("%1台のうち%2台の書込ができませんでした。").arg(total).arg(failed));
    setBusy(false);
    showLastWrites();
    for (int i = 0; i < int(m_schedule.units.size()); ++i) {
        if (!m_schedule.units[i].address.isEmpty())
            m_tree->showWriting(i, false);
    }
    m_poller->start(true);
}

void SiteWindow::abandonWrites()
{
    m_closing = true;
    m_poller->stop();
    // Each write ends as abandoned and goes to the transfer log as such.
    m_writer->stop();
}

void SiteWindow::closeEvent(QCloseEvent *event)
{
    abandonWrites();
    QWidget::closeEvent(event);
}

void SiteWindow::setBusy(bool busy)
{
    m_makeButton->setEnabled(!busy);
    m_writeButton->setEnabled(!busy);
    m_changedButton->setEnabled(!busy);
}

void SiteWindow::openUnit(int unit)
{
    const QString file = QFileInfo(SiteMake::unitFile(m_folder, m_schedule.units[unit].name)).absoluteFilePath();
    if (!QFileInfo(file).isFile()) {
        m_messageBoxes.warning(this, WindowTitle,
                               QStringLiteral("%1 はまだありません。「すべて作成」で作成してください。").arg(file));
        return;
    }
    emit titleRequested(file);
}

void SiteWindow::showLastWrites()
{
    const TransferLog::Contents log = TransferLog().read();
    if (!log.error.isEmpty())
        m_status->setText(QStringLiteral("通信履歴を読めません: ") + log.error);
    for (int i = 0; i < int(m_schedule.units.size()); ++i) {
        const PortAddress address = PortAddress::parse(m_schedule.units[i].address);
        std::optional<TransferRecord> newest;
        if (address.isValid()) {
            const QString port = address.toString();
            for (auto record = log.records.crbegin(); record != log.records.crend(); ++record) {
                if (record->port == port) {
                    newest = *record;
                    break;
                }
            }
        }
        m_tree->showLastWrite(i, newest);
    }
}

void SiteWindow::fitToScreen()
{
    // As wide as the table's columns and as tall as its rows, but never
    // larger than the screen the window opens on.
    int width = 0;
    for (int column = 0; column < SiteTree::WriteColumn; ++column)
        width += m_tree->columnWidth(column);
    width += fontMetrics().horizontalAdvance(QLatin1Char('0')) * 40 + 48;
    int rows = 0;
    for (const SiteSchedule::Unit &unit : m_schedule.units)
        rows += 1 + int(unit.cameras.size());
    const int rowHeight = qMax(fontMetrics().height(), style()->pixelMetric(QStyle::PM_SmallIconSize)) + 3;
    const int height = m_tree->header()->sizeHint().height() + rows * rowHeight
                       + m_makeButton->sizeHint().height() * 2 + 64;
    resize(width, height);
    // The screen bound and the placement are those of every link window.
    DialogFrame::fitToScreen(this);
    DialogFrame::centreOverOwner(this);
}
