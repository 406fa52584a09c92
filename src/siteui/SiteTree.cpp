#include "SiteTree.h"

#include "WriteBarDelegate.h"

#include "linkui/TransferHistoryWindow.h"
#include "render/StripFit.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace {

// A unit a watch lost, while it is asked again.
const QString LostText = QStringLiteral("接続できません。再接続を待っています");
constexpr int ChannelRole = Qt::UserRole;
// A fault said in full, kept beside the one line the cell shows.
constexpr int FullTextRole = Qt::UserRole + 2;
const QColor LostColour(0xd0, 0x10, 0x10);
const QColor FaultColour(0xb0, 0x00, 0x00);

QIcon lamp(const QColor &colour)
{
    // Drawn large: the view scales it down to the row, sharp at any scale.
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(160), 4));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(6, 6, 52, 52));
    return QIcon(pixmap);
}

// The last write's time and its result drawn as two texts: laid out as one,
// digits before a word in katakana ("ポート異常") would be set in that word's
// fallback font, so a failed unit's time would look unlike every other.
class LastWriteDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        const qsizetype gap = text.indexOf(QLatin1String("  "));
        const QString time = gap < 0 ? text : text.left(gap + 2);
        const QString result = gap < 0 ? QString() : text.mid(gap + 2);
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget)
                               .adjusted(style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1, 0, 0, 0);
        painter->save();
        painter->setFont(item.font);
        painter->setPen(item.palette.color(item.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                               : QPalette::Text));
        const Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
        painter->drawText(area, align, time);
        painter->drawText(area.adjusted(QFontMetrics(item.font).horizontalAdvance(time), 0, 0, 0), align, result);
        painter->restore();
    }
};

// One line, however many the message had: a row is one line high.
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(u'\n', u' ');
    return text.simplified();
}

} // namespace

SiteTree::SiteTree(const SiteSchedule &schedule, QWidget *parent)
    : QTreeWidget(parent)
    , m_lampLost(lamp(LostColour))
    , m_lampPresent(lamp(QColor(0x20, 0xb0, 0x40)))
    , m_lampUnknown(lamp(QColor(0xa0, 0xa0, 0xa0)))
{
    setColumnCount(ColumnCount);
    setHeaderLabels({QStringLiteral("装置 / カメラ"), QStringLiteral("アドレス"), QStringLiteral("状態"),
                     QStringLiteral("最終書込"), QStringLiteral("書込")});
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    // A double-click opens the unit; folding it away as well would hide
    // the camera whose video was lost.
    setExpandsOnDoubleClick(false);
    header()->setStretchLastSection(true);
    setItemDelegateForColumn(WriteColumn, new WriteBarDelegate(this));
    setItemDelegateForColumn(LastWriteColumn, new LastWriteDelegate(this));
    setSchedule(schedule);

    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (const int unit = unitOf(item); unit >= 0)
            emit unitActivated(unit);
    });
}

int SiteTree::unitOf(QTreeWidgetItem *item) const
{
    if (item && item->parent())
        item = item->parent();
    return int(m_units.indexOf(item));
}

void SiteTree::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && event->modifiers() == Qt::NoModifier) {
        if (const int unit = unitOf(currentItem()); unit >= 0) {
            emit unitActivated(unit);
            event->accept();
            return;
        }
    }
    QTreeWidget::keyPressEvent(event);
}

