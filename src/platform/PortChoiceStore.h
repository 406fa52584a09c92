#pragma once

#include <QString>

class QSettings;

// The port the operator chose last, kept between runs: one of the eight
// options (1..8, what ComNo holds) or an address of its own (a listed or
// typed port; its stable name for a USB adapter).
struct PortChoice
{
    int option = 0;  // 1..8; 0 with an address, or when nothing was chosen
    QString address; // empty when an option was chosen

    bool isEmpty() const { return option == 0 && address.isEmpty(); }
    // What the engine's port opens: the address, or the option's number.
    QString portAddress() const { return address.isEmpty() && option > 0 ? QString::number(option) : address; }
    bool operator==(const PortChoice &) const = default;
};

class PortChoiceStore
{
public:
    explicit PortChoiceStore(QSettings &settings);

    // Empty when nothing valid was kept.
    PortChoice load() const;
    void save(const PortChoice &choice);
    void forget();

private:
    QSettings &m_settings;
};
