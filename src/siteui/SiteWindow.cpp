#include "SiteWindow.h"

#include "linkui/DialogFrame.h"
#include "linkui/SetForm.h"

#include "SiteTree.h"

#include "link/history/TransferLog.h"
#include "platform/MessageBoxes.h"
#include "render/BlockTextGuard.h"
#include "site/SiteMake.h"
#include "site/SitePoller.h"
#include "site/SiteWriter.h"
#include "site/UnitTitles.h"
#include "site/VideoEventLog.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
const QString WindowTitle = QStringLiteral("サイト");
const QString NoAddress = QStringLiteral("アドレスなし");

// The schedule in `fileName`, or nothing after saying in a box why not.
std::optional<SiteSchedule> readSchedule(const QString &fileName, MessageBoxes &boxes, QWidget *parent)
{
    const SiteSchedule::Read read = SiteSchedule::readFile(fileName);
    if (!read.schedule)
        boxes.warning(parent, WindowTitle,
                      (read.unreadable ? QStringLiteral("カメラ一覧を読めません。\n")
                                       : QStringLiteral("カメラ一覧に誤りがあります。\n"))
                          + read.japanese);
    return read.schedule;
}

} // namespace

SiteWindow::SiteWindow(const SiteSchedule &schedule, const QString &scheduleFile, MessageBoxes &messageBoxes,
                       QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_messageBoxes(messageBoxes)
{
    m_makeButton = new QPushButton(QStringLiteral("すべて作成"));
    m_writeButton = new QPushButton(QStringLiteral("すべて書込"));
    m_changedButton = new QPushButton(QStringLiteral("変更分のみ"));
    m_changedButton->setToolTip(SetForm::changedCaveat());
    auto *caveat = new QLabel(QStringLiteral("変更分のみ: 前回このPCから書き込んだ時と違うチャンネルだけを送ります。")
                              + SetForm::changedCaveat());
    caveat->setWordWrap(true);
    m_tree = new SiteTree(schedule);
    m_status = new QLabel;
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setWordWrap(true);
    // Every fault in full, wrapped: a cell has room for one line of it.
    m_faults = new QLabel;
    m_faults->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_faults->setWordWrap(true);
    m_faults->setStyleSheet(QStringLiteral("color: #b00000"));
    m_faults->hide();

    m_changedBar = new QWidget;
    m_changedText = new QLabel;
    m_changedText->setWordWrap(true);
    auto *reload = new QPushButton(QStringLiteral("再読込(&R)"));
    auto *bar = new QHBoxLayout(m_changedBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(m_changedText, 1);
    bar->addWidget(reload);
    m_changedBar->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_makeButton);
    buttons->addSpacing(12);
    buttons->addWidget(m_writeButton);
    buttons->addWidget(m_changedButton);
    buttons->addSpacing(12);
    buttons->addWidget(caveat, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_changedBar);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_faults);
    layout->addWidget(m_status);

    m_watcher = new QFileSystemWatcher(this);
    m_writer = new SiteWriter(nullptr, this);
    m_writer->setTransferLog(TransferLog(), QStringLiteral("orvex-editor"));

    connect(m_makeButton, &QPushButton::clicked, this, &SiteWindow::makeAll);
    connect(m_writeButton, &QPushButton::clicked, this, [this] { writeAll(false); });
    connect(m_changedButton, &QPushButton::clicked, this, [this] { writeAll(true); });
    connect(reload, &QPushButton::clicked, this, [this] { reloadIfChanged(); });
    connect(m_tree, &SiteTree::unitActivated, this, &SiteWindow::openUnit);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &SiteWindow::fileChanged);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        watchFiles();
        showTitles();
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

    showSchedule(schedule, scheduleFile);
    fitToScreen();
}

SiteWindow::~SiteWindow()
{
    abandonWrites();
}

