#pragma once

#include "site/SitePoller.h"
#include "site/SiteSchedule.h"
#include "site/SiteWriter.h"
#include "site/UnitTitles.h"

#include "link/history/TransferRecord.h"

#include <QFont>
#include <QIcon>
#include <QList>
#include <QTreeWidget>

#include <optional>

// The table of the site window: a row per unit (name, address, whether it
// answers, its last write, the write under way) and under it a row per
// camera of the schedule with its title, a lamp for its video and what the
// camera needs ("作成が必要", "書込が必要"). Every row is one line high, so
// a long failure never pushes cameras out of view. It only shows what it is
// told; the window decides when. Enter, Space and a double-click open a unit.
class SiteTree : public QTreeWidget
{
    Q_OBJECT

public:
    enum Column { UnitColumn, AddressColumn, StateColumn, LastWriteColumn, WriteColumn, ColumnCount };

    explicit SiteTree(const SiteSchedule &schedule, QWidget *parent = nullptr);

    // Every row again, for a schedule read anew.
    void setSchedule(const SiteSchedule &schedule);

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
    // Each camera's title as its file holds it (or the schedule where the
    // file is to be made), cut where `font` runs past the strip, and what
    // it needs. `font` is the one the titles are made in.
    void showTitles(int unit, const UnitTitles &titles, const QFont &font);
    // The unit's file was made: a write that failed for want of it is past.
    void showMade(int unit);

    // The unit's write result or state in full, when it is a fault.
    QString faultText(int unit) const;

    static QString lampText(std::optional<bool> lost);
    static QString stepText(UnitTitles::Step step);

signals:
    // A unit's row (or one of its cameras) was double-clicked, or Enter or
    // Space pressed on it.
    void unitActivated(int unit);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    int unitOf(QTreeWidgetItem *item) const;
    void showLamp(QTreeWidgetItem *camera, std::optional<bool> lost);
    void setState(int unit, const QString &text, bool fault);

    QList<QTreeWidgetItem *> m_units;
    QList<QList<QTreeWidgetItem *>> m_cameras; // per unit, in the schedule's order
    QIcon m_lampLost, m_lampPresent, m_lampUnknown;
};
