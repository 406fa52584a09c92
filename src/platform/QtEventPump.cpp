#include "QtEventPump.h"

#include <QCoreApplication>

void QtEventPump::processOnce()
{
    QCoreApplication::processEvents();
}