void SiteTree::setSchedule(const SiteSchedule &schedule)
{
    clear();
    m_units.clear();
    m_cameras.clear();
    for (const SiteSchedule::Unit &unit : schedule.units) {
        auto *row = new QTreeWidgetItem(this);
        row->setText(UnitColumn, unit.name);
        QFont bold = row->font(UnitColumn);
        bold.setBold(true);
        row->setFont(UnitColumn, bold);
        row->setText(AddressColumn, unit.address.isEmpty() ? QStringLiteral("(なし)") : unit.address);
        row->setText(LastWriteColumn, QStringLiteral("—"));
        QList<QTreeWidgetItem *> cameras;
        for (const SiteSchedule::Camera &camera : unit.cameras) {
            auto *child = new QTreeWidgetItem(row);
            child->setData(UnitColumn, ChannelRole, camera.channel);
            child->setText(UnitColumn, QStringLiteral("CH%1  %2").arg(camera.channel).arg(camera.title));
            child->setToolTip(UnitColumn, camera.title);
            showLamp(child, std::nullopt);
            cameras << child;
        }
        m_units << row;
        m_cameras << cameras;
        setState(int(m_units.size()) - 1, unit.address.isEmpty() ? QStringLiteral("アドレスなし") : QStringLiteral("確認中…"),
                 unit.address.isEmpty());
    }
    expandAll();
    // Sized with every title in bold, as a camera whose video is lost shows
    // it, so the title that matters most is never the one cut short.
    const auto setCameraTitlesBold = [this](bool bold) {
        for (const QList<QTreeWidgetItem *> &cameras : std::as_const(m_cameras)) {
            for (QTreeWidgetItem *camera : cameras) {
                QFont font = camera->font(UnitColumn);
                font.setBold(bold);
                camera->setFont(UnitColumn, font);
            }
        }
    };
    setCameraTitlesBold(true);
    resizeColumnToContents(UnitColumn);
    setCameraTitlesBold(false);
    resizeColumnToContents(AddressColumn);
    // Wide enough for what the polls and writes will say, so the columns do
    // not jump as they say it.
    const QFontMetrics metrics = fontMetrics();
    const int padding = metrics.horizontalAdvance(QLatin1Char('0')) * 2;
    setColumnWidth(StateColumn, style()->pixelMetric(QStyle::PM_SmallIconSize) + padding
                                    + std::max(metrics.horizontalAdvance(QStringLiteral("応答あり  表示中 CH8  映像なし 8台")),
                                               metrics.horizontalAdvance(LostText)));
    setColumnWidth(LastWriteColumn, padding + metrics.horizontalAdvance(QStringLiteral("2026-12-31 23:59  タイムアウト")));

}

QTreeWidgetItem *SiteTree::cameraRow(int unit, int channel) const
{
    for (QTreeWidgetItem *camera : m_cameras.value(unit)) {
        if (camera->data(UnitColumn, ChannelRole).toInt() == channel)
            return camera;
    }
    return nullptr;
}

std::optional<int> SiteTree::writePercent(int unit) const
{
    const QVariant percent = m_units.value(unit) ? m_units[unit]->data(WriteColumn, WriteBarDelegate::PercentRole)
                                                 : QVariant();
    return percent.isValid() ? std::optional<int>(percent.toInt()) : std::nullopt;
}

int SiteTree::unitIndex(const QString &name) const
{
    for (int i = 0; i < int(m_units.size()); ++i) {
        if (m_units[i]->text(UnitColumn) == name)
            return i;
    }
    return -1;
}

QString SiteTree::lampText(std::optional<bool> lost)
{
    if (!lost)
        return QStringLiteral("—");
    return *lost ? QStringLiteral("映像なし") : QStringLiteral("映像あり");
}

void SiteTree::showLamp(QTreeWidgetItem *camera, std::optional<bool> lost)
{
    camera->setIcon(StateColumn, !lost ? m_lampUnknown : *lost ? m_lampLost : m_lampPresent);
    camera->setText(StateColumn, lampText(lost));
    // The whole row, title and all, so a lost camera is found at a glance.
    const bool red = lost.value_or(false);
    for (int column = 0; column < ColumnCount; ++column)
        camera->setForeground(column, red ? QBrush(LostColour) : QBrush());
    QFont font = camera->font(UnitColumn);
    font.setBold(red);
    camera->setFont(UnitColumn, font);
}

