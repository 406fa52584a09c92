#include "MonitorTile.h"

#include "core/MonitorPicture.h"

#include <QMouseEvent>
#include <QPainter>

MonitorTile::MonitorTile(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::PointingHandCursor);
}

void MonitorTile::setImage(const QImage &image)
{
    m_image = image;
    ++m_redraws;
    update();
}

QSize MonitorTile::sizeHint() const
{
    return {MonitorPicture::PageDots::Width, MonitorPicture::PageDots::Height};
}

QSize MonitorTile::minimumSizeHint() const
{
    return sizeHint() / 2;
}

void MonitorTile::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (m_image.isNull())
        return;
    QSize shown = m_image.size().scaled(size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), shown);
    target.moveCenter(rect().center());
    // Smooth only when shrinking: enlarged dots should stay square.
    p.setRenderHint(QPainter::SmoothPixmapTransform, shown.width() < m_image.width());
    p.drawImage(target, m_image);
}

void MonitorTile::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit pressed();
    QWidget::mousePressEvent(event);
}