SiteWindow *SiteWindow::open(const QString &fileName, MessageBoxes &messageBoxes, QWidget *parent)
{
    const auto schedule = readSchedule(fileName, messageBoxes, parent);
    if (!schedule)
        return nullptr;
    auto *window = new SiteWindow(*schedule, fileName, messageBoxes, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

bool SiteWindow::load(const QString &fileName)
{
    if (writing())
        return false;
    const auto schedule = readSchedule(fileName, m_messageBoxes, this);
    if (!schedule)
        return false;
    showSchedule(*schedule, fileName);
    return true;
}

void SiteWindow::showSchedule(const SiteSchedule &schedule, const QString &scheduleFile)
{
    // One link per port: the old schedule's polls end before the new one's begin.
    delete m_poller;
    m_schedule = schedule;
    m_scheduleFile = QFileInfo(scheduleFile).absoluteFilePath();
    m_scheduleTime = QFileInfo(m_scheduleFile).lastModified();
    m_folder = QFileInfo(m_scheduleFile).absolutePath();
    m_scheduleChanged = false;
    m_changedBar->hide();
    m_faults->hide();
    m_status->clear();
    setWindowTitle(WindowTitle + QStringLiteral(" - ") + QFileInfo(m_scheduleFile).fileName());
    m_tree->setSchedule(m_schedule);

    m_poller = new SitePoller(m_schedule, nullptr, this);
    m_poller->setEventLog(VideoEventLog());
    connect(m_poller, &SitePoller::unitPolled, this,
            [this](int index) {
                m_tree->showPoll(index, m_poller->units()[index]);
                showFaults();
            });
    connect(m_poller, &SitePoller::logWarning, this, [this](const QString &why) {
        m_status->setText(QStringLiteral("映像の記録を書けません: ") + why);
    });
    watchFiles();
    showLastWrites();
    showTitles();
    m_poller->start(true);
}

void SiteWindow::watchFiles()
{
    // An editor saves by writing a new file over the old name, which a
    // watcher of the old file loses: every name is watched again.
    if (const QStringList files = m_watcher->files(); !files.isEmpty())
        m_watcher->removePaths(files);
    if (const QStringList folders = m_watcher->directories(); !folders.isEmpty())
        m_watcher->removePaths(folders);
    QStringList paths{m_folder};
    if (QFileInfo::exists(m_scheduleFile))
        paths << m_scheduleFile;
    for (const SiteSchedule::Unit &unit : std::as_const(m_schedule.units)) {
        const QString file = SiteMake::unitFile(m_folder, unit.name);
        if (QFileInfo::exists(file))
            paths << file;
    }
    m_watcher->addPaths(paths);
}

void SiteWindow::fileChanged(const QString &path)
{
    watchFiles();
    if (path != m_scheduleFile) {
        showTitles(); // a unit's file, saved from the editor or made
        return;
    }
    const QDateTime saved = QFileInfo(m_scheduleFile).lastModified();
    if (m_scheduleChanged || saved == m_scheduleTime)
        return;
    m_scheduleChanged = true;
    m_changedText->setText(QStringLiteral("カメラ一覧「%1」が変更されました。「再読込」で読み直します"
                                          "（作成と書込の前には読み直します）。")
                               .arg(QFileInfo(m_scheduleFile).fileName()));
    m_changedBar->show();
}

bool SiteWindow::reloadIfChanged()
{
    if (!m_scheduleChanged)
        return true;
    if (writing())
        return false;
    return load(m_scheduleFile);
}

bool SiteWindow::writing() const
{
    // Until its end is said too, when no unit had anything to send.
    return m_writer->running() || m_writeUnderWay;
}

QString SiteWindow::resultText() const
{
    return m_status->text();
}

TitlesMake::Settings SiteWindow::makeSettings() const
{
    return m_makeSettings ? m_makeSettings() : TitlesMake::Settings();
}

QStringList SiteWindow::make(const QStringList &units, QStringList &cuts)
{
    QStringList failed;
    QStringList faults;
    for (const SiteMake::Made &made : SiteMake::makeUnits(m_schedule, m_folder, makeSettings(), units)) {
        const SiteSchedule::Unit &unit = m_schedule.units[made.unit];
        const TitlesMake::Outcome &outcome = made.outcome;
        if (!outcome.error.isEmpty()) {
            faults << unit.name + QStringLiteral(": ") + outcome.error;
            failed << unit.name;
            continue;
        }
        if (!outcome.made.done()) {
            const int ch = outcome.made.refusedChannel;
            const SiteSchedule::Camera *camera = unit.camera(ch + 1);
            faults << QStringLiteral("%1 CH%2: ").arg(unit.name).arg(ch + 1)
                          + BlockTextGuard::message(outcome.made.refused, camera ? camera->title : QString());
            failed << unit.name;
            continue;
        }
        m_tree->showMade(made.unit);
        for (int ch = 0; ch < Title::Channels; ++ch) {
            if (!outcome.made.cutWarnings[size_t(ch)].isEmpty())
                cuts << QStringLiteral("%1 CH%2: %3").arg(unit.name).arg(ch + 1).arg(outcome.made.cutWarnings[size_t(ch)]);
        }
    }
    watchFiles();
    showTitles();
    if (!faults.isEmpty())
        m_messageBoxes.warning(this, WindowTitle, faults.join(u'\n'));
    return failed;
}

void SiteWindow::makeAll()
{
    // Made from the schedule as it is on disk now, never from the one read
    // before it changed.
    if (writing() || !reloadIfChanged())
        return;
    QStringList cuts;
    const qsizetype failed = make({}, cuts).size();
    m_status->setText(QStringLiteral("%1台のうち%2台のタイトルを作成しました。")
                          .arg(m_schedule.units.size())
                          .arg(m_schedule.units.size() - failed));
    // The files are made all the same; the operator learns in one box what
    // the units will not show.
    if (!cuts.isEmpty())
        m_messageBoxes.warning(this, BlockTextGuard::title(), cuts.join(u'\n'));
}

void SiteWindow::writeAll(bool onlyChanged)
{
    if (writing() || !reloadIfChanged())
        return;
    // A file older than the schedule it differs from would send the old
    // titles: it is made first.
    const TransferLog::Contents log = TransferLog().read();
    QStringList unmade;
    for (int i = 0; i < int(m_schedule.units.size()); ++i) {
        const SiteSchedule::Unit &unit = m_schedule.units[i];
        if (unit.port.isValid()
            && UnitTitles::of(unit, SiteMake::unitFile(m_folder, unit.name), m_scheduleTime, log).needsMake())
            unmade << unit.name;
    }
    QStringList cuts;
    m_notMade = unmade.isEmpty() ? QStringList() : make(unmade, cuts);
    if (!cuts.isEmpty())
        m_messageBoxes.warning(this, BlockTextGuard::title(), cuts.join(u'\n'));

    QStringList units;
    for (int i = 0; i < int(m_schedule.units.size()); ++i) {
        const SiteSchedule::Unit &unit = m_schedule.units[i];
        if (!unit.port.isValid()) {
            m_tree->unitRow(i)->setText(SiteTree::WriteColumn, NoAddress);
            continue;
        }
        if (m_notMade.contains(unit.name)) {
            m_tree->unitRow(i)->setText(SiteTree::WriteColumn, QStringLiteral("作成できないため書込なし"));
            continue;
        }
        units << unit.name;
        m_tree->showWriting(i, true);
    }
    if (units.isEmpty()) {
        m_status->setText(QStringLiteral("書き込める装置がありません。"));
        return;
    }
    // One link per port: the polls give way to the write.
    m_poller->stop();
    setBusy(true);
    m_onlyChanged = onlyChanged;
    m_writeUnderWay = true;
    m_status->setText(unmade.isEmpty() ? QStringLiteral("書込中…")
                                       : QStringLiteral("%1 を作成して書込中…").arg(unmade.join(QStringLiteral("、"))));
    m_writer->start(m_schedule, m_folder, units, onlyChanged);
}

void SiteWindow::writeEnded()
{
    m_writeUnderWay = false;
    if (m_closing)
        return;
    int failed = 0;
    int sent = 0;
    for (const SiteWriter::Result &result : m_writer->results()) {
        failed += !result.completed;
        sent += result.report.has_value();
    }
    const int total = int(m_writer->results().size());
    QString text;
    if (failed > 0)
        text = QStringLiteral("%1台のうち%2台の書込ができませんでした。").arg(total).arg(failed);
    else if (sent == 0)
        text = QStringLiteral("変更はありませんでした。どの装置にも送っていません。");
    else if (sent < total)
        text = QStringLiteral("%1台に書き込みました（%2台は変更なし）。").arg(sent).arg(total - sent);
    else
        text = QStringLiteral("%1台すべての書込が終わりました。").arg(total);
    if (!m_notMade.isEmpty())
        text += QStringLiteral(" %1 は作成できないため書き込んでいません。").arg(m_notMade.join(QStringLiteral("、")));
    if (m_onlyChanged)
        text += QStringLiteral(" （変更分のみ: ") + SetForm::changedCaveat() + u'）';
    m_status->setText(text);
    setBusy(false);
    showLastWrites();
    showTitles();
    for (int i = 0; i < int(m_schedule.units.size()); ++i) {
        if (m_schedule.units[i].port.isValid())
            m_tree->showWriting(i, false);
    }
    showFaults();
    m_poller->start(true);
}

void SiteWindow::showFaults()
{
    QStringList faults;
    for (int i = 0; i < int(m_schedule.units.size()); ++i) {
        if (const QString fault = m_tree->faultText(i); !fault.isEmpty())
            faults << m_schedule.units[i].name + QStringLiteral(": ") + fault;
    }
    m_faults->setText(faults.join(u'\n'));
    m_faults->setVisible(!faults.isEmpty());
}

void SiteWindow::abandonWrites()
{
    m_closing = true;
    if (m_poller)
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

void SiteWindow::showTitles()
{
    const TransferLog::Contents log = TransferLog().read();
    const QFont font = makeSettings().font;
    for (int i = 0; i < int(m_schedule.units.size()); ++i) {
        const SiteSchedule::Unit &unit = m_schedule.units[i];
        m_tree->showTitles(i, UnitTitles::of(unit, SiteMake::unitFile(m_folder, unit.name), m_scheduleTime, log), font);
    }
}

void SiteWindow::showLastWrites()
{
    const TransferLog::Contents log = TransferLog().read();
    if (!log.error.isEmpty())
        m_status->setText(QStringLiteral("通信履歴を読めません: ") + log.error);
    for (int i = 0; i < int(m_schedule.units.size()); ++i) {
        const PortAddress &address = m_schedule.units[i].port;
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
