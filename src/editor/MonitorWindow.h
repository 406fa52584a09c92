#pragma once

#include "core/TitleData.h"

#include <QImage>
#include <QWidget>

#include <array>

class FileDialogs;
class MessageBoxes;
class MonitorStills;
class MonitorTile;
class QLabel;
class QToolButton;
class TitleDocument;

// "モニター": the eight channels' pages as their monitors will show them,
// over colour bars or a still of the camera, labelled CH1..CH8. A view of
// the document: after each change it redraws, once the change's signals are
// through, only the monitors whose picture changed. A press on a monitor
// picks that channel in the editor.
class MonitorWindow : public QWidget
{
    Q_OBJECT
public:
    // The still dialogs start where every file dialog of the editor does:
    // the folder used last, or `firstFolder` before any was.
    MonitorWindow(TitleDocument &document, MonitorStills &stills, FileDialogs &fileDialogs,
                  MessageBoxes &messageBoxes, const QString &firstFolder, QWidget *owner);

    MonitorTile *monitor(int channel) const { return m_monitors[size_t(channel)]; }
    QToolButton *stillButton(int channel) const { return m_stillButtons[size_t(channel)]; }
    QToolButton *barsButton(int channel) const { return m_barsButtons[size_t(channel)]; }

    // "静止画…": asks for a picture for `channel`'s monitor.
    void chooseStill(int channel);
    // Shows `fileName` under the channel's characters and remembers it;
    // a picture that cannot be read is reported and changes nothing.
    bool setStill(int channel, const QString &fileName);
    // "バー": the colour bars again.
    void clearStill(int channel);

    // Redraws the monitors changed since the last redraw. Runs by itself
    // as soon as the event loop is free again.
    void redrawChanged();

signals:
    void channelPicked(int channel);

private:
    void buildMonitor(int channel);
    void loadRememberedStills();
    void markPage(int page);
    void markCodes(const QList<int> &codes);
    void markAll();
    void scheduleRedraw();
    void redraw(int channel);

    TitleDocument &m_document;
    MonitorStills &m_stills;
    FileDialogs &m_fileDialogs;
    MessageBoxes &m_messageBoxes;
    const QString m_firstFolder;
    std::array<MonitorTile *, Title::Channels> m_monitors{};
    std::array<QLabel *, Title::Channels> m_labels{};
    std::array<QToolButton *, Title::Channels> m_stillButtons{};
    std::array<QToolButton *, Title::Channels> m_barsButtons{};
    // Each still already at the page's size, so a redraw never scales it.
    std::array<QImage, Title::Channels> m_stillImages;
    std::array<bool, Title::Channels> m_changed{};
    bool m_redrawQueued = false;
};
