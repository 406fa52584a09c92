#pragma once

#include <QLabel>

// One member of a picture control array (a palette tile or a screen cell):
// shows an image unscaled from its top-left corner and reports presses with
// its index. Any mouse button counts as a press.
class PictureCell : public QLabel
{
    Q_OBJECT

public:
    PictureCell(int index, QWidget *parent);

    int index() const { return m_index; }

signals:
    void pressed(int index);
    void doubleClicked(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int m_index;
};