void SiteTree::setState(int unit, const QString &text, bool fault)
{
    QTreeWidgetItem *row = m_units[unit];
    row->setText(StateColumn, oneLine(text));
    row->setToolTip(StateColumn, text);
    row->setData(StateColumn, FullTextRole, fault ? text : QString());
    row->setForeground(StateColumn, fault ? QBrush(FaultColour) : QBrush());
}

void SiteTree::showPoll(int unit, const SitePoller::Unit &polled)
{
    if (unit < 0 || unit >= int(m_units.size()))
        return;
    const bool known = polled.answered && polled.status.videoLossKnown;
    int lostCount = 0;
    for (QTreeWidgetItem *camera : m_cameras[unit]) {
        const int input = camera->data(UnitColumn, ChannelRole).toInt() - 1;
        std::optional<bool> lost;
        if (known) {
            lost = polled.status.videoLoss[size_t(input)];
            lostCount += *lost;
        }
        showLamp(camera, lost);
    }
    if (polled.address.isEmpty()) {
        setState(unit, QStringLiteral("アドレスなし"), true);
    } else if (!polled.lost.isEmpty()) {
        // Watched through an outage: that it is asked again, and why in the
        // tip, whose length no column could hold.
        setState(unit, LostText, true);
        m_units[unit]->setToolTip(StateColumn, polled.lost);
    } else if (!polled.answered) {
        setState(unit, polled.error.isEmpty() ? QStringLiteral("応答なし") : QStringLiteral("応答なし: ") + polled.error,
                 true);
    } else {
        QString text = QStringLiteral("応答あり");
        if (polled.status.channel >= 0)
            text += QStringLiteral("  表示中 CH%1").arg(polled.status.channel + 1);
        if (lostCount > 0)
            text += QStringLiteral("  映像なし %1台").arg(lostCount);
        setState(unit, text, lostCount > 0);
        // Red for the lost video, but no failure to be read in full.
        m_units[unit]->setData(StateColumn, FullTextRole, QString());
    }
}

void SiteTree::showLastWrite(int unit, const std::optional<TransferRecord> &record)
{
    QTreeWidgetItem *row = m_units.value(unit);
    if (!row)
        return;
    if (!record) {
        row->setText(LastWriteColumn, QStringLiteral("—"));
        return;
    }
    const QString when = record->time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    row->setText(LastWriteColumn, when + QStringLiteral("  ") + TransferHistoryWindow::resultText(record->outcome));
    row->setToolTip(LastWriteColumn, record->file);
}

void SiteTree::showWriting(int unit, bool writing)
{
    if (QTreeWidgetItem *row = m_units.value(unit)) {
        setState(unit, writing ? QStringLiteral("書込中") : QStringLiteral("確認中…"), false);
        if (writing) {
            row->setData(WriteColumn, WriteBarDelegate::PercentRole, QVariant());
            row->setText(WriteColumn, QString());
        }
    }
}

void SiteTree::showWriteStarted(int unit, const QList<int> &channels)
{
    QTreeWidgetItem *row = m_units.value(unit);
    if (!row)
        return;
    row->setText(WriteColumn, QString());
    if (channels.isEmpty()) {
        row->setText(WriteColumn, QStringLiteral("変更なし"));
        return;
    }
    row->setData(WriteColumn, WriteBarDelegate::PercentRole, 0);
    row->setToolTip(WriteColumn, QStringLiteral("CH ") + TransferRecord::channelList(channels));
}

void SiteTree::showWriteProgress(int unit, int percent, const QString &message)
{
    QTreeWidgetItem *row = m_units.value(unit);
    if (!row)
        return;
    row->setData(WriteColumn, WriteBarDelegate::PercentRole, percent);
    if (!message.isEmpty())
        setState(unit, message, false);
}

