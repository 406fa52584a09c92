#pragma once

#include "netserial/PortChoice.h"

class QSettings;

// The port the operator confirmed last, kept between runs (a USB adapter
// by its stable name).
class PortChoiceStore
{
public:
    explicit PortChoiceStore(QSettings &settings);

    // Nothing chosen when nothing valid was kept.
    PortChoice load() const;
    void save(const PortChoice &choice);
    void forget();

private:
    QSettings &m_settings;
};
