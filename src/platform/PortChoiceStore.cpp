#include "PortChoiceStore.h"

#include <QSettings>

namespace {
const QString OptionKey = QStringLiteral("port/option");
const QString AddressKey = QStringLiteral("port/address");
} // namespace

PortChoiceStore::PortChoiceStore(QSettings &settings) : m_settings(settings) {}

PortChoice PortChoiceStore::load() const
{
    PortChoice choice;
    choice.address = m_settings.value(AddressKey).toString().trimmed();
    if (!choice.address.isEmpty())
        return choice;
    bool ok = false;
    const int option = m_settings.value(OptionKey).toInt(&ok);
    // A hand-edited or damaged file must not produce a port 0 or 9.
    if (ok && option >= 1 && option <= 8)
        choice.option = option;
    return choice;
}

void PortChoiceStore::save(const PortChoice &choice)
{
    if (choice.isEmpty()) {
        forget();
        return;
    }
    if (choice.address.isEmpty()) {
        m_settings.setValue(OptionKey, choice.option);
        m_settings.remove(AddressKey);
    } else {
        m_settings.setValue(AddressKey, choice.address);
        m_settings.remove(OptionKey);
    }
}

void PortChoiceStore::forget()
{
    m_settings.remove(OptionKey);
    m_settings.remove(AddressKey);
}