void SiteTree::showWriteResult(int unit, const SiteWriter::Result &result)
{
    QTreeWidgetItem *row = m_units.value(unit);
    if (!row)
        return;
    row->setData(WriteColumn, WriteBarDelegate::PercentRole, QVariant());
    if (result.completed && !result.report) {
        row->setText(WriteColumn, QStringLiteral("変更なし"));
        row->setForeground(WriteColumn, QBrush());
        return;
    }
    QString text = result.completed ? QStringLiteral("完了") : QStringLiteral("失敗");
    if (!result.completed && !result.unfinished.isEmpty())
        text += QStringLiteral(" (未完了 CH%1)").arg(TransferRecord::channelList(result.unfinished));
    if (!result.error.isEmpty()) {
        // The engine names an outcome without a message of its own by its log word.
        const bool logWord = result.report && result.error == TransferRecord::outcomeName(result.report->outcome);
        text += QStringLiteral(": ")
                + (logWord ? TransferHistoryWindow::resultText(result.report->outcome) : result.error);
    }
    row->setText(WriteColumn, oneLine(text));
    row->setToolTip(WriteColumn, text);
    row->setData(WriteColumn, FullTextRole, result.completed ? QString() : text);
    row->setForeground(WriteColumn, result.completed ? QBrush() : QBrush(FaultColour));
}

QString SiteTree::faultText(int unit) const
{
    QTreeWidgetItem *row = m_units.value(unit);
    if (!row)
        return {};
    const QString write = row->data(WriteColumn, FullTextRole).toString();
    return write.isEmpty() ? row->data(StateColumn, FullTextRole).toString() : write;
}

QString SiteTree::stepText(UnitTitles::Step step)
{
    switch (step) {
    case UnitTitles::Step::Make: return QStringLiteral("作成が必要");
    case UnitTitles::Step::Write: return QStringLiteral("書込が必要");
    case UnitTitles::Step::EditedInFile: return QStringLiteral("一覧と異なる");
    case UnitTitles::Step::None: break;
    }
    return {};
}

void SiteTree::showTitles(int unit, const UnitTitles &titles, const QFont &font)
{
    for (const UnitTitles::Camera &camera : titles.cameras) {
        QTreeWidgetItem *row = cameraRow(unit, camera.channel);
        if (!row)
            continue;
        // What the operator acts on: the schedule's title where the file is
        // still to be made from it, else what the file sends.
        const QString title = camera.step == UnitTitles::Step::Make && !camera.scheduled.isEmpty() ? camera.scheduled
                                                                                                     : camera.inFile;
        const StripFit::Measure fit = StripFit::measure(title, font);
        const bool cut = !title.isEmpty() && !fit.fits();
        const QString shown = cut ? title.left(fit.markIndex()) + QStringLiteral("…") : title;
        row->setText(UnitColumn, QStringLiteral("CH%1  %2").arg(camera.channel).arg(oneLine(shown)));
        QStringList about;
        if (cut)
            about << QStringLiteral("末尾が切れます（%1）").arg(fit.usage());
        if (const QString step = stepText(camera.step); !step.isEmpty())
            about << step;
        if (camera.step == UnitTitles::Step::Make && titles.hasFile && camera.inFile != camera.scheduled)
            about << QStringLiteral("ファイルは「%1」").arg(oneLine(camera.inFile));
        if (camera.step == UnitTitles::Step::EditedInFile)
            about << QStringLiteral("一覧は「%1」").arg(oneLine(camera.scheduled));
        row->setText(WriteColumn, about.join(QStringLiteral("  ")));
        row->setToolTip(UnitColumn, title);
        row->setForeground(WriteColumn, camera.step == UnitTitles::Step::None && !cut ? QBrush() : QBrush(FaultColour));
    }
}

void SiteTree::showMade(int unit)
{
    QTreeWidgetItem *row = m_units.value(unit);
    if (!row || row->data(WriteColumn, FullTextRole).toString().isEmpty())
        return;
    row->setText(WriteColumn, QStringLiteral("作成済み（未書込）"));
    row->setToolTip(WriteColumn, QString());
    row->setData(WriteColumn, FullTextRole, QString());
    row->setForeground(WriteColumn, QBrush());
}
