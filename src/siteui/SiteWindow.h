#pragma once

#include "site/SiteSchedule.h"
#include "site/TitlesMake.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class MessageBoxes;
class QFileSystemWatcher;
class QLabel;
class QPushButton;
class SitePoller;
class SiteTree;
class SiteWriter;

// "サイト": every unit of a camera schedule and every camera's video at a
// glance, each unit polled every 2 s on its own port while the window is
// open; "すべて作成" makes every unit's title file, "すべて書込" writes every
// unit at once and "変更分のみ" only the channels changed since a unit's last
// complete write. A write holds the units' ports, so polling rests until it
// ends. The units' title files are "<unit>.zvx" beside the schedule.
//
// Each camera shows what its unit's file holds, or the schedule's title
// where the file is still to be made from it, marked where the schedule,
// the file and the unit's last write differ. The window follows the
// schedule and the units' files on disk: a schedule changed is offered to
// be read again, and is read again before anything is made or written from
// it. A write makes first the files older than the schedule they differ from.
class SiteWindow : public QWidget
{
    Q_OBJECT

public:
    SiteWindow(const SiteSchedule &schedule, const QString &scheduleFile, MessageBoxes &messageBoxes,
               QWidget *parent = nullptr);
    ~SiteWindow() override;

    // Reads the schedule in `fileName` and shows it in a new window; a
    // schedule refused is told in a box and opens nothing.
    static SiteWindow *open(const QString &fileName, MessageBoxes &messageBoxes, QWidget *parent);

    // Shows the schedule in `fileName` in this window instead; a schedule
    // refused is told in a box and the window keeps what it showed. False
    // then, and while a write runs.
    bool load(const QString &fileName);

    // How "すべて作成" draws the titles, asked each time it runs (the
    // editor's font and edging as they are then).
    void setMakeSettings(const std::function<TitlesMake::Settings()> &settings) { m_makeSettings = settings; }

    void makeAll();
    void writeAll(bool onlyChanged);
    bool writing() const;

    const QString &folder() const { return m_folder; }
    const QString &scheduleFile() const { return m_scheduleFile; }
    SiteTree &tree() const { return *m_tree; }
    // The schedule's file changed on disk since it was read.
    bool scheduleChanged() const { return m_scheduleChanged; }
    // The line under the table: what the last make or write came to.
    QString resultText() const;

signals:
    // A unit's title file should open in the editor.
    void titleRequested(const QString &fileName);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showSchedule(const SiteSchedule &schedule, const QString &scheduleFile);
    bool reloadIfChanged();
    void fileChanged(const QString &path);
    void watchFiles();
    void openUnit(int unit);
    void showTitles();
    void showLastWrites();
    void showFaults();
    // Makes the units named (all when empty); the names of those that could not be.
    QStringList make(const QStringList &units, QStringList &cuts);
    void writeEnded();
    void abandonWrites();
    void setBusy(bool busy);
    void fitToScreen();
    TitlesMake::Settings makeSettings() const;

    SiteSchedule m_schedule;
    QString m_scheduleFile;
    QDateTime m_scheduleTime;
    QString m_folder;
    MessageBoxes &m_messageBoxes;
    std::function<TitlesMake::Settings()> m_makeSettings;
    SiteTree *m_tree = nullptr;
    QPushButton *m_makeButton = nullptr;
    QPushButton *m_writeButton = nullptr;
    QPushButton *m_changedButton = nullptr;
    QWidget *m_changedBar = nullptr;
    QLabel *m_changedText = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_faults = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
    SitePoller *m_poller = nullptr;
    SiteWriter *m_writer = nullptr;
    QStringList m_notMade; // units a write found unmade and could not make
    bool m_onlyChanged = false;
    bool m_writeUnderWay = false; // from the writer's start to its finished()
    bool m_scheduleChanged = false;
    bool m_closing = false;
};
