#pragma once

#include <QWidget>

// A frame drawn the classic way: an etched rectangle whose top edge runs
// through the middle of its caption, children placed from the frame's own
// top-left corner. QGroupBox puts its border below the caption instead, which
// would push the designed layout into the border.
class CaptionFrame : public QWidget
{
    Q_OBJECT
public:
    explicit CaptionFrame(const QString &caption = QString(), QWidget *parent = nullptr);

    QString caption() const { return m_caption; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
};
