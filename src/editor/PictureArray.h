#pragma once

#include <QImage>
#include <QList>
#include <QWidget>

// A control array of pictures painted by one widget: member i holds its own
// copy of an image and shows it unscaled from the top-left corner of its
// place, cut to that place. Members are painted in index order, so where
// places overlap the higher index lies on top. A press or double-click on a
// shown member reports its index, with any mouse button.
class PictureArray : public QWidget
{
    Q_OBJECT

public:
    // The member keeps `image` as it is now: later drawing on the source
    // does not reach it until it is given the image again.
    void setImage(int index, const QImage &image);
    const QImage &image(int index) const { return m_images[index]; }
    int count() const { return int(m_images.size()); }

signals:
    void pressed(int index);
    void doubleClicked(int index);

protected:
    PictureArray(int count, QWidget *parent);

    // Where member `index` stands, in this widget's coordinates.
    virtual QRect placeOf(int index) const = 0;
    // Whether member `index` is painted and can be pressed.
    virtual bool isShown(int index) const = 0;
    // The shown member on top at `pos`, or -1.
    virtual int memberAt(const QPoint &pos) const = 0;

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // The member under the mouse, with the event accepted only on one.
    int acceptMember(QMouseEvent *event) const;

    QList<QImage> m_images;
};
