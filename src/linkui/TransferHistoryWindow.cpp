#include "TransferHistoryWindow.h"

#include "DialogFrame.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TransferHistoryWindow::TransferHistoryWindow(const TransferLog &log, QWidget *owner)
    : QWidget(owner, Qt::Window), m_log(log)
{
    setObjectName(QStringLiteral("TransferHistoryWindow"));
    setWindowTitle(QStringLiteral("8CH-Orvex [通信履歴]"));
    auto *layout = new QVBoxLayout(this);
    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setHorizontalHeaderLabels({QStringLiteral("日時"), QStringLiteral("ポート"), QStringLiteral("チャンネル"),
                                        QStringLiteral("完了"), QStringLiteral("結果"), QStringLiteral("ファイル"),
                                        QStringLiteral("SHA-256 (完了したチャンネル)")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);
    auto *bottom = new QHBoxLayout;
    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_reload = new QPushButton(QStringLiteral("再読み込み(&R)"), this);
    bottom->addWidget(m_note, 1);
    bottom->addWidget(m_reload);
    layout->addLayout(bottom);
    connect(m_reload, &QPushButton::clicked, this, &TransferHistoryWindow::reload);
    // Wide enough for a hash at 1x; at a larger scale the screen has fewer
    // pixels to give, and the last column is cut (whole in its tooltip).
    resize(1100, 360);
    DialogFrame::fitToScreen(this);
}

QString TransferHistoryWindow::resultText(WriteOutcome outcome)
{
    switch (outcome) {
    case WriteOutcome::Done: return QStringLiteral("完了");
    case WriteOutcome::TimedOut: return QStringLiteral("タイムアウト");
    case WriteOutcome::PortFailed: return QStringLiteral("ポート異常");
    case WriteOutcome::Refused: return QStringLiteral("送信せず");
    case WriteOutcome::Abandoned: return QStringLiteral("中断");
    case WriteOutcome::LineFault: return QStringLiteral("回線異常");
    }
    return {};
}

QString TransferHistoryWindow::fileText(const TransferRecord &record)
{
    // The file then holds other frames than the hashes say were sent.
    return record.modified ? record.file + QStringLiteral("（未保存の変更あり）") : record.file;
}

void TransferHistoryWindow::reload()
{
    const TransferLog::Contents contents = m_log.read();
    m_table->setRowCount(int(contents.records.size()));
    int row = 0;
    // The log keeps the oldest first; the operator looks for the latest.
    for (auto record = contents.records.crbegin(); record != contents.records.crend(); ++record, ++row) {
        QStringList hashes;
        for (int ch : record->completedChannels())
            hashes.append(
                QStringLiteral("CH%1 %2").arg(ch).arg(QString::fromLatin1(record->sha256[size_t(ch - 1)].toHex())));
        const QString cells[ColumnCount] = {
            record->time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t")),
            record->port,
            TransferRecord::channelList(record->askedChannels()),
            TransferRecord::channelList(record->completedChannels()),
            resultText(record->outcome),
            fileText(*record),
            hashes.join(QLatin1Char('\n')),
        };
        for (int column = 0; column < ColumnCount; ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->resizeRowsToContents();
    QStringList notes{QStringLiteral("%1 件 (新しい順)。記録: %2").arg(contents.records.size()).arg(m_log.path())};
    if (contents.unreadable > 0)
        notes.append(QStringLiteral("読めない行が %1 行あります。").arg(contents.unreadable));
    if (!contents.error.isEmpty())
        notes.append(QStringLiteral("履歴を読めません: ") + contents.error);
    m_note->setText(notes.join(QLatin1Char(' ')));
}
