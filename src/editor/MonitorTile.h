#pragma once

#include <QImage>
#include <QWidget>

// One monitor of the monitor window: its picture scaled to fit, whole
// pixels where it can, so the dots stay sharp. A press is the operator
// choosing the channel.
class MonitorTile : public QWidget
{
    Q_OBJECT
public:
    explicit MonitorTile(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }
    // How often the picture was replaced: what the tests count.
    int redraws() const { return m_redraws; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void pressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_image;
    int m_redraws = 0;
};
