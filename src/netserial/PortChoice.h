#pragma once

#include <QString>

// Which port the device link uses: one of the eight numbered options (1..8,
// standing for ORVEX_COM<n> or the n-th serial port), an address of any
// other kind (a device path, tcp://HOST:PORT, rfc2217://HOST:PORT; a USB
// adapter by its stable name), or nothing yet.
//
// The shared setting ComNo follows from it: the option's number, and 0 both
// for nothing and for an address. ComNo alone cannot tell those two apart;
// isChosen() can.
class PortChoice
{
public:
    PortChoice() = default;
    // Nothing chosen for a number outside 1..8.
    static PortChoice ofOption(int number);
    // Surrounding blanks are dropped; nothing chosen for an empty address.
    static PortChoice ofAddress(const QString &address);

    bool isChosen() const { return m_option != 0 || !m_address.isEmpty(); }
    bool isOption() const { return m_option != 0; }
    bool isAddress() const { return !m_address.isEmpty(); }
    // 1..8; 0 for an address or nothing.
    int option() const { return m_option; }
    // Empty for an option or nothing.
    const QString &address() const { return m_address; }
    qint16 comNo() const { return qint16(m_option); }

    // What the port opens, for showing it: an option's device as it
    // resolves now, or the address; empty for nothing.
    QString device() const;

    bool operator==(const PortChoice &) const = default;

private:
    int m_option = 0;
    QString m_address;
};
