#pragma once

#include "link/LinkTimer.h"

#include <QObject>
#include <QTimer>

// A LinkTimer on QTimer.
class QtLinkTimer : public QObject, public LinkTimer
{
    Q_OBJECT
public:
    explicit QtLinkTimer(QObject *parent = nullptr);

    void setInterval(int milliseconds) override;
    int interval() const override;
    void setEnabled(bool enabled) override;
    bool isEnabled() const override;
    int elapsed() const override;

private:
    QTimer m_timer;
};
