#include "PortChoiceStore.h"

#include <QSettings>

namespace {
const QString OptionKey = QStringLiteral("port/option");
const QString AddressKey = QStringLiteral("port/address");
} // namespace

PortChoiceStore::PortChoiceStore(QSettings &settings) : m_settings(settings) {}

PortChoice PortChoiceStore::load() const
{
    const PortChoice address = PortChoice::ofAddress(m_settings.value(AddressKey).toString());
    if (address.isChosen())
        return address;
    bool ok = false;
    const int option = m_settings.value(OptionKey).toInt(&ok);
    // A hand-edited or damaged file must not produce a port 0 or 9.
    return ok ? PortChoice::ofOption(option) : PortChoice();
}

void PortChoiceStore::save(const PortChoice &choice)
{
    if (choice.isOption()) {
        m_settings.setValue(OptionKey, choice.option());
        m_settings.remove(AddressKey);
    } else if (choice.isAddress()) {
        m_settings.setValue(AddressKey, choice.address());
        m_settings.remove(OptionKey);
    } else {
        forget();
    }
}

void PortChoiceStore::forget()
{
    m_settings.remove(OptionKey);
    m_settings.remove(AddressKey);
}
