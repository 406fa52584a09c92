#pragma once

#include "site/SitePoller.h"
#include "site/SiteSchedule.h"
#include "site/SiteWriter.h"

#include "link/history/TransferRecord.h"

#include <QIcon>
#include <QList>
#include <QTreeWidget>

#include <optional>

// The table of the site window: a row per unit (name, address, whether it
// answers, its last write, the write under way) and under it a row per
// camera of the schedule with its title and a lamp for its video. It only
// shows what it is told; the window decides when.
class SiteTree : public QTreeWidget
{
    Q_OBJECT

public:
    enum Column { UnitColumn, AddressColumn, StateColumn, LastWriteColumn, WriteColumn, ColumnCount };

    explicit SiteTree(const SiteSchedule &schedule, QWidget *parent = nullptr);

    QTreeWidgetItem *unitRow(int unit) const { return m_units.value(unit); }
    QTreeWidgetItem *cameraRow(int unit, int channel) const;
    // The percent of the unit's write under way; none when none runs.
    std::optional<int> writePercent(int unit) const;
    int unitIndex(const QString &name) const;

    // What the unit's last poll showed.
    void showPoll(int unit, const SitePoller::Unit &polled);
    // The unit's newest write in the transfer log; none yet when empty.
    void showLastWrite(int unit, const std::optional<TransferRecord> &record);
    void showWriteStarted(int unit, const QList<int> &channels);
    void showWriteProgress(int unit, int percent, const QString &message);
    void showWriteResult(int unit, const SiteWriter::Result &result);
    // A write holds the unit's port: its poll waits until after (false: waiting for the next poll).
    void showWriting(int unit, bool writing);

    static QString lampText(std::optional<bool> lost);

signals:
    // A unit's row was double-clicked.
    void unitActivated(int unit);

private:
    void showLamp(QTreeWidgetItem *camera, std::optional<bool> lost);
    void setState(int unit, const QString &text, bool fault);

    QList<QTreeWidgetItem *> m_units;
    QList<QList<QTreeWidgetItem *>> m_cameras; // per unit, in the schedule's order
    QIcon m_lampLost, m_lampPresent, m_lampUnknown;
};
