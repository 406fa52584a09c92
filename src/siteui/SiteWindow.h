#pragma once

#include "site/SiteSchedule.h"
#include "site/TitlesMake.h"

#include <QString>
#include <QWidget>

#include <functional>

class MessageBoxes;
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

    // How "すべて作成" draws the titles, asked each time it runs (the
    // editor's font and edging as they are then).
    void setMakeSettings(const std::function<TitlesMake::Settings()> &settings) { m_makeSettings = settings; }

    void makeAll();
    void writeAll(bool onlyChanged);
    bool writing() const;

    const QString &folder() const { return m_folder; }
    SiteTree &tree() const { return *m_tree; }

signals:
    // A unit's title file should open in the editor.
    void titleRequested(const QString &fileName);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void openUnit(int unit);
    void showLastWrites();
    void writeEnded();
    void abandonWrites();
    void setBusy(bool busy);
    void fitToScreen();

    SiteSchedule m_schedule;
    QString m_folder;
    MessageBoxes &m_messageBoxes;
    std::function<TitlesMake::Settings()> m_makeSettings;
    SiteTree *m_tree = nullptr;
    QPushButton *m_makeButton = nullptr;
    QPushButton *m_writeButton = nullptr;
    QPushButton *m_changedButton = nullptr;
    QLabel *m_status = nullptr;
    SitePoller *m_poller = nullptr;
    SiteWriter *m_writer = nullptr;
    bool m_closing = false;
};
