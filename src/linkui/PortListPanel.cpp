#include "PortListPanel.h"

#include "PortWords.h"

#include "link/LinkTimer.h"
#include "netserial/PortAddress.h"
#include "netserial/PortAddressWords.h"
#include "platform/StablePortName.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
constexpr int SystemNameRole = Qt::UserRole;
} // namespace

PortListPanel::PortListPanel(PortDiscovery &discovery, std::unique_ptr<LinkTimer> refreshTimer,
                             std::function<PortChoice()> port, QWidget *parent)
    : QWidget(parent), m_discovery(discovery), m_refreshTimer(std::move(refreshTimer)), m_port(std::move(port))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto *listCaption = new QLabel(QStringLiteral("接続されているポート（クリックで選択）:"), this);
    layout->addWidget(listCaption);
    portList = new QListWidget(this);
    portList->setObjectName(QStringLiteral("PortList"));
    portList->setSelectionMode(QAbstractItemView::SingleSelection);
    // A long description wraps under its port rather than running out of sight.
    portList->setWordWrap(true);
    portList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(portList, 1);
    listCaption->setBuddy(portList);

    auto *addressCaption = new QLabel(QStringLiteral("アドレスを入力（/dev/ttyUSB0、tcp://ホスト:ポート、\nrfc2217://、tls://、rfc2217+tls://）:"), this);
    addressCaption->setWordWrap(true);
    layout->addWidget(addressCaption);
    auto *addressRow = new QHBoxLayout;
    addressEdit = new QLineEdit(this);
    addressEdit->setObjectName(QStringLiteral("AddressEdit"));
    addressEdit->setPlaceholderText(QStringLiteral("tcp://192.168.1.20:4001"));
    addressRow->addWidget(addressEdit, 1);
    useButton = new QPushButton(QStringLiteral("使用"), this);
    useButton->setObjectName(QStringLiteral("UseAddress"));
    // Enter on the focused button presses it, not the dialog's "OK".
    useButton->setAutoDefault(true);
    addressRow->addWidget(useButton);
    layout->addLayout(addressRow);
    addressCaption->setBuddy(addressEdit);

    problemLabel = new QLabel(this);
    problemLabel->setObjectName(QStringLiteral("AddressProblem"));
    problemLabel->setWordWrap(true);
    problemLabel->setStyleSheet(QStringLiteral("color: #c00000;"));
    problemLabel->hide();
    layout->addWidget(problemLabel);
    chosenLabel = new QLabel(this);
    chosenLabel->setObjectName(QStringLiteral("ChosenPort"));
    chosenLabel->setWordWrap(true);
    chosenLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(chosenLabel);

    connect(portList, &QListWidget::itemSelectionChanged, this, &PortListPanel::takeSelectedRow);
    connect(useButton, &QPushButton::clicked, this, &PortListPanel::useTypedAddress);
    connect(addressEdit, &QLineEdit::textEdited, problemLabel, &QLabel::hide);

    refresh();
    m_refreshTimer->setTickHandler([this] { refresh(); });
    m_refreshTimer->setInterval(RefreshInterval);
    m_refreshTimer->setEnabled(true);
}

PortListPanel::~PortListPanel()
{
    m_refreshTimer->setEnabled(false);
}

void PortListPanel::refresh()
{
    QList<PortInfo> present = m_discovery.ports();
    if (present == m_ports && portList->count() > 0)
        return;
    m_ports = std::move(present);
    rebuildList();
}

void PortListPanel::rebuildList()
{
    // Rebuilding is no choice of the operator's.
    const QSignalBlocker quiet(portList);
    const int scrolled = portList->verticalScrollBar()->value();
    portList->clear();
    for (const PortInfo &port : m_ports) {
        auto *item = new QListWidgetItem(PortWords::listed(port), portList);
        item->setData(SystemNameRole, port.systemName);
        if (!port.byId.isEmpty())
            item->setToolTip(port.byId);
    }
    if (m_ports.isEmpty()) {
        auto *none = new QListWidgetItem(QStringLiteral("（見つかりません）"), portList);
        none->setFlags(Qt::NoItemFlags);
    }
    selectChosenRow();
    portList->verticalScrollBar()->setValue(scrolled);
}

void PortListPanel::selectChosenRow()
{
    const QSignalBlocker quiet(portList);
    portList->clearSelection();
    const PortChoice chosen = m_port();
    if (!chosen.isAddress())
        return;
    const std::optional<PortInfo> port = StablePortName::presentPort(chosen.address(), m_ports);
    if (!port)
        return;
    for (int row = 0; row < portList->count(); ++row) {
        QListWidgetItem *item = portList->item(row);
        if (item->data(SystemNameRole).toString() == port->systemName) {
            portList->setCurrentItem(item);
            item->setSelected(true);
            return;
        }
    }
}

void PortListPanel::showChoice()
{
    const PortChoice chosen = m_port();
    // An address no row stands for (typed, or a remembered port that is
    // not present now) stays in the field, where it can be used again.
    if (chosen.isAddress() && !StablePortName::presentPort(chosen.address(), m_ports))
        addressEdit->setText(chosen.address());
    selectChosenRow();
    problemLabel->hide();
    chosenLabel->setText(QStringLiteral("使用するポート: %1").arg(chosen.device()));
}

bool PortListPanel::useTypedAddress()
{
    const QString typed = addressEdit->text().trimmed();
    const PortAddress address = PortAddress::parse(typed);
    // A folder or a path with nothing at it is said at once, not only when
    // the communication window fails to open it; a port the list shows is there.
    const bool listed = StablePortName::presentPort(typed, m_ports).has_value();
    const QString problem = !address.isValid() ? PortAddressWords::problem(address, typed)
                            : listed           ? QString()
                                               : PortAddressWords::deviceProblem(address, true);
    if (!problem.isEmpty()) {
        problemLabel->setText(problem);
        problemLabel->show();
        return false;
    }
    problemLabel->hide();
    emit addressChosen(typed);
    return true;
}

bool PortListPanel::typedAddressIsNew() const
{
    const QString typed = addressEdit->text().trimmed();
    return !typed.isEmpty()
           && PortChoice::ofAddress(StablePortName::toRemember(typed, m_ports)) != m_port();
}

void PortListPanel::takeSelectedRow()
{
    const QList<QListWidgetItem *> selected = portList->selectedItems();
    if (selected.isEmpty())
        return;
    emit addressChosen(selected.constFirst()->data(SystemNameRole).toString());
}
